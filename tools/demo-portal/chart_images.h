#pragma once

#include "market_history.h"

#include <QByteArray>
#include <QImage>
#include <QStringList>

namespace demoportal {

// The chart images of the chart providers, drawn from the portal's own price
// history: every image path the program asks for answers with a GIF of its
// chart, readable at the size of the panel that shows it.
class ChartImages {
public:
    explicit ChartImages(MarketHistory& history) : history_(history) {}

    // Every image path served, on the regional and the international site alike.
    static QStringList paths();

    // The chart of `path` as it stands at `nowSeconds`; null for an unknown path.
    QImage draw(const QString& path, qint64 nowSeconds);
    // The same as a GIF file; empty for an unknown path.
    QByteArray gif(const QString& path, qint64 nowSeconds);

private:
    QImage gold24Hours(QSize size, qint64 now);
    QImage goldHistory(int days, QSize size, qint64 now);
    QImage intraday24(PricePoints points, QSize size, const QString& title, const QString& unit, int decimals,
                      int offset, qint64 now);
    QImage daily30(PricePoints points, const QString& title, const QString& unit, int decimals);
    QImage threeDays(bool inDollars, qint64 now);
    QImage technical(int days, qint64 now);

    MarketHistory& history_;
};

} // namespace demoportal
