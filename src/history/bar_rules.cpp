#include "bar_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace history::bars {

namespace {

// Widens `into` by `bar`, which comes after it in time.
void extend(Bar& into, const Bar& bar) {
    into.high = std::max(into.high, bar.high);
    into.low = std::min(into.low, bar.low);
    into.close = bar.close;
}

qint64 floorTo(qint64 value, qint64 step) {
    const qint64 q = value / step;
    return (value % step < 0 ? q - 1 : q) * step;
}

} // namespace

QList<Bar> minuteBars(const QList<Change>& changes) {
    QList<Bar> bars;
    for (const Change& c : changes) {
        const qint64 minute = floorTo(c.ms, kMinuteMs);
        if (!bars.isEmpty() && bars.last().ms == minute)
            extend(bars.last(), {minute, c.fen, c.fen, c.fen, c.fen});
        else
            bars.append({minute, c.fen, c.fen, c.fen, c.fen});
    }
    return bars;
}

QList<Bar> merge(const QList<Bar>& first, const QList<Bar>& second) {
    QList<Bar> out;
    out.reserve(first.size() + second.size());
    qsizetype i = 0, j = 0;
    while (i < first.size() || j < second.size()) {
        if (j == second.size() || (i < first.size() && first[i].ms < second[j].ms)) {
            out.append(first[i++]);
        } else if (i == first.size() || second[j].ms < first[i].ms) {
            out.append(second[j++]);
        } else {
            Bar both = first[i++];
            extend(both, second[j++]);
            out.append(both);
        }
    }
    return out;
}

qint64 periodMs(Period period) {
    switch (period) {
    case Period::Minute1:
        return kMinuteMs;
    case Period::Minute5:
        return 5 * kMinuteMs;
    case Period::Minute15:
        return 15 * kMinuteMs;
    case Period::Minute60:
        return kHourMs;
    case Period::Day:
        return kDayMs;
    }
    return kMinuteMs;
}

QString periodName(Period period) {
    switch (period) {
    case Period::Minute1:
        return QStringLiteral("1分钟");
    case Period::Minute5:
        return QStringLiteral("5分钟");
    case Period::Minute15:
        return QStringLiteral("15分钟");
    case Period::Minute60:
        return QStringLiteral("60分钟");
    case Period::Day:
        return QStringLiteral("日线");
    }
    return {};
}

QList<Bar> aggregate(const QList<Bar>& minuteBars, Period period, int utcOffsetSeconds) {
    return aggregate(minuteBars, periodMs(period), utcOffsetSeconds);
}

QList<Bar> aggregate(const QList<Bar>& minuteBars, qint64 step, int utcOffsetSeconds) {
    const qint64 offset = qint64(utcOffsetSeconds) * 1000;
    QList<Bar> out;
    for (const Bar& bar : minuteBars) {
        const qint64 start = floorTo(bar.ms + offset, step) - offset;
        if (!out.isEmpty() && out.last().ms == start) {
            extend(out.last(), bar);
        } else {
            Bar first = bar;
            first.ms = start;
            out.append(first);
        }
    }
    return out;
}

QVector<double> movingAverage(const QList<Bar>& bars, int length) {
    QVector<double> out(bars.size(), std::numeric_limits<double>::quiet_NaN());
    if (length < 1)
        return out;
    qint64 sum = 0;
    for (qsizetype i = 0; i < bars.size(); ++i) {
        sum += bars[i].close;
        if (i >= length)
            sum -= bars[i - length].close;
        if (i + 1 >= length)
            out[i] = double(sum) / length / 100.0;
    }
    return out;
}

} // namespace history::bars
