#pragma once

#include <QByteArray>
#include <QString>
#include <QTime>

// Builds the demo portal's gold quote page: a GBK page laid out like a bank
// paper-gold quote table. Aurivex cuts its two prices at fixed byte offsets
// behind the first "工行-金行家" row marker, so the ICBC row is assembled to
// put its buy and sell cells exactly there.
namespace demoportal {

// Offsets counted from the first byte of the row marker.
constexpr qsizetype kBuyOffset = 244;
constexpr qsizetype kSellOffset = 354;
constexpr qsizetype kFieldLength = 6;

// "工行-金行家" in GBK, 11 bytes.
QByteArray rowMarker();

enum class QuotePageLayout {
    Normal,     // prices where Aurivex cuts them
    NoMarker,   // the ICBC rows are labelled without the marker
    BrokenBuy,  // a 5-character buy price, so the buy field ends in "<"
    BrokenSell, // the sell cell is shifted, so the sell field holds ">"
};

struct QuotePrices {
    QString buy;        // 6 characters such as 913.27 (the last 5 are used by BrokenBuy)
    QString sell;       // 6 characters
    QString change;     // signed change of the buy price, such as +0.12
    QTime updated = {}; // shown as HH:mm:ss, "--:--:--" when invalid
};

// Every page carries the demo marker (quotepage::demoMarker()) in its head.
// Aborts the program when the assembled page does not have the layout it was
// asked for: a drifting generator must never serve a misleading page.
QByteArray buildQuotePage(const QuotePrices& prices, QuotePageLayout layout);

} // namespace demoportal
