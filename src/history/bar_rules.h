#pragma once

#include "price_series.h"

#include <QList>
#include <QString>
#include <QVector>

// Bars out of changes, longer bars out of shorter ones, and the moving
// average: the arithmetic of the price history's charts and of its roll-up.
namespace history::bars {

// The one-minute bars of changes in rising time: each minute that saw a
// change gets one bar, opening with its first change.
QList<Bar> minuteBars(const QList<Change>& changes);

// Two lists of bars in rising time as one; a minute in both gets the first
// list's open, the second's close and the extremes of both.
QList<Bar> merge(const QList<Bar>& first, const QList<Bar>& second);

// A candle period: minutes, or a whole day.
enum class Period { Minute1, Minute5, Minute15, Minute60, Day };
qint64 periodMs(Period period);
// "1分钟", "5分钟", "15分钟", "60分钟", "日线".
QString periodName(Period period);

// Bars of `period` out of one-minute bars in rising time. Periods are laid
// out on the local clock, `utcOffsetSeconds` ahead of UTC, so that an hour
// and a day begin where the user's clock says.
QList<Bar> aggregate(const QList<Bar>& minuteBars, Period period, int utcOffsetSeconds);
// The same for a period of any whole number of minutes.
QList<Bar> aggregate(const QList<Bar>& minuteBars, qint64 periodMs, int utcOffsetSeconds);

// The mean of the last `length` closes at each bar; NaN until there are that many.
QVector<double> movingAverage(const QList<Bar>& bars, int length);

} // namespace history::bars
