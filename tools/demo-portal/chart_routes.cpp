#include "chart_routes.h"

#include "kline_page.h"
#include "partner_page.h"

#include <QDateTime>
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
            return QHttpServerResponse(QByteArrayLiteral("image/gif"), images_.gif(path, nowSeconds()));
        });
    }
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
