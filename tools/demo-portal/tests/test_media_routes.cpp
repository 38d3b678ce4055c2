// The media tools' pages and streams on the demo portal: every link of the
// reference browser's tree, as a fresh program directory addresses it,
// answers with its page; the converter is priced from the walk; the TV
// channels are live playlists that loop the clip.
#include "media/reference_rules.h"
#include "media_routes.h"
#include "platform/gbk.h"
#include "price_walk.h"
#include "provisioner.h"
#include "support/http_get.h"

#include <QFile>
#include <QHostAddress>
#include <QHttpServer>
#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace demoportal;

class MediaRoutesTest : public QObject {
    Q_OBJECT

    QTemporaryDir clips_;
    PriceWalk walk_{7};
    QHttpServer server_;
    quint16 port_ = 0;
    QNetworkAccessManager network_;

    HttpAnswer get(const QUrl& url) { return httpGet(network_, url); }
    QUrl at(const QString& path) const { return QUrl(u"http://127.0.0.1:%1%2"_s.arg(port_).arg(path)); }
    QString portal() const { return u"127.0.0.1:%1"_s.arg(port_); }

private slots:
    void initTestCase() {
        QFile clip(clips_.filePath(u"litv01.ts"_s));
        QVERIFY(clip.open(QIODevice::WriteOnly));
        clip.write(QByteArray(188, 'G'));
        clip.close();
        addMediaRoutes(server_, walk_, clips_.path());
        port_ = server_.listen(QHostAddress::LocalHost, 0);
        QVERIFY(port_ != 0);
    }

    void everyTreeLinkHasItsPage() {
        QHash<QString, QString> hosts;
        for (const provision::Endpoint& endpoint : provision::endpointDefaults(portal()))
            hosts.insert(endpoint.key, endpoint.value);
        static const QRegularExpression title(u"<title>(.+)</title>"_s);
        QStringList titles;
        for (const referencerules::Link& link : referencerules::links()) {
            if (link.hostKey.isEmpty())
                continue;
            const QUrl url = referencerules::pageUrl(hosts.value(link.hostKey), link.path);
            const HttpAnswer answer = get(url);
            QVERIFY2(answer.status == 200, qPrintable(url.toString()));
            const QString page = gbk::decode(answer.body);
            const QString shown = title.match(page).captured(1);
            QVERIFY2(!shown.isEmpty(), qPrintable(url.toString()));
            QVERIFY(page.contains(walk_.buy()));
            titles << shown;
        }
        // The searches show what was searched, the GBK key decoded.
        QVERIFY(titles.contains(u"资讯搜索：COMEX期金"_s));
        QVERIFY(titles.contains(u"资讯搜索：StreetTracks"_s));
        QCOMPARE(get(at(u"/ref/nowhere/"_s)).status, 404);
    }

    void converterIsPricedFromTheWalk() {
        const HttpAnswer answer = get(at(u"/gold/convert.htm"_s));
        QCOMPARE(answer.status, 200);
        const QString page = gbk::decode(answer.body);
        QVERIFY(page.contains(u"value=\"%1\""_s.arg(walk_.buy())));
        for (const QString& unit : {u"元/克"_s, u"美元/盎司"_s, u"元/盎司"_s, u"美元/克"_s})
            QVERIFY(page.contains(unit));
        QVERIFY(!page.contains(u"src=\"http"_s)); // nothing from outside
    }

    void channelsAreLivePlaylists() {
        const HttpAnswer playlist = get(at(u"/CBN.m3u8"_s));
        QCOMPARE(playlist.status, 200);
        const QList<QByteArray> lines = playlist.body.split('\n');
        QCOMPARE(lines.first(), QByteArray("#EXTM3U"));
        QCOMPARE(playlist.body.count("#EXTINF"), 3);
        QCOMPARE(playlist.body.count("#EXT-X-DISCONTINUITY\n"), 2);
        QVERIFY(!playlist.body.contains("#EXT-X-ENDLIST")); // live: it never ends
        QByteArray segment;
        for (const QByteArray& line : lines) {
            if (line.startsWith("/tv/"))
                segment = line;
        }
        QVERIFY(segment.startsWith("/tv/CBN/"));
        const HttpAnswer clip = get(at(QString::fromLatin1(segment)));
        QCOMPARE(clip.status, 200);
        QCOMPARE(clip.body, QByteArray(188, 'G'));
        // A clip the build could not make: the channel is not there.
        QCOMPARE(get(at(u"/stv2.m3u8"_s)).status, 404);
        QCOMPARE(get(at(u"/tv/stv2/1.ts"_s)).status, 404);
    }
};

QTEST_GUILESS_MAIN(MediaRoutesTest)
#include "test_media_routes.moc"
