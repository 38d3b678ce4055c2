#include "chart_routes.h"

#include "kline_page.h"
#include "partner_page.h"

#include <QDateTime>
#include <QHash>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace demoportal {

namespace {

qint64 nowSeconds() {
    return QDateTime::currentSecsSinceEpoch();
}

const QByteArray kHtml = QByteArrayLiteral("text/html; charset=utf-8");

} // namespace

ChartRoutes::ChartRoutes(QHttpServer& server, const PriceWalk& walk, quint32 seed)
    : history_(seed, walk, nowSeconds()), images_(history_) {
    for (const QString& path : ChartImages::paths()) {
        server.route(path, QHttpServerRequest::Method::Get, [this, path] {
            switch (imageMode_) {
            case ImageMode::Error:
                return QHttpServerResponse(QByteArrayLiteral("text/plain"),
                                           QByteArrayLiteral("Server Error\n"),
                                           QHttpServerResponse::StatusCode::InternalServerError);
            case ImageMode::Page:
                return QHttpServerResponse(kHtml, QByteArrayLiteral("<html><body>维护中</body></html>"));
            case ImageMode::Broken:
                return QHttpServerResponse(QByteArrayLiteral("image/gif"),
                                           QByteArrayLiteral("GIF89a\x01\x02broken"));
            case ImageMode::Normal:
                break;
            }
            return QHttpServerResponse(QByteArrayLiteral("image/gif"), images_.gif(path, nowSeconds()));
        });
    }
    server.route(u"/demo/charts"_s, QHttpServerRequest::Method::Get,
                 [this](const QHttpServerRequest& request) {
                     static const QHash<QString, ImageMode> modes = {{u"normal"_s, ImageMode::Normal},
                                                                     {u"error"_s, ImageMode::Error},
                                                                     {u"page"_s, ImageMode::Page},
                                                                     {u"broken"_s, ImageMode::Broken}};
                     const QString name = request.query().queryItemValue(u"images"_s);
                     if (!modes.contains(name))
                         return QHttpServerResponse(QByteArrayLiteral("text/plain"),
                                                    QByteArrayLiteral("unknown image mode\n"),
                                                    QHttpServerResponse::StatusCode::BadRequest);
                     imageMode_ = modes.value(name);
                     return QHttpServerResponse(QByteArrayLiteral("text/plain"), QByteArrayLiteral("ok\n"));
                 });
    server.route(u"/embed.aspx"_s, QHttpServerRequest::Method::Get,
                 [this](const QHttpServerRequest& request) {
                     const QUrlQuery query = request.query();
                     bool periodGiven = false;
                     const int period = query.queryItemValue(u"time"_s).toInt(&periodGiven);
                     const int tech = query.queryItemValue(u"tech"_s).toInt();
                     return QHttpServerResponse(
                         kHtml, kLinePage(history_, periodGiven ? period : 4, tech, nowSeconds()));
                 });
    server.route(u"/"_s, QHttpServerRequest::Method::Get,
                 [this] { return QHttpServerResponse(kHtml, partnerPage(history_, nowSeconds())); });
    server.route(u"/partner/quote.json"_s, QHttpServerRequest::Method::Get, [this] {
        return QHttpServerResponse(QByteArrayLiteral("application/json"),
                                   partnerQuote(history_, nowSeconds()));
    });
}

} // namespace demoportal
