#pragma once

#include "market_history.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <functional>

namespace demoportal {

// A line chart as the chart providers draw them: a title, a price axis on
// the right, a time axis below, a grid and one or more lines, and the latest
// price marked. Drawn without anti-aliasing, so the picture has few colours
// and survives GIF's 256 exactly.
struct LineChart {
    struct Line {
        PricePoints points; // x in seconds since the epoch
        QColor colour;
        QString legend; // empty: not in the legend
    };

    QSize size;
    QString title;
    QString unit; // beside the title
    QList<Line> lines;
    double xFrom = 0; // the time axis, in seconds since the epoch
    double xTo = 0;
    int decimals = 2;
    // Text of a time tick; ticks fall every `xStep` seconds from `xFirstTick`.
    std::function<QString(double)> xLabel;
    double xFirstTick = 0;
    double xStep = 3600;
    bool markLast = true; // the latest price of the first line, in a box on the axis
};

QImage drawLineChart(const LineChart& chart);

// Seconds east of UTC of Beijing and of New York (standard time), for axis labels.
constexpr int kBeijingOffset = 8 * 3600;
constexpr int kNewYorkOffset = -5 * 3600;

// "HH:mm" of an instant at a fixed offset from UTC.
QString clockText(double seconds, int offset);
// "MM-dd" or "yyyy-MM" of an instant in Beijing.
QString dayText(double seconds);
QString monthText(double seconds);

} // namespace demoportal
