#pragma once

#include "ledger_book.h"

#include <optional>

// What the gold the ledger holds cost and is worth at a bank's price now.
namespace ledger {

// The gold held after every entry and what it cost, by moving average: a buy
// adds its grams and its amount; any other entry takes its grams away at the
// average cost of what was held, so a sale changes the holding's cost but not
// its average. A holding that comes to 0 or below starts afresh.
struct Holding {
    int grams = 0;
    double cost = 0; // yuan
    double averageCost() const { return grams > 0 ? cost / grams : 0; }
};
Holding holdingOf(const QList<Entry>& entries);
// The average cost of the gold the ledger file at `path` holds; nothing when
// it holds none or cannot be read.
std::optional<double> heldAverageCost(const QString& path);

// The holding valued at `buyPrice` (what the bank pays for a gram now):
// its value, and the floating gain or loss (浮动盈亏) if sold at that price,
// to the digits the terms carry so that breaking even gives exactly 0.
struct Valuation {
    double value = 0;
    double floating = 0;
};
Valuation valueHolding(const Holding& holding, double buyPrice);

} // namespace ledger
