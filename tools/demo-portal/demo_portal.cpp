#include "demo_portal.h"

#include "chart_routes.h"
#include "quote_page_builder.h"

#include <QHostAddress>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>
#include <utility>

using namespace Qt::StringLiterals;
using StatusCode = QHttpServerResponder::StatusCode;

namespace demoportal {

namespace {

const QByteArray kHtmlType = QByteArrayLiteral("text/html; charset=gbk");
const QByteArray kTextType = QByteArrayLiteral("text/plain");

QHttpServerResponse ok() {
    return QHttpServerResponse(kTextType, QByteArrayLiteral("ok"));
}

QHttpServerResponse badRequest(const QByteArray& why) {
    return QHttpServerResponse(kTextType, why, StatusCode::BadRequest);
}

QuotePageLayout layoutFor(QuoteMode mode) {
    switch (mode) {
    case QuoteMode::NoMarker:
        return QuotePageLayout::NoMarker;
    case QuoteMode::BrokenBuy:
        return QuotePageLayout::BrokenBuy;
    case QuoteMode::BrokenSell:
        return QuotePageLayout::BrokenSell;
    default:
        return QuotePageLayout::Normal;
    }
}

} // namespace

std::optional<QuoteMode> quoteModeFromName(const QString& name) {
    static const std::pair<QString, QuoteMode> names[] = {
        {u"normal"_s, QuoteMode::Normal},
        {u"no-marker"_s, QuoteMode::NoMarker},
        {u"broken-buy"_s, QuoteMode::BrokenBuy},
        {u"broken-sell"_s, QuoteMode::BrokenSell},
        {u"empty"_s, QuoteMode::Empty},
        {u"error"_s, QuoteMode::Error},
        {u"hang"_s, QuoteMode::Hang},
    };
    for (const auto& [text, mode] : names) {
        if (text == name)
            return mode;
    }
    return std::nullopt;
}

DemoPortal::DemoPortal(quint32 seed, QObject* parent) : QObject(parent), walk_(seed) {
    addQuoteRoutes();
    addControlRoutes();
    addProductRoutes();
    charts_ = std::make_unique<ChartRoutes>(server_, walk_, seed);
}

DemoPortal::~DemoPortal() {
    // A responder must go before the socket it writes to, and the server owns the sockets.
    for (const HeldResponder& held : held_)
        held->reset();
}

quint16 DemoPortal::listen(quint16 port) {
    return server_.listen(QHostAddress::LocalHost, port);
}

void DemoPortal::addProductRoutes() {
    // The product's own page, opened by the help menu's update check.
    server_.route(u"/product/index.html"_s, QHttpServerRequest::Method::Get, [] {
        const QString page =
            u"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Aurivex</title></head>"
            "<body><h1>Aurivex 3.0</h1><p>您使用的已是最新版本。</p></body></html>"_s;
        return QHttpServerResponse(QByteArrayLiteral("text/html; charset=utf-8"), page.toUtf8());
    });
}

void DemoPortal::addQuoteRoutes() {
    server_.route(u"/quote/index.html"_s, QHttpServerRequest::Method::Get,
                  [this](const QHttpServerRequest&, QHttpServerResponder&& responder) {
                      serveQuotePage(std::move(responder));
                  });
}

void DemoPortal::addControlRoutes() {
    server_.route(u"/demo/mode"_s, QHttpServerRequest::Method::Get,
                  [this](const QHttpServerRequest& request) {
                      const std::optional<QuoteMode> mode =
                          quoteModeFromName(request.query().queryItemValue(u"page"_s));
                      if (!mode)
                          return badRequest("unknown page mode\n");
                      quoteMode_ = *mode;
                      return ok();
                  });
    server_.route(u"/demo/price"_s, QHttpServerRequest::Method::Get,
                  [this](const QHttpServerRequest& request) {
                      const QUrlQuery query = request.query();
                      const QString buy = query.queryItemValue(u"buy"_s);
                      const QString sell = query.queryItemValue(u"sell"_s);
                      if (!PriceWalk::isPriceText(buy) || !PriceWalk::isPriceText(sell))
                          return badRequest("buy and sell must be 6-character prices such as 257.76\n");
                      walk_.pin(buy, sell);
                      return ok();
                  });
    server_.route(u"/demo/reset"_s, QHttpServerRequest::Method::Get, [this] {
        quoteMode_ = QuoteMode::Normal;
        walk_.unpin();
        return ok();
    });
}

void DemoPortal::serveQuotePage(QHttpServerResponder&& responder) {
    switch (quoteMode_) {
    case QuoteMode::Empty:
        responder.write(QByteArray(), kHtmlType);
        return;
    case QuoteMode::Error:
        responder.write(QByteArrayLiteral("Internal Server Error\n"), kTextType,
                        StatusCode::InternalServerError);
        return;
    case QuoteMode::Hang:
        holdUnanswered(std::move(responder));
        return;
    default:
        break;
    }
    walk_.step();
    const QuotePrices prices{walk_.buy(), walk_.sell(), walk_.change(), QTime::currentTime()};
    responder.write(buildQuotePage(prices, layoutFor(quoteMode_)), kHtmlType);
}

void DemoPortal::holdUnanswered(QHttpServerResponder&& responder) {
    QTcpSocket* socket = responder.socket();
    auto held = std::make_shared<std::optional<QHttpServerResponder>>(std::move(responder));
    held_.push_back(held);
    // Drop the responder while its socket still exists: the server deletes a
    // socket soon after its client goes away.
    connect(socket, &QAbstractSocket::disconnected, this, [this, held] { release(held); });
    QTimer::singleShot(kHangMilliseconds, this, [this, held] {
        if (*held)
            (*held)->write(StatusCode::GatewayTimeout);
        release(held);
    });
}

void DemoPortal::release(const HeldResponder& held) {
    held->reset();
    held_.remove(held);
}

} // namespace demoportal
