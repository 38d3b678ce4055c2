// The alert log's costs at its bound of 100,000 entries (about two days of a
// rule that holds on two channels): the file's growth per entry, one commit
// of half a minute's hits, reading every entry, and opening "提醒记录" on
// them, in time and in memory (once the freed pages have gone back). Prints figures; asserts nothing. Run
// under a display (scripts/bench runs it under Xvfb).
#include "alerts/alert_log.h"
#include "alerts/alert_log_window.h"
#include "figure.h"
#include "history/history_store.h"
#include "history/price_history.h"
#include "platform/clock.h"
#include "platform/services.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using history::AlertRecord;

namespace {

class WallClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// Resident memory of this process in kB.
qint64 residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

qint64 filesSize(const QString& path) {
    return QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size();
}

// A rule that holds while the price wanders under it, on the sound and the
// pop-up channel every 3.2 s.
QList<AlertRecord> hits(int count, qint64 startMs) {
    QList<AlertRecord> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i)
        records.append({startMs + (i / 2) * 3200,
                        i % 2 ? QStringLiteral("屏幕下方提醒") : QStringLiteral("声音提醒"),
                        QStringLiteral("工行"), QStringLiteral("买入价低于"), QStringLiteral("900"),
                        QString::number(899.0 - (i / 2 % 300) / 100.0, 'f', 2)});
    return records;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.db"));
    const qint64 start = QDateTime::currentMSecsSinceEpoch() - 4 * 86'400'000LL;
    {
        HistoryStore store;
        if (!store.open(path))
            return 1;
        const qint64 empty = filesSize(path);
        store.appendAlerts(hits(HistoryStore::kAlertsKept, start));
        printFigure("alert log: file growth per entry",
                    double(filesSize(path) - empty) / HistoryStore::kAlertsKept, "bytes");
        // Half a minute of a rule holding on two channels, at the bound.
        QElapsedTimer timer;
        timer.start();
        store.appendAlerts(hits(20, start + 86'400'000LL));
        printFigure("alert log: one commit of 20 hits at 100,000 entries", timer.nsecsElapsed() / 1e6, "ms");
        timer.restart();
        const qsizetype read = store.alerts().size();
        printFigure("alert log: reading 100,000 entries", timer.nsecsElapsed() / 1e6, "ms");
        if (read != HistoryStore::kAlertsKept)
            return 2;
    }

    WallClock clock;
    PriceHistory history(path, clock);
    AlertLog log(history);
    Services services;
    services.clock = &clock;
    const qint64 before = residentKb();
    QElapsedTimer timer;
    timer.start();
    auto* window = new AlertLogWindow(services, log);
    window->show();
    while (!window->loaded())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();
    printFigure("\"提醒记录\" opened on 100,000 entries", timer.nsecsElapsed() / 1e6, "ms");
    // Once the freed pages of the read have gone back to the system.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    printFigure("\"提醒记录\" with 100,000 entries: memory", (residentKb() - before) / 1024.0, "MB");
    delete window;
    return 0;
}
