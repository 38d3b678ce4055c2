#include "price_rules.h"

#include "core/number_text.h"

namespace pricerules {

bool basePricesValid(const QByteArray& baseBuy, const QByteArray& baseSell) {
    return numtext::isNonZero(numtext::priceOf(baseBuy)) && numtext::isNonZero(numtext::priceOf(baseSell));
}

namespace {

// The price and the step both pass through single precision; the sum is
// formed in double precision.
double stepped(float price, int cents) {
    const float step = static_cast<float>(cents * 0.01);
    return static_cast<double>(price) + static_cast<double>(step);
}

} // namespace

QString intlPriceText(const QByteArray& base, int cents) {
    return numtext::priceText(stepped(numtext::priceOf(base), cents));
}

BankPrices bankPrices(const QByteArray& baseBuy, int cents) {
    BankPrices prices;
    prices.buy = numtext::priceText(stepped(numtext::priceOf(baseBuy), cents));
    prices.sell = numtext::priceText(static_cast<double>(numtext::priceOf(prices.buy)) + 0.8);
    return prices;
}

ProgressStep progressStep(int position, int maximum) {
    const int next = position + 1;
    if (next > maximum)
        return {0, true};
    return {next, false};
}

IndicatorStep indicatorRight(int left) {
    if (left >= kIndicatorRightEdge)
        return {left, true};
    return {left + kIndicatorStep, false};
}

IndicatorStep indicatorLeft(int left) {
    if (left <= 0)
        return {left, true};
    return {left - kIndicatorStep, false};
}

} // namespace pricerules
