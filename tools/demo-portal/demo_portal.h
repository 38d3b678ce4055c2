#pragma once

#include "price_walk.h"

#include <QHttpServer>
#include <QHttpServerResponder>
#include <QObject>
#include <list>
#include <memory>
#include <optional>

namespace demoportal {

class ChartRoutes;

// How the portal answers GET /quote/index.html.
enum class QuoteMode {
    Normal,
    NoMarker,
    BrokenBuy,
    BrokenSell,
    Empty, // 200 with no body
    Error, // 500
    Hang,  // keeps the connection open and never answers in time
};

std::optional<QuoteMode> quoteModeFromName(const QString& name);

// The offline stand-in for the outside portals Aurivex reads. Each kind of
// content registers its own routes; /demo/... lets tests steer the answers.
class DemoPortal : public QObject {
public:
    // A hung request is answered with 504 after this long, unless its client
    // has given up before.
    static constexpr int kHangMilliseconds = 120'000;

    explicit DemoPortal(quint32 seed, QObject* parent = nullptr);
    ~DemoPortal() override;

    // Listens on the loopback address only. Returns the bound port, 0 on failure.
    quint16 listen(quint16 port);

private:
    using HeldResponder = std::shared_ptr<std::optional<QHttpServerResponder>>;

    void addQuoteRoutes();
    void addControlRoutes();
    void addProductRoutes();
    void serveQuotePage(QHttpServerResponder&& responder);
    void holdUnanswered(QHttpServerResponder&& responder);
    void release(const HeldResponder& held);

    // Declared first so it outlives the held responders below.
    QHttpServer server_;
    PriceWalk walk_;
    std::unique_ptr<ChartRoutes> charts_;
    QuoteMode quoteMode_ = QuoteMode::Normal;
    std::list<HeldResponder> held_;
};

} // namespace demoportal
