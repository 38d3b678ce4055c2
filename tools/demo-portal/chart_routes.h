#pragma once

#include "chart_images.h"
#include "market_history.h"

class QHttpServer;

namespace demoportal {

class PriceWalk;

// The chart providers' routes: every chart image, the K-line page
// "/embed.aspx" and the partner site's live page "/" with its quote.
class ChartRoutes {
public:
    ChartRoutes(QHttpServer& server, const PriceWalk& walk, quint32 seed);

private:
    MarketHistory history_;
    ChartImages images_;
};

} // namespace demoportal
