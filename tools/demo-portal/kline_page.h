#pragma once

#include "market_history.h"

#include <QByteArray>
#include <QList>

namespace demoportal {

// One candle: the period's start (seconds since the epoch), open, high, low, close.
struct Candle {
    qint64 time;
    double open;
    double high;
    double low;
    double close;
};

// Candles of gold in US dollars an ounce, newest last: `period` 0..5 is 5, 15,
// 30 and 60 minutes, a day, a week. Empty for an unknown period.
QList<Candle> goldCandles(MarketHistory& history, int period, int count, qint64 nowSeconds);

// The embeddable K-line page: candles of the period, and below them the
// indicator `tech` (6 MACD, 7 DMI, 8 RSI, 9 KDJ, 10 W%R, 11 BIAS, 12 CCI,
// 13 ROC; anything else: none, moving averages over the candles instead).
// A small page with its own script and no outside files.
QByteArray kLinePage(MarketHistory& history, int period, int tech, qint64 nowSeconds);

} // namespace demoportal
