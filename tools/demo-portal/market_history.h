#pragma once

#include "price_walk.h"

#include <QDateTime>
#include <QList>
#include <QPointF>
#include <map>

namespace demoportal {

// A price series on a fixed grid of time slots, as a random walk of its
// logarithm: the same seed gives the same series, and any slot can be asked
// for, before or after the anchor, in any order.
class RandomSeries {
public:
    RandomSeries(quint32 seed, qint64 anchorSlot, double anchorValue, double sigma, double drift = 0);
    double at(qint64 slot);

private:
    double step(qint64 slot) const; // the log change from slot to slot + 1

    quint32 seed_;
    double sigma_;
    double drift_;
    std::map<qint64, double> values_;
};

// One point of a price history: seconds since the epoch and a price.
using PricePoints = QList<QPointF>;

// Price histories for the portal's charts. Gold follows the quote page's walk:
// its history before the portal started is made up, after that it is what
// the walk quoted, and its newest point is the walk's price now. Crude oil
// and the dollar index are made-up walks of their own.
class MarketHistory {
public:
    static constexpr qint64 kSlotSeconds = 300;
    static constexpr qint64 kDaySeconds = 86400;
    // Yuan per US dollar, and grams per troy ounce, for gold in dollars an ounce.
    static constexpr double kUsdCny = 7.10;
    static constexpr double kGramsPerOunce = 31.1035;

    MarketHistory(quint32 seed, const PriceWalk& walk, qint64 startSeconds);

    // Notes the walk's price at `nowSeconds`; call before drawing.
    void observe(qint64 nowSeconds);

    // Gold in yuan per gram from `fromSeconds` to now, every 5 minutes.
    PricePoints goldIntraday(qint64 fromSeconds, qint64 nowSeconds);
    // Gold in yuan per gram, one close a day for the last `days` days, today last.
    PricePoints goldDaily(int days, qint64 nowSeconds);
    PricePoints crudeIntraday(qint64 fromSeconds, qint64 nowSeconds);
    PricePoints crudeDaily(int days, qint64 nowSeconds);
    PricePoints dollarIntraday(qint64 fromSeconds, qint64 nowSeconds);
    PricePoints dollarDaily(int days, qint64 nowSeconds);

    double goldNow() const;
    static double toUsdPerOunce(double yuanPerGram) { return yuanPerGram * kGramsPerOunce / kUsdCny; }

private:
    PricePoints intraday(RandomSeries& series, qint64 fromSeconds, qint64 nowSeconds) const;
    PricePoints daily(RandomSeries& series, int days, qint64 nowSeconds, double today) const;

    const PriceWalk& walk_;
    qint64 startSeconds_;
    RandomSeries goldSlots_;
    RandomSeries goldDays_;
    RandomSeries crudeSlots_;
    RandomSeries crudeDays_;
    RandomSeries dollarSlots_;
    RandomSeries dollarDays_;
    PricePoints observed_; // the walk's prices since the start, at most one a minute
};

} // namespace demoportal
