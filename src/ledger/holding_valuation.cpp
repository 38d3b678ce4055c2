#include "holding_valuation.h"

#include "core/number_text.h"

#include <algorithm>
#include <cmath>

namespace ledger {

Holding holdingOf(const QList<Entry>& entries) {
    Holding h;
    for (const Entry& e : entries) {
        if (e.type == kBuy) {
            h.grams += e.grams;
            h.cost += e.amount;
        } else {
            const int left = h.grams - e.grams;
            h.cost = left > 0 ? h.cost * left / h.grams : 0;
            h.grams = left;
        }
        if (h.grams <= 0)
            h = Holding{};
    }
    return h;
}

std::optional<double> heldAverageCost(const QString& path) {
    const Holding holding = holdingOf(readLedger(path).value_or(QList<Entry>{}));
    return holding.grams > 0 ? std::optional<double>(holding.averageCost()) : std::nullopt;
}

Valuation valueHolding(const Holding& holding, double buyPrice) {
    const double value = buyPrice * holding.grams;
    const double floating = numtext::roundToCarriedDigits(
        value - holding.cost, std::max(std::fabs(value), std::fabs(holding.cost)));
    return {value, floating};
}

} // namespace ledger
