#include "price_chart.h"

#include "quotes/trading_hours.h"

#include <cmath>

using namespace history;

namespace {

const QColor kPaneBackground(0xf1, 0xf6, 0xfb);
const QColor kAxis(0x1c, 0x3f, 0x68);
const QColor kGrid(0xdc, 0xe6, 0xf0);
// Chinese markets: red for a rise, green for a fall.
const QColor kRise(0xe0, 0x28, 0x28);
const QColor kFall(0x00, 0x96, 0x46);
const char* const kOverlay = "overlay";

void styleAxis(QCPAxis* axis) {
    axis->setBasePen(QPen(kAxis));
    axis->setTickPen(QPen(kAxis));
    axis->setSubTickPen(QPen(kAxis));
    axis->setTickLabelColor(kAxis);
    axis->setLabelColor(kAxis);
    axis->grid()->setPen(QPen(kGrid, 1, Qt::DotLine));
}

// The extremes of a value range, widened by `found`.
void widen(QCPRange& into, bool& any, const QCPRange& range, bool found) {
    if (!found)
        return;
    if (!any) {
        into = range;
        any = true;
        return;
    }
    into.expand(range);
}

} // namespace

PriceChart::PriceChart(QWidget* parent) : QCustomPlot(parent) {
    setBackground(kPaneBackground);
    axisRect()->setBackground(Qt::white);
    // Panning draws without smoothing, which keeps a year of prices fluid.
    setNoAntialiasingOnDrag(true);
    setMouseTracking(true);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    axisRect()->setRangeDrag(Qt::Horizontal);
    axisRect()->setRangeZoom(Qt::Horizontal);

    ticker_ = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker_->setDateTimeSpec(Qt::LocalTime);
    ticker_->setTickCount(6);
    xAxis->setTicker(ticker_);
    styleAxis(xAxis);
    styleAxis(yAxis);
    yAxis->setNumberFormat(QStringLiteral("f"));
    yAxis->setNumberPrecision(2);
    yAxis->setLabel(QStringLiteral("元/克"));

    placeLegend();
    buildOverlay();

    connect(xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this](const QCPRange& range) {
        if (widestView_ > 0 && range.size() > widestView_) {
            xAxis->setRange(range.upper - widestView_, range.upper);
            return;
        }
        adaptTimeFormat(range);
        fitPrices();
    });
}

void PriceChart::placeLegend() {
    // The legend is a row of its own above the prices, where it covers none.
    legend->setVisible(true);
    legend->setBrush(Qt::NoBrush);
    legend->setBorderPen(Qt::NoPen);
    legend->setTextColor(kAxis);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setMargins(QMargins(0, 2, 0, 0));
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, legend);
    plotLayout()->setRowStretchFactor(0, 0.001);
}

void PriceChart::buildOverlay() {
    // The crosshair lives on the library's top layer, buffered on its own, so
    // following the mouse repaints two lines and not a year of prices.
    layer(QString::fromLatin1(kOverlay))->setMode(QCPLayer::lmBuffered);
    const QPen crossPen(QColor(0x40, 0x60, 0x80), 1, Qt::DashLine);
    crossX_ = new QCPItemStraightLine(this);
    crossY_ = new QCPItemStraightLine(this);
    for (QCPItemStraightLine* line : {crossX_, crossY_}) {
        line->setLayer(QString::fromLatin1(kOverlay));
        line->setPen(crossPen);
        line->setVisible(false);
        line->point1->setType(QCPItemPosition::ptAbsolute);
        line->point2->setType(QCPItemPosition::ptAbsolute);
    }
    note_ = new QCPItemText(this);
    note_->setLayer(QString::fromLatin1(kOverlay));
    note_->position->setType(QCPItemPosition::ptAxisRectRatio);
    note_->position->setCoords(0.5, 0.5);
    note_->setColor(kAxis);
    note_->setVisible(false);
}

void PriceChart::clearChart() {
    setSpread(QString(), {});
    clearPlottables();
    setNote(QString());
    widestView_ = 0;
}

void PriceChart::addLine(const QString& name, const QColor& colour, const chartdata::Line& line) {
    QCPGraph* graph = addGraph(xAxis, yAxis);
    graph->setName(name);
    // One pixel wide: wider lines go through Qt's stroker, which takes seconds
    // over a day of changes.
    graph->setPen(QPen(colour, 1));
    // A price holds until it changes.
    graph->setLineStyle(QCPGraph::lsStepLeft);
    graph->setData(line.keys, line.values, true);
}

void PriceChart::setCandles(const QString& name, const QList<Bar>& candles, qint64 periodMs) {
    auto* financial = new QCPFinancial(xAxis, yAxis);
    financial->setName(name);
    financial->setChartStyle(QCPFinancial::csCandlestick);
    financial->setWidth(periodMs / 1000.0 * 0.7);
    financial->setTwoColored(true);
    widestView_ = periodMs / 1000.0 * kMaxCandlesInView;
    financial->setBrushPositive(kRise);
    financial->setBrushNegative(kFall);
    financial->setPenPositive(QPen(kRise));
    financial->setPenNegative(QPen(kFall));
    QVector<QCPFinancialData> data;
    data.reserve(candles.size());
    for (const Bar& c : candles)
        data.append(QCPFinancialData((c.ms + periodMs / 2) / 1000.0, yuanOf(c.open), yuanOf(c.high),
                                     yuanOf(c.low), yuanOf(c.close)));
    financial->data()->set(data, true);
}

void PriceChart::addAverage(const QString& name, const QList<Bar>& candles, const QVector<double>& average) {
    if (candles.isEmpty())
        return;
    const qint64 half = candles.size() > 1 ? (candles[1].ms - candles[0].ms) / 2 : 0;
    QVector<double> keys;
    keys.reserve(candles.size());
    for (const Bar& c : candles)
        keys.append((c.ms + half) / 1000.0);
    QCPGraph* graph = addGraph(xAxis, yAxis);
    graph->setName(name);
    graph->setPen(QPen(QColor(0x00, 0x83, 0x8f), 1));
    graph->setData(keys, average, true);
}

void PriceChart::setSpread(const QString& name, const chartdata::Line& spread) {
    if (spread.keys.isEmpty()) {
        if (spreadPane_) {
            removeGraph(spreadGraph_);
            plotLayout()->remove(spreadPane_);
            plotLayout()->simplify();
            plotLayout()->setRowStretchFactors({0.001, 1});
            spreadPane_ = nullptr;
            spreadGraph_ = nullptr;
        }
        return;
    }
    if (!spreadPane_) {
        spreadPane_ = new QCPAxisRect(this);
        plotLayout()->addElement(2, 0, spreadPane_);
        plotLayout()->setRowStretchFactors({0.001, 3, 1});
        spreadPane_->setBackground(Qt::white);
        QCPAxis* time = spreadPane_->axis(QCPAxis::atBottom);
        time->setTicker(ticker_);
        time->setRange(xAxis->range());
        QCPAxis* value = spreadPane_->axis(QCPAxis::atLeft);
        value->setLabel(QStringLiteral("点差"));
        value->setNumberFormat(QStringLiteral("f"));
        value->setNumberPrecision(2);
        styleAxis(time);
        styleAxis(value);
        // Both panes keep the same left edge and the same times.
        auto* margins = new QCPMarginGroup(this);
        axisRect()->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        spreadPane_->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        connect(xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), time,
                qOverload<const QCPRange&>(&QCPAxis::setRange));
        spreadGraph_ = addGraph(time, value);
        spreadGraph_->setPen(QPen(QColor(0x6a, 0x3d, 0x9a), 1));
        spreadGraph_->setLineStyle(QCPGraph::lsStepLeft);
        spreadGraph_->removeFromLegend();
    }
    spreadGraph_->setName(name);
    spreadGraph_->setData(spread.keys, spread.values, true);
    spreadPane_->axis(QCPAxis::atLeft)->setLabel(name);
}

void PriceChart::showRange(double fromSecs, double toSecs) {
    xAxis->setRange(fromSecs, std::max(toSecs, fromSecs + 60));
    adaptTimeFormat(xAxis->range());
    fitPrices();
    replot();
}

void PriceChart::setNote(const QString& note) {
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
}

void PriceChart::fitPrices() {
    const QCPRange keys = xAxis->range();
    QCPRange prices;
    bool any = false;
    for (int i = 0; i < plottableCount(); ++i) {
        QCPAbstractPlottable* p = plottable(i);
        if (p->valueAxis() != yAxis)
            continue;
        bool found = false;
        QCPRange range;
        if (auto* graph = qobject_cast<QCPGraph*>(p))
            range = graph->getValueRange(found, QCP::sdBoth, keys);
        else if (auto* financial = qobject_cast<QCPFinancial*>(p))
            range = financial->getValueRange(found, QCP::sdBoth, keys);
        widen(prices, any, range, found);
    }
    if (any) {
        const double pad = std::max(prices.size() * 0.06, 0.05);
        yAxis->setRange(prices.lower - pad, prices.upper + pad);
    }
    if (spreadGraph_) {
        bool found = false;
        const QCPRange range = spreadGraph_->getValueRange(found, QCP::sdBoth, keys);
        if (found)
            spreadGraph_->valueAxis()->setRange(range.lower - 0.05, range.upper + 0.05);
    }
}

void PriceChart::adaptTimeFormat(const QCPRange& range) {
    const double days = range.size() / 86400.0;
    QString format = QStringLiteral("yyyy年M月");
    if (days <= 1.5)
        format = QStringLiteral("HH:mm");
    else if (days <= 10)
        format = QStringLiteral("M月d日\nHH:mm");
    else if (days <= 400)
        format = QStringLiteral("M月d日");
    ticker_->setDateTimeFormat(format);
}

QString PriceChart::readingAt(const QPointF& position) const {
    if (!axisRect()->rect().contains(position.toPoint()))
        return {};
    const double key = xAxis->pixelToCoord(position.x());
    const double price = yAxis->pixelToCoord(position.y());
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(qint64(std::llround(key * 1000)));
    return QStringLiteral("%1 %2 %3  价格 %4 元/克")
        .arg(time.toString(QStringLiteral("yyyy年M月d日")), tradinghours::weekdayName(time.date()),
             time.toString(QStringLiteral("HH:mm:ss")), QString::number(price, 'f', 2));
}

void PriceChart::mouseMoveEvent(QMouseEvent* event) {
    QCustomPlot::mouseMoveEvent(event);
    moveCrosshair(event->position());
}

void PriceChart::leaveEvent(QEvent* event) {
    QCustomPlot::leaveEvent(event);
    moveCrosshair(QPointF(-1, -1));
}

void PriceChart::moveCrosshair(const QPointF& position) {
    const QString reading = readingAt(position);
    const bool shown = !reading.isEmpty();
    crossX_->setVisible(shown);
    crossY_->setVisible(shown);
    if (shown) {
        crossX_->point1->setCoords(position.x(), 0);
        crossX_->point2->setCoords(position.x(), 1);
        crossY_->point1->setCoords(0, position.y());
        crossY_->point2->setCoords(1, position.y());
    }
    layer(QString::fromLatin1(kOverlay))->replot();
    emit crosshairMoved(reading);
}
