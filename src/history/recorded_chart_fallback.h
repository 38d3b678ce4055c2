#pragma once

#include <QObject>
#include <QPointer>

class ChartPanel;
class PriceChart;
class PriceHistory;
class QLabel;
class Timer;

// Keeps a 24-hour chart panel from going blank: while the provider's image
// cannot be shown (no answer, an error, a page or broken bytes instead of an
// image), the panel shows the last 24 hours this computer recorded, drawn by
// the program and marked "本机记录"; as soon as an image loads, it goes back
// to the image. Lives as long as its panel.
class RecordedChartFallback : public QObject {
    Q_OBJECT
public:
    // A first image that takes longer than this counts as not coming.
    static constexpr int kGraceMs = 4000;
    static constexpr int kRedrawMs = 15000;

    RecordedChartFallback(ChartPanel* panel, PriceHistory& history);

    // Whether the recorded chart is what the panel shows.
    bool showing() const;
    PriceChart* chart() const { return chart_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onLoaded(bool ok);
    void show();
    void hide();
    void redraw();

    ChartPanel* panel_;
    PriceHistory& history_;
    PriceChart* chart_;
    QLabel* mark_;
    // While an image is awaited: gives it the grace period.
    Timer* grace_;
    // While shown: draws the newest prices.
    Timer* redraw_;
};
