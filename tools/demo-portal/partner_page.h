#pragma once

#include "market_history.h"

#include <QByteArray>

namespace demoportal {

// The partner quote site's live chart page: spot gold in dollars an ounce and
// yuan a gram, drawn over the last hours and followed every few seconds
// through the quote at "/partner/quote.json". Its own script, no outside files.
QByteArray partnerPage(MarketHistory& history, qint64 nowSeconds);
// {"t": seconds since the epoch, "usd": dollars an ounce, "cny": yuan a gram}
QByteArray partnerQuote(MarketHistory& history, qint64 nowSeconds);

} // namespace demoportal
