// The two charting libraries Debian offers for Qt 6, side by side on a year
// of prices (a million points): QCustomPlot 2.1 and Qt Charts 6.4. For each,
// the time from nothing to the first painted frame of the whole year, the
// frame time while panning (the whole year in view, and one week in view),
// and the memory the chart holds. QCustomPlot is measured with its adaptive
// sampling (its decimation) on and off, Qt Charts with and without OpenGL.
// Prints figures; asserts nothing.
//
// Run under a display (scripts/bench runs it under Xvfb).
#include "figure.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QElapsedTimer>
#include <QFile>
#include <QLineSeries>
#include <QRandomGenerator>
#include <QValueAxis>
#include <algorithm>
#include <functional>
#include <qcustomplot.h>
#include <vector>

namespace {

constexpr int kPoints = 1'000'000;
constexpr double kYearSeconds = 365.0 * 86400;
constexpr double kWeekSeconds = 7.0 * 86400;
constexpr int kFrames = 40;
const QSize kSize(900, 520);

struct Series {
    std::vector<double> keys;   // seconds since the epoch
    std::vector<double> values; // yuan per gram
};

// A random walk of a price around 450 yuan, one point every 31.5 s for a year.
Series yearOfPrices() {
    Series s;
    s.keys.reserve(kPoints);
    s.values.reserve(kPoints);
    QRandomGenerator random(29);
    const double start = QDateTime(QDate(2024, 1, 1), QTime(0, 0)).toSecsSinceEpoch();
    double price = 450;
    for (int i = 0; i < kPoints; ++i) {
        price += (random.bounded(31) - 15) * 0.01;
        price = std::clamp(price, 300.0, 600.0);
        s.keys.push_back(start + i * (kYearSeconds / kPoints));
        s.values.push_back(price);
    }
    return s;
}

long residentKb() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLong() * 4;
}

struct Frames {
    double mean = 0, worst = 0;
};

// Frame times of `frames` steps of `step`, each followed by a synchronous paint.
Frames time(const std::function<void(int)>& step) {
    std::vector<double> ms;
    for (int i = 0; i < kFrames; ++i) {
        QElapsedTimer timer;
        timer.start();
        step(i);
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    Frames f;
    for (double v : ms)
        f.mean += v / ms.size();
    f.worst = *std::max_element(ms.begin(), ms.end());
    return f;
}

void printFrames(const QByteArray& label, const Frames& f) {
    printFigure(label + " pan frame, mean", f.mean, "ms");
    printFigure(label + " pan frame, worst", f.worst, "ms");
}

void benchCustomPlot(const Series& s, bool adaptive) {
    const QByteArray name = adaptive ? "QCustomPlot" : "QCustomPlot without decimation";
    const long before = residentKb();
    QElapsedTimer open;
    open.start();
    auto* plot = new QCustomPlot;
    plot->resize(kSize);
    QCPGraph* graph = plot->addGraph();
    graph->setAdaptiveSampling(adaptive);
    QVector<QCPGraphData> data(kPoints);
    for (int i = 0; i < kPoints; ++i)
        data[i] = {s.keys[size_t(i)], s.values[size_t(i)]};
    graph->data()->set(data, true);
    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker->setDateTimeFormat(QStringLiteral("M月d日"));
    plot->xAxis->setTicker(ticker);
    plot->xAxis->setRange(s.keys.front(), s.keys.back());
    plot->yAxis->setRange(290, 610);
    plot->show();
    plot->replot(QCustomPlot::rpImmediateRefresh);
    plot->repaint();
    printFigure(name + " open a year", open.nsecsElapsed() / 1e6, "ms");
    printFigure(name + " memory", (residentKb() - before) / 1024.0, "MB");

    const double year = s.keys.back() - s.keys.front();
    printFrames(name + " year in view,", time([&](int i) {
                    plot->xAxis->setRange(s.keys.front() + i * year * 0.002,
                                          s.keys.back() + i * year * 0.002);
                    plot->replot(QCustomPlot::rpImmediateRefresh);
                    plot->repaint();
                }));
    const double mid = s.keys.front() + year / 2;
    printFrames(name + " week in view,", time([&](int i) {
                    plot->xAxis->setRange(mid + i * 3600, mid + kWeekSeconds + i * 3600);
                    plot->replot(QCustomPlot::rpImmediateRefresh);
                    plot->repaint();
                }));
    delete plot;
}

void benchQtCharts(const Series& s, bool openGl) {
    const QByteArray name = openGl ? "Qt Charts with OpenGL" : "Qt Charts";
    const long before = residentKb();
    QElapsedTimer open;
    open.start();
    auto* series = new QLineSeries;
    QList<QPointF> points(kPoints);
    for (int i = 0; i < kPoints; ++i)
        points[i] = {s.keys[size_t(i)] * 1000, s.values[size_t(i)]};
    series->replace(points);
    // Drawn by the GPU (here Mesa's software renderer) instead of QPainter.
    series->setUseOpenGL(openGl);
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->addSeries(series);
    auto* x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("M月d日"));
    auto* y = new QValueAxis;
    y->setRange(290, 610);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    auto* view = new QChartView(chart);
    view->resize(kSize);
    view->show();
    view->repaint();
    printFigure(name + " open a year", open.nsecsElapsed() / 1e6, "ms");
    printFigure(name + " memory", (residentKb() - before) / 1024.0, "MB");

    const qint64 first = qint64(s.keys.front() * 1000), last = qint64(s.keys.back() * 1000);
    const qint64 year = last - first;
    printFrames(name + " year in view,", time([&](int i) {
                    x->setRange(QDateTime::fromMSecsSinceEpoch(first + qint64(i * year * 0.002)),
                                QDateTime::fromMSecsSinceEpoch(last + qint64(i * year * 0.002)));
                    view->repaint();
                }));
    const qint64 mid = first + year / 2;
    printFrames(name + " week in view,", time([&](int i) {
                    x->setRange(
                        QDateTime::fromMSecsSinceEpoch(mid + i * 3600000LL),
                        QDateTime::fromMSecsSinceEpoch(mid + qint64(kWeekSeconds * 1000) + i * 3600000LL));
                    view->repaint();
                }));
    delete view;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const Series year = yearOfPrices();
    benchCustomPlot(year, true);
    benchCustomPlot(year, false);
    benchQtCharts(year, false);
    benchQtCharts(year, true);
    return 0;
}
