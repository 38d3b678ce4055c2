// The price history's costs:
//  - recording an hour of quotes at 20 times speed (20 hours of the quote
//    cycle: a bank price every 15 s, an international one every 10 s, a new
//    base every minute, a commit every 30 s of quotes, as the sped-up timers
//    keep it): CPU of the user-interface thread and of the history's thread,
//    the longest offer, what was written to disk, the file's size;
//  - a year of history (eight prices, weekdays, changes for 90 days and bars
//    before): the file's size, reading a year of one price, opening
//    "价格记录" on a year of its three first prices;
//  - the frame time while panning that year, and while moving the crosshair.
// Prints figures; asserts nothing. Run under a display (scripts/bench runs it
// under Xvfb). `bench_history --keep FILE` also keeps the year's file.
#include "core/app_dir.h"
#include "figure.h"
#include "history/history_store.h"
#include "history/history_window.h"
#include "history/price_chart.h"
#include "history/price_history.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "quotes/price_rules.h"
#include "support/program_dir.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <ctime>
#include <sys/resource.h>

using namespace history;

namespace {

class SteppedClock : public Clock {
public:
    QDateTime now() const override { return time; }
    QDateTime time;
};

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double processCpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

qint64 bytesWritten() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("write_bytes:"))
            return line.mid(12).trimmed().toLongLong();
    return 0;
}

qint64 filesSize(const QString& path) {
    qint64 size = 0;
    for (const char* suffix : {"", "-wal"})
        size += QFileInfo(path + QLatin1String(suffix)).size();
    return size;
}

// The quote cycle's shown prices, as texts, from a walking base price.
struct QuoteWalk {
    QRandomGenerator random{29};
    double base = 900;
    QString intl(double offset, int step) const {
        return pricerules::intlPriceText(QByteArray::number(base + offset, 'f', 2), step);
    }
};

void recordTwentyHours() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.db"));
    SteppedClock clock;
    clock.time = QDateTime(QDate(2026, 12, 16), QTime(7, 0)); // Wednesday, open for 20 hours
    PriceHistory history(path, clock);
    history.flush();
    QuoteWalk walk;
    const qint64 writtenBefore = bytesWritten();
    const double processBefore = processCpuMs();
    double uiMs = 0, longestOfferUs = 0;
    int offers = 0;
    for (int second = 0; second < 20 * 3600; ++second) {
        clock.time = clock.time.addSecs(1);
        if (second % 60 == 0)
            walk.base += (walk.random.bounded(41) - 20) * 0.01;
        const auto offer = [&](Series s, const QString& text) {
            const double start = threadCpuMs();
            history.offer(s, text);
            const double spent = threadCpuMs() - start;
            uiMs += spent;
            longestOfferUs = std::max(longestOfferUs, spent * 1000);
            ++offers;
        };
        if (second % 10 == 0) {
            offer(Series::IntlBuy, walk.intl(0, 1 + walk.random.bounded(5)));
            offer(Series::IntlSell, walk.intl(0.8, 1 + walk.random.bounded(5)));
        }
        for (int bank = 0; bank < 3; ++bank) {
            if (second % 15 != bank * 5)
                continue;
            const pricerules::BankPrices prices =
                pricerules::bankPrices(QByteArray::number(walk.base, 'f', 2), walk.random.bounded(16));
            offer(buySeries(bank), prices.buy);
            offer(sellSeries(bank), prices.sell);
        }
        if (second % 30 == 29)
            history.flush();
        QCoreApplication::processEvents();
    }
    history.flush();
    const double totalMs = processCpuMs() - processBefore;
    printFigure("recording an hour of 20x quotes: shown prices offered", offers, "");
    printFigure("recording an hour of 20x quotes: UI thread CPU", uiMs, "ms");
    printFigure("recording an hour of 20x quotes: history thread and the rest, CPU", totalMs - uiMs, "ms");
    printFigure("recording an hour of 20x quotes: share of a core", totalMs / 3600e3 * 100, "%");
    printFigure("recording a day of quotes at normal speed: share of a core",
                totalMs * 24 / 20 / 86400e3 * 100, "%");
    printFigure("recording: longest offer on the UI thread", longestOfferUs, "us");
    printFigure("recording an hour of 20x quotes: written to disk",
                (bytesWritten() - writtenBefore) / 1048576.0, "MB");
    printFigure("recording an hour of 20x quotes: file size", filesSize(path) / 1048576.0, "MB");
}

// A year of weekdays of all eight prices up to `end`, as the quote cycle
// shows them, written straight into the store and rolled up; returns `end`.
QDateTime makeYear(const QString& path, const QDateTime& end) {
    HistoryStore store;
    if (!store.open(path))
        return {};
    QuoteWalk walk;
    for (QDateTime day = end.addYears(-1); day < end; day = day.addDays(1)) {
        if (day.date().dayOfWeek() >= Qt::Saturday)
            continue;
        QList<std::pair<Series, Change>> changes;
        const qint64 start = day.toMSecsSinceEpoch();
        Fen last[kSeriesCount] = {};
        for (int second = 0; second < 86400 && start + second * 1000LL < end.toMSecsSinceEpoch();
             second += 5) {
            if (second % 60 == 0)
                walk.base += (walk.random.bounded(41) - 20) * 0.01;
            const auto add = [&](Series s, const QString& text) {
                const Fen fen = fenOf(text);
                if (fen != last[indexOf(s)])
                    changes.append({s, {start + second * 1000LL, fen}});
                last[indexOf(s)] = fen;
            };
            if (second % 10 == 0) {
                add(Series::IntlBuy, walk.intl(0, 1 + walk.random.bounded(5)));
                add(Series::IntlSell, walk.intl(0.8, 1 + walk.random.bounded(5)));
            }
            const int bank = (second / 5) % 3;
            const pricerules::BankPrices prices =
                pricerules::bankPrices(QByteArray::number(walk.base, 'f', 2), walk.random.bounded(16));
            add(buySeries(bank), prices.buy);
            add(sellSeries(bank), prices.sell);
        }
        store.append(changes);
    }
    store.rollUp(end.toMSecsSinceEpoch());
    return end;
}

Services benchServices(SteppedClock& clock) {
    Services services;
    services.clock = &clock;
    return services;
}

void openAndPanAYear(const QString& keep) {
    const ProgramDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("DataBase")));
    const QString path = appPath(QString::fromLatin1(PriceHistory::kFile));
    QElapsedTimer made;
    made.start();
    SteppedClock clock;
    // A kept file ends now, for looking at in the program; the figures come from a fixed year.
    clock.time = makeYear(path, keep.isEmpty() ? QDateTime(QDate(2026, 12, 16), QTime(10, 0))
                                               : QDateTime::currentDateTime());
    printFigure("a year of history: made in", made.elapsed() / 1000.0, "s");
    printFigure("a year of history: file size", filesSize(path) / 1048576.0, "MB");
    {
        HistoryStore store;
        store.open(path);
        QElapsedTimer read;
        read.start();
        const HistoryStore::Span span = store.read(Series::IcbcBuy, 0, clock.time.toMSecsSinceEpoch());
        printFigure("a year of one price: read", read.nsecsElapsed() / 1e6, "ms");
        printFigure("a year of one price: points (bars and changes)", span.bars.size() + span.changes.size(),
                    "");
    }

    PriceHistory history(path, clock);
    Services services = benchServices(clock);
    auto* window = new HistoryWindow(services, history);
    window->show();
    while (!window->drawn())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
    QElapsedTimer open;
    open.start();
    window->findChild<QPushButton*>(QStringLiteral("按钮_一年"))->click();
    while (!window->drawn())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    window->chart()->repaint();
    printFigure("price history window: a year of three prices read and drawn", open.nsecsElapsed() / 1e6,
                "ms");

    PriceChart* chart = window->chart();
    const QCPRange year = chart->xAxis->range();
    const auto frames = [&](const char* label, double width) {
        std::vector<double> ms;
        for (int i = 0; i < 40; ++i) {
            const double from = year.upper - width - i * width * 0.01;
            QElapsedTimer frame;
            frame.start();
            chart->xAxis->setRange(from, from + width);
            chart->replot(QCustomPlot::rpImmediateRefresh);
            chart->repaint();
            ms.push_back(frame.nsecsElapsed() / 1e6);
        }
        double mean = 0;
        for (double v : ms)
            mean += v / double(ms.size());
        printFigure(QByteArray("price history window: pan frame, ") + label + ", mean", mean, "ms");
        printFigure(QByteArray("price history window: pan frame, ") + label + ", worst",
                    *std::max_element(ms.begin(), ms.end()), "ms");
    };
    frames("a year in view", year.size());
    frames("a week in view", 7 * 86400.0);
    std::vector<double> cross;
    const QRect pane = chart->pricePane()->rect();
    for (int i = 0; i < 40; ++i) {
        QElapsedTimer frame;
        frame.start();
        QMouseEvent move(QEvent::MouseMove, QPointF(pane.left() + 10 + i * 10, pane.center().y()), QPointF(),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(chart, &move);
        chart->repaint();
        cross.push_back(frame.nsecsElapsed() / 1e6);
    }
    printFigure("price history window: crosshair move, worst", *std::max_element(cross.begin(), cross.end()),
                "ms");
    delete window;
    if (!keep.isEmpty()) {
        history.flush();
        QFile::remove(keep);
        QFile::copy(path, keep);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype keepAt = args.indexOf(QStringLiteral("--keep"));
    if (!args.contains(QStringLiteral("--year-only")))
        recordTwentyHours();
    openAndPanAYear(keepAt > 0 ? args.value(keepAt + 1) : QString());
    return 0;
}
