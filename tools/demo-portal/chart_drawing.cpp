#include "chart_drawing.h"

#include <QDateTime>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace demoportal {

namespace {

const QColor kBackground(255, 255, 255);
const QColor kPlotBackground(248, 250, 255);
const QColor kGrid(214, 220, 232);
const QColor kAxisText(40, 40, 40);
const QColor kTitle(0, 0, 128);
const QColor kLastBox(200, 0, 0);

QFont chartFont(int pixelSize, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // Crisp pixels, and no shades of grey to spend the palette on.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// A round step that gives about `ticks` divisions of `range`.
double niceStep(double range, int ticks) {
    if (range <= 0)
        return 1;
    const double raw = range / ticks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (raw <= factor * magnitude)
            return factor * magnitude;
    }
    return 10 * magnitude;
}

} // namespace

namespace {

QString timeText(double seconds, int offset, const QString& format) {
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(seconds), Qt::OffsetFromUTC, offset)
        .toString(format);
}

} // namespace

QString clockText(double seconds, int offset) {
    return timeText(seconds, offset, QStringLiteral("HH:mm"));
}

QString dayText(double seconds) {
    return timeText(seconds, kBeijingOffset, QStringLiteral("MM-dd"));
}

QString monthText(double seconds) {
    return timeText(seconds, kBeijingOffset, QStringLiteral("yyyy-MM"));
}

QImage drawLineChart(const LineChart& chart) {
    QImage image(chart.size, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);

    const bool small = chart.size.height() < 200;
    const QFont textFont = chartFont(small ? 10 : 12);
    const QFont titleFont = chartFont(small ? 11 : 14, true);
    const QFontMetrics textMetrics(textFont);
    const QFontMetrics titleMetrics(titleFont);

    // The price range over every line, with a little air above and below.
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    for (const LineChart::Line& line : chart.lines) {
        for (const QPointF& point : line.points) {
            low = std::min(low, point.y());
            high = std::max(high, point.y());
        }
    }
    if (low > high) {
        low = 0;
        high = 1;
    }
    const double yStep = niceStep(std::max(high - low, std::pow(10.0, -chart.decimals) * 4), small ? 3 : 5);
    low = std::floor(low / yStep) * yStep;
    high = std::ceil(high / yStep) * yStep;
    if (high <= low)
        high = low + yStep;

    const QString widest = QString::number(high, 'f', chart.decimals);
    const int axisWidth = textMetrics.horizontalAdvance(widest) + 8;
    const int top = titleMetrics.height() + (small ? 2 : 6);
    const QRect plot(4, top, chart.size.width() - axisWidth - 8,
                     chart.size.height() - top - textMetrics.height() - 6);

    // Title, unit and legend.
    painter.setFont(titleFont);
    painter.setPen(kTitle);
    painter.drawText(QPoint(4, titleMetrics.ascent() + 1), chart.title);
    int legendLeft = 4 + titleMetrics.horizontalAdvance(chart.title) + 10;
    painter.setFont(textFont);
    painter.setPen(kAxisText);
    if (!chart.unit.isEmpty()) {
        painter.drawText(QPoint(legendLeft, titleMetrics.ascent() + 1), chart.unit);
        legendLeft += textMetrics.horizontalAdvance(chart.unit) + 12;
    }
    for (const LineChart::Line& line : chart.lines) {
        if (line.legend.isEmpty())
            continue;
        painter.fillRect(legendLeft, titleMetrics.ascent() - 4, 14, 3, line.colour);
        painter.drawText(QPoint(legendLeft + 18, titleMetrics.ascent() + 1), line.legend);
        legendLeft += 18 + textMetrics.horizontalAdvance(line.legend) + 12;
    }

    painter.fillRect(plot, kPlotBackground);
    const auto xOf = [&](double seconds) {
        const double span = std::max(chart.xTo - chart.xFrom, 1.0);
        return plot.left() + (seconds - chart.xFrom) / span * plot.width();
    };
    const auto yOf = [&](double price) {
        return plot.bottom() - (price - low) / (high - low) * plot.height();
    };

    // Price grid and labels on the right; a label the latest price's box would cover is left out.
    const bool marked = chart.markLast && !chart.lines.isEmpty() && !chart.lines.first().points.isEmpty();
    const int lastY =
        marked ? static_cast<int>(std::lround(yOf(chart.lines.first().points.last().y()))) : -1000;
    for (double price = low; price <= high + yStep / 2; price += yStep) {
        const int y = static_cast<int>(std::lround(yOf(price)));
        painter.setPen(kGrid);
        painter.drawLine(plot.left(), y, plot.right(), y);
        if (std::abs(y - lastY) < textMetrics.height())
            continue;
        painter.setPen(kAxisText);
        painter.drawText(QPoint(plot.right() + 5, y + textMetrics.ascent() / 2 - 1),
                         QString::number(price, 'f', chart.decimals));
    }
    // Time grid and labels below.
    if (chart.xLabel && chart.xStep > 0) {
        int lastRight = -1000;
        for (double tick = chart.xFirstTick; tick <= chart.xTo; tick += chart.xStep) {
            if (tick < chart.xFrom)
                continue;
            const int x = static_cast<int>(std::lround(xOf(tick)));
            painter.setPen(kGrid);
            painter.drawLine(x, plot.top(), x, plot.bottom());
            const QString label = chart.xLabel(tick);
            const int width = textMetrics.horizontalAdvance(label);
            const int left = std::clamp(x - width / 2, 0, chart.size.width() - width - 1);
            if (left <= lastRight + 6)
                continue;
            painter.setPen(kAxisText);
            painter.drawText(QPoint(left, plot.bottom() + textMetrics.ascent() + 3), label);
            lastRight = left + width;
        }
    }
    painter.setPen(kAxisText);
    painter.drawRect(plot.adjusted(0, 0, -1, -1));

    // Lines, the first drawn last so it stays on top.
    painter.setClipRect(plot);
    for (qsizetype i = chart.lines.size() - 1; i >= 0; --i) {
        const LineChart::Line& line = chart.lines[i];
        if (line.points.size() < 2)
            continue;
        QPolygonF polygon;
        for (const QPointF& point : line.points)
            polygon.append(QPointF(xOf(point.x()), yOf(point.y())));
        painter.setPen(QPen(line.colour, small ? 1 : 2));
        painter.drawPolyline(polygon);
    }
    painter.setClipping(false);

    // The latest price in a box on the price axis.
    if (marked) {
        const QString text = QString::number(chart.lines.first().points.last().y(), 'f', chart.decimals);
        const int y = lastY;
        const QRect box(plot.right() + 2, y - textMetrics.height() / 2,
                        textMetrics.horizontalAdvance(text) + 6, textMetrics.height());
        painter.fillRect(box, kLastBox);
        painter.setPen(Qt::white);
        painter.drawText(box, Qt::AlignCenter, text);
    }
    return image;
}

} // namespace demoportal
