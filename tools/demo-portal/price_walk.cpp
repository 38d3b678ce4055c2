#include "price_walk.h"

#include <QRegularExpression>
#include <algorithm>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace demoportal {

namespace {

constexpr int kHighestBuyCents = PriceWalk::kHighestSellCents - PriceWalk::kSpreadCents;
constexpr int kStartCents = 900'00;
constexpr int kStartSpreadCents = 15'00;

} // namespace

PriceWalk::PriceWalk(quint32 seed)
    : random_(seed), buyCents_(kStartCents + random_.bounded(-kStartSpreadCents, kStartSpreadCents + 1)) {}

PriceWalk::PriceWalk(quint32 seed, int startBuyCents)
    : random_(seed), buyCents_(std::clamp(startBuyCents, kLowestBuyCents, kHighestBuyCents)) {}

void PriceWalk::step() {
    if (pinned_)
        return;
    int next = buyCents_ + random_.bounded(-kMaxStepCents, kMaxStepCents + 1);
    // Bounce off the edges so the price stays in its band however long it runs.
    if (next < kLowestBuyCents)
        next = 2 * kLowestBuyCents - next;
    if (next > kHighestBuyCents)
        next = 2 * kHighestBuyCents - next;
    lastStepCents_ = next - buyCents_;
    buyCents_ = next;
}

QString PriceWalk::buy() const {
    return pinned_ ? pinnedBuy_ : centsText(buyCents_);
}

QString PriceWalk::sell() const {
    return pinned_ ? pinnedSell_ : centsText(buyCents_ + kSpreadCents);
}

QString PriceWalk::change() const {
    const int cents = pinned_ ? 0 : lastStepCents_;
    return (cents < 0 ? u"-"_s : u"+"_s) + centsText(std::abs(cents));
}

void PriceWalk::pin(const QString& buy, const QString& sell) {
    pinned_ = true;
    pinnedBuy_ = buy;
    pinnedSell_ = sell;
}

void PriceWalk::unpin() {
    pinned_ = false;
    lastStepCents_ = 0;
}

bool PriceWalk::isPriceText(const QString& text) {
    static const QRegularExpression pattern(u"^(?=.{6}$)[0-9]+(\\.[0-9]*)?$"_s);
    return pattern.match(text).hasMatch();
}

QString PriceWalk::centsText(int cents) {
    return u"%1.%2"_s.arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
}

} // namespace demoportal
