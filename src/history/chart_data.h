#pragma once

#include "history_store.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVector>

// What the price charts draw and export, made from what the history holds:
// lines, candles, the spread of a bank's pair, and the CSV text of a view.
namespace history::chartdata {

// Times in seconds since the epoch (the charting library's keys), prices in yuan.
struct Line {
    QVector<double> keys;
    QVector<double> values;
};

// A series as a line: each rolled-up minute at its close, then every change.
Line lineOf(const HistoryStore::Span& span);
// The same at a coarser resolution: the close of every period of
// `resolutionMs` (laid out on the local clock), or every change for 0.
Line lineOf(const HistoryStore::Span& span, qint64 resolutionMs, int utcOffsetSeconds);
// The resolution a line of `spanMs` is drawn at: every change up to a week,
// then the finest of 1, 5, 15 and 60 minutes and a day that keeps a series
// within 120,000 points, which a pan redraws within a frame.
qint64 lineResolutionMs(qint64 spanMs);
// "每个价格", "每1分钟", "每5分钟", …, "每天".
QString resolutionName(qint64 resolutionMs);
// A series as one-minute bars: the rolled-up ones and those of its changes.
QList<Bar> minuteBarsOf(const HistoryStore::Span& span);

// The sell price less the buy price in force, at every change of either
// (from the first moment both are known).
Line spreadOf(const Line& buy, const Line& sell);

// The spans the window offers: "1小时" … "1年", and "全部" from `firstMs`.
enum class Span { Hour, Day, Week, Month, Year, All };
QString spanName(Span span);
qint64 spanStartMs(Span span, const QDateTime& now, qint64 firstMs);

// "yyyy-MM-dd HH:mm:ss" in local time, as the CSV files and the crosshair write times.
QString timeText(double key);

// A CSV file spreadsheets open with its Chinese headers: UTF-8 with a byte
// order mark, CRLF line ends. Lines: "时间" and one column per line, a row
// for every moment any of them changed, each cell the price in force then
// (empty before its first price).
QByteArray csvOfLines(const QList<std::pair<QString, Line>>& lines);
// Candles: "时间,开盘,最高,最低,收盘", and the moving average when given.
QByteArray csvOfCandles(const QList<Bar>& candles, const QVector<double>& average,
                        const QString& averageName);

} // namespace history::chartdata
