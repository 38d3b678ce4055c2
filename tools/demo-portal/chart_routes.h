#pragma once

#include "chart_images.h"
#include "market_history.h"

class QHttpServer;

namespace demoportal {

class PriceWalk;

// The chart providers' routes: every chart image, the K-line page
// "/embed.aspx" and the partner site's live page "/" with its quote. For
// tests, "/demo/charts?images=normal|error|page|broken" makes every chart
// image answer as it should, with a server error, with a web page, or with
// bytes that are no image.
class ChartRoutes {
public:
    ChartRoutes(QHttpServer& server, const PriceWalk& walk, quint32 seed);

private:
    enum class ImageMode { Normal, Error, Page, Broken };

    MarketHistory history_;
    ChartImages images_;
    ImageMode imageMode_ = ImageMode::Normal;
};

} // namespace demoportal
