#include "media_routes.h"

#include "price_walk.h"
#include "reference_pages.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <memory>

using namespace Qt::StringLiterals;
using StatusCode = QHttpServerResponder::StatusCode;

namespace demoportal {

namespace {

constexpr int kSegmentSeconds = 4;
const QByteArray kPageType = QByteArrayLiteral("text/html; charset=gbk");

// The stream names the channels play, and the clip each loops.
const QHash<QString, QString>& channelClips() {
    static const QHash<QString, QString> clips = {
        {u"litv01"_s, u"litv01"_s},
        {u"stv2"_s, u"stv2"_s},
        {u"cctv1"_s, u"cctv1"_s},
        {u"CBN"_s, u"litv01"_s},
    };
    return clips;
}

QHttpServerResponse notFound() {
    return QHttpServerResponse(QByteArrayLiteral("text/plain"), QByteArrayLiteral("not found\n"),
                               StatusCode::NotFound);
}

// The clips, read once each.
class Clips {
public:
    explicit Clips(const QString& dir) : dir_(dir) {}

    QByteArray clip(const QString& name) {
        auto found = cache_.find(name);
        if (found != cache_.end())
            return *found;
        QFile file(dir_ + u'/' + name + u".ts"_s);
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (!bytes.isEmpty())
            cache_.insert(name, bytes);
        return bytes;
    }

private:
    QString dir_;
    QHash<QString, QByteArray> cache_;
};

} // namespace

QString defaultTvClipDir() {
    // The build puts the clips beside the portal; an installation keeps them
    // with the data it shares, <prefix>/share/aurivex/demo-tv.
    const QString beside = QCoreApplication::applicationDirPath() + u"/demo-tv"_s;
    const QString installed = QCoreApplication::applicationDirPath() + u"/../../share/aurivex/demo-tv"_s;
    return QFileInfo(beside).isDir() || !QFileInfo(installed).isDir() ? beside : QDir::cleanPath(installed);
}

void addMediaRoutes(QHttpServer& server, const PriceWalk& walk, const QString& tvClipDir) {
    auto clips = std::make_shared<Clips>(tvClipDir);
    for (auto it = channelClips().cbegin(); it != channelClips().cend(); ++it) {
        const QString channel = it.key();
        const QString clip = it.value();
        server.route(u"/"_s + channel + u".m3u8"_s, QHttpServerRequest::Method::Get, [clips, channel, clip] {
            // A clip that the build could not make: the player reports the failure.
            if (clips->clip(clip).isEmpty())
                return notFound();
            const qint64 newest = QDateTime::currentMSecsSinceEpoch() / (kSegmentSeconds * 1000);
            return QHttpServerResponse(QByteArrayLiteral("application/vnd.apple.mpegurl"),
                                       buildLivePlaylist(channel, newest, kSegmentSeconds));
        });
    }
    server.route(u"/tv/<arg>/<arg>"_s, QHttpServerRequest::Method::Get,
                 [clips](const QString& channel, const QString& segment) {
                     const QString clip = channelClips().value(channel);
                     if (clip.isEmpty() || !segment.endsWith(u".ts"_s))
                         return notFound();
                     const QByteArray bytes = clips->clip(clip);
                     if (bytes.isEmpty())
                         return notFound();
                     return QHttpServerResponse(QByteArrayLiteral("video/mp2t"), bytes);
                 });

    for (const ReferencePage& page : referencePages()) {
        const QString path = page.site.isEmpty() ? page.path : u"/ref/"_s + page.site + page.path;
        server.route(path, QHttpServerRequest::Method::Get, [&walk, page](const QHttpServerRequest& request) {
            return QHttpServerResponse(
                kPageType,
                buildReferencePage(page, request.url().query(QUrl::FullyEncoded), walk.buy(), walk.sell()));
        });
    }

    server.route(u"/gold/convert.htm"_s, QHttpServerRequest::Method::Get,
                 [&walk] { return QHttpServerResponse(kPageType, buildConverterPage(walk.buy())); });
}

} // namespace demoportal
