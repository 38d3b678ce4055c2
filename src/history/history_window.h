#pragma once

#include "chart_data.h"
#include "price_history.h"

#include <QHash>
#include <QWidget>
#include <array>

class PriceChart;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class Timer;
struct Services;

// "价格记录": the prices this computer recorded, drawn by the program itself.
// The user picks the series (each bank's buy and sell, the international
// pair), the span (1小时 … 全部), lines or candles of 1, 5, 15 or 60 minutes
// or a day, a moving average, and the spread of one bank's pair; a
// crosshair reads time and price. The view exports as a PNG picture and its
// data as CSV.
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    HistoryWindow(Services& services, PriceHistory& history, QWidget* parent = nullptr);

    // The handlers, public for the tests that drive them as a click would.
    void exportPicture();
    void exportData();
    // Reads the history for the chosen span and series, then draws.
    void reload();
    // Whether the last read has been drawn.
    bool drawn() const { return pendingReads_ == 0; }
    PriceChart* chart() const { return chart_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class Shape { Line, Candles };
    void buildControls();
    // The series to show with the export buttons; the span, shape, average and spread.
    void buildSeriesRow();
    void buildViewRow();
    void draw();
    QList<history::Series> wantedSeries() const;
    QList<history::Series> shownSeries() const;
    history::chartdata::Span span() const;
    int candlePeriod() const; // -1 for lines
    int averageLength() const;
    int spreadBank() const; // -1 when off
    history::chartdata::Line spreadLine(int bank) const;
    QString suggestedName(const QString& suffix) const;
    void onRecorded(history::Series series, history::Change change);

    Services& services_;
    PriceHistory& history_;
    std::array<QCheckBox*, history::kSeriesCount> seriesBoxes_{};
    QButtonGroup* spans_;
    QComboBox* shape_;
    QCheckBox* averageBox_;
    QComboBox* averageLength_;
    QCheckBox* spreadBox_;
    QComboBox* spreadBank_;
    QPushButton* exportPictureButton_;
    QPushButton* exportDataButton_;
    PriceChart* chart_;
    QLabel* reading_;
    QLabel* status_;
    // Redraws a moment after new prices, not at every one.
    Timer* redraw_;

    // What was read for the span on screen.
    QHash<int, HistoryStore::Span> read_;
    qint64 fromMs_ = 0;
    qint64 toMs_ = 0;
    int pendingReads_ = 0;
    quint64 readSerial_ = 0;
    // How the lines are drawn: their resolution and the clock's offset from UTC.
    qint64 resolutionMs_ = 0;
    int utcOffset_ = 0;
    history::chartdata::Line lineOf(history::Series series) const;
    // The candles and average drawn, for the CSV.
    QList<history::Bar> candles_;
    QVector<double> average_;
};
