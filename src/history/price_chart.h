#pragma once

#include "chart_data.h"

#include <qcustomplot.h>

// A price chart drawn by the program from its own history (QCustomPlot):
// lines, candles, a moving average, a spread pane under the prices, Chinese
// dates on the time axis, and a crosshair that reads time and price. Drags
// and wheel turns move and zoom the time axis only; the price axis follows
// what is in view. Lines are decimated by the library, so a year of
// changes pans without dropping frames.
class PriceChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit PriceChart(QWidget* parent = nullptr);

    // Empties the chart (lines, candles, average, spread).
    void clearChart();
    void addLine(const QString& name, const QColor& colour, const history::chartdata::Line& line);
    // Candles drawn at once are costly (a rectangle each): a view holds at
    // most this many, the rest are a pan away.
    static constexpr int kMaxCandlesInView = 1500;
    // Candles in the Chinese colours: red when the close is above the open, green below.
    void setCandles(const QString& name, const QList<history::Bar>& candles, qint64 periodMs);
    void addAverage(const QString& name, const QList<history::Bar>& candles, const QVector<double>& average);
    // A pane under the prices; an empty line removes it.
    void setSpread(const QString& name, const history::chartdata::Line& spread);
    // Shows `fromSecs` to `toSecs` (keys) and fits the prices in view.
    void showRange(double fromSecs, double toSecs);
    // A note in the middle of the chart ("暂无本机记录" …); empty for none.
    void setNote(const QString& note);

    // The crosshair's text at a widget position: time and price there, or
    // empty outside the price pane.
    QString readingAt(const QPointF& position) const;
    QCPAxisRect* pricePane() const { return axisRect(); }
    // Lines and candles drawn, in order; for tests.
    int plottedSeries() const { return plottableCount(); }

signals:
    // The crosshair moved; empty when it left the price pane.
    void crosshairMoved(const QString& reading);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // The legend in a row above the prices; the crosshair and the note on the top layer.
    void placeLegend();
    void buildOverlay();
    void fitPrices();
    void adaptTimeFormat(const QCPRange& range);
    void moveCrosshair(const QPointF& position);

    QSharedPointer<QCPAxisTickerDateTime> ticker_;
    QCPAxisRect* spreadPane_ = nullptr;
    QCPGraph* spreadGraph_ = nullptr;
    QCPItemStraightLine* crossX_;
    QCPItemStraightLine* crossY_;
    QCPItemText* note_;
    double widestView_ = 0; // seconds; 0 without candles
};
