#include "market_history.h"

#include <QRandomGenerator>
#include <cmath>

namespace demoportal {

namespace {

constexpr qint64 kObserveEverySeconds = 60;
constexpr qsizetype kMaxObserved = 4 * 24 * 60;

// Gold rose about threefold over the last ten years; the made-up history does the same.
const double kGoldDailyDrift = std::log(3.2) / 3650.0;

qint64 slotOf(qint64 seconds) {
    return seconds / MarketHistory::kSlotSeconds;
}

qint64 dayOf(qint64 seconds) {
    return seconds / MarketHistory::kDaySeconds;
}

} // namespace

RandomSeries::RandomSeries(quint32 seed, qint64 anchorSlot, double anchorValue, double sigma, double drift)
    : seed_(seed), sigma_(sigma), drift_(drift) {
    values_[anchorSlot] = anchorValue;
}

double RandomSeries::step(qint64 slot) const {
    // A normal draw that depends only on the seed and the slot.
    QRandomGenerator random(
        static_cast<quint32>(seed_ ^ (static_cast<quint64>(slot) * 0x9E3779B97F4A7C15ull >> 17)));
    const double u1 = std::max(random.generateDouble(), 1e-12);
    const double u2 = random.generateDouble();
    const double normal = std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * M_PI * u2);
    return drift_ + sigma_ * normal;
}

double RandomSeries::at(qint64 slot) {
    if (const auto known = values_.find(slot); known != values_.end())
        return known->second;
    auto first = values_.begin();
    if (slot < first->first) {
        for (qint64 s = first->first; s > slot; --s)
            values_[s - 1] = values_[s] / std::exp(step(s - 1));
    } else {
        for (qint64 s = values_.rbegin()->first; s < slot; ++s)
            values_[s + 1] = values_[s] * std::exp(step(s));
    }
    return values_[slot];
}

MarketHistory::MarketHistory(quint32 seed, const PriceWalk& walk, qint64 startSeconds)
    : walk_(walk), startSeconds_(startSeconds),
      goldSlots_(seed ^ 0x11u, slotOf(startSeconds), walk.buy().toDouble(), 0.0006),
      goldDays_(seed ^ 0x22u, dayOf(startSeconds), walk.buy().toDouble(), 0.009, kGoldDailyDrift),
      crudeSlots_(seed ^ 0x33u, slotOf(startSeconds), 71.40, 0.0012),
      crudeDays_(seed ^ 0x44u, dayOf(startSeconds), 71.40, 0.02),
      dollarSlots_(seed ^ 0x55u, slotOf(startSeconds), 101.35, 0.00025),
      dollarDays_(seed ^ 0x66u, dayOf(startSeconds), 101.35, 0.004) {}

double MarketHistory::goldNow() const {
    return walk_.buy().toDouble();
}

void MarketHistory::observe(qint64 nowSeconds) {
    if (!observed_.isEmpty() && nowSeconds - static_cast<qint64>(observed_.last().x()) < kObserveEverySeconds)
        return;
    observed_.append(QPointF(static_cast<double>(nowSeconds), goldNow()));
    if (observed_.size() > kMaxObserved)
        observed_.removeFirst();
}

PricePoints MarketHistory::goldIntraday(qint64 fromSeconds, qint64 nowSeconds) {
    // Made up before the start, then what the walk quoted, ending at its price now.
    PricePoints points;
    for (qint64 slot = slotOf(fromSeconds); slot < slotOf(std::min(nowSeconds, startSeconds_)); ++slot)
        points.append(QPointF(static_cast<double>(slot * kSlotSeconds), goldSlots_.at(slot)));
    if (startSeconds_ >= fromSeconds && startSeconds_ <= nowSeconds)
        points.append(QPointF(static_cast<double>(startSeconds_), goldSlots_.at(slotOf(startSeconds_))));
    for (const QPointF& seen : observed_) {
        if (seen.x() >= static_cast<double>(fromSeconds) && seen.x() < static_cast<double>(nowSeconds))
            points.append(seen);
    }
    points.append(QPointF(static_cast<double>(nowSeconds), goldNow()));
    return points;
}

PricePoints MarketHistory::goldDaily(int days, qint64 nowSeconds) {
    return daily(goldDays_, days, nowSeconds, goldNow());
}

PricePoints MarketHistory::crudeIntraday(qint64 fromSeconds, qint64 nowSeconds) {
    return intraday(crudeSlots_, fromSeconds, nowSeconds);
}

PricePoints MarketHistory::crudeDaily(int days, qint64 nowSeconds) {
    return daily(crudeDays_, days, nowSeconds, crudeSlots_.at(slotOf(nowSeconds)));
}

PricePoints MarketHistory::dollarIntraday(qint64 fromSeconds, qint64 nowSeconds) {
    return intraday(dollarSlots_, fromSeconds, nowSeconds);
}

PricePoints MarketHistory::dollarDaily(int days, qint64 nowSeconds) {
    return daily(dollarDays_, days, nowSeconds, dollarSlots_.at(slotOf(nowSeconds)));
}

PricePoints MarketHistory::intraday(RandomSeries& series, qint64 fromSeconds, qint64 nowSeconds) const {
    PricePoints points;
    for (qint64 slot = slotOf(fromSeconds); slot <= slotOf(nowSeconds); ++slot)
        points.append(
            QPointF(static_cast<double>(std::min(slot * kSlotSeconds, nowSeconds)), series.at(slot)));
    return points;
}

PricePoints MarketHistory::daily(RandomSeries& series, int days, qint64 nowSeconds, double today) const {
    // The made-up closes are scaled to end at today's price, so the long
    // charts and the live ones agree on where the price is now.
    const qint64 lastDay = dayOf(nowSeconds);
    const double scale = today / series.at(lastDay);
    PricePoints points;
    for (qint64 day = lastDay - days + 1; day < lastDay; ++day)
        points.append(QPointF(static_cast<double>(day * kDaySeconds), series.at(day) * scale));
    points.append(QPointF(static_cast<double>(nowSeconds), today));
    return points;
}

} // namespace demoportal
