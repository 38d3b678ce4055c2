#pragma once

#include <QString>

// The one line of prices the floating strip shows, built from the texts the
// main window shows.
namespace quoteline {

// Whose prices the line shows: the first bank ticked, else the international price.
enum class Source { Icbc, Ccb, Boc, International };
Source chosenSource(bool icbc, bool ccb, bool boc);

struct Input {
    Source source = Source::International;
    QString buy;  // the shown buy text of the source
    QString sell; // the shown sell text of the source
    bool gainShown = false;
    QString yourBuyPrice; // as typed
};

// "工行买入:257.76  工行卖出:258.56", with "  您的涨跌:" and the gain for a
// bank when the gain is shown. An empty price text leaves its place empty.
QString priceLine(const Input& input);

// The bank's buy price less the user's buy price, in double precision, as
// plain decimal text cut to 5 characters ("12.345" → "12.34"). Empty while
// the bank has no price: there is nothing to gain against yet.
QString gainText(const QString& bankBuy, const QString& yourBuyPrice);

// Opacity of a transparency slider position: position × 2.5, truncated.
int alphaOfPosition(int position);

} // namespace quoteline
