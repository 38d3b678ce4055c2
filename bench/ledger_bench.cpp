// Times of the ledger on files of 10,000 and 100,000 entries: opening its
// window (list and statistics), reading it, a modify of the first entry and a
// delete of the first entry, both of which change every later holding.
// Medians of a few runs on fresh copies of the file. Prints figures; asserts
// nothing.
#include "core/app_dir.h"
#include "figure.h"
#include "ledger/ledger_book.h"
#include "ledger/ledger_window.h"
#include "platform/services.h"
#include "platform/widgets/qt_dialogs.h"
#include "records/passwords.h"
#include "records/record_file.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRuns = 3;

// Buys of 10 g and sells of 3 g by turns, a minute apart, with their holdings.
bool makeLedger(const QString& path, int entries) {
    if (!RecordFile::create(path, QString(), recordpasswords::ledgerFields()))
        return false;
    RecordFile file;
    if (!file.open(path, QString()))
        return false;
    const QDateTime start(QDate(2024, 1, 2), QTime(9, 30));
    int held = 0;
    for (int i = 0; i < entries; ++i) {
        const bool buy = i % 2 == 0;
        const int grams = buy ? 10 : 3;
        const double price = 450.0 + (i % 100) * 0.01;
        held += buy ? grams : -grams;
        file.appendBlank();
        file.modify(
            {start.addSecs(60 * i), buy ? ledger::kBuy : ledger::kSell, grams, price, price * grams, held});
    }
    return true;
}

// Median milliseconds of `runs` calls of `work`, each on a fresh copy of
// `source`; negative when a copy or the work failed.
double medianMs(const QString& source, const QTemporaryDir& dir,
                const std::function<bool(const QString&)>& work) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const QString copy = dir.filePath(QStringLiteral("run%1.edb").arg(run));
        QFile::remove(copy);
        if (!QFile::copy(source, copy))
            return -1;
        QElapsedTimer timer;
        timer.start();
        const bool done = work(copy);
        times.push_back(timer.nsecsElapsed() / 1e6);
        if (!done)
            return -1;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

// One size: false when the ledger could not be made.
bool measure(int kEntries) {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("transactionrecord.edb"));
    if (!makeLedger(source, kEntries)) {
        std::fprintf(stderr, "could not create the ledger\n");
        return false;
    }
    const double open = medianMs(source, dir, [kEntries](const QString& path) {
        const auto entries = ledger::readLedger(path);
        const auto stats = ledger::computeLedgerStats(path);
        return entries && stats && entries->size() == kEntries;
    });
    const double modify = medianMs(source, dir, [](const QString& path) {
        return ledger::modifyLedgerEntry(path, 1, QDateTime(QDate(2024, 1, 2), QTime(9, 0)), ledger::kBuy, 20,
                                         450, 9000) == ledger::Result::Done;
    });
    const double remove = medianMs(source, dir, [](const QString& path) {
        return ledger::deleteLedgerEntry(path, 1) == ledger::Result::Done;
    });
    // The whole window, list filled and statistics shown, over the same ledger.
    QDir(dir.path()).mkpath(QStringLiteral("DataBase"));
    if (!QFile::copy(source, dir.filePath(recordpasswords::kLedgerFile)))
        return false;
    appdir::set(dir.path());
    QtDialogs dialogs;
    Services services;
    services.dialogs = &dialogs;
    std::vector<double> windowTimes;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer opening;
        opening.start();
        LedgerWindow ledgerWindow(services);
        windowTimes.push_back(opening.nsecsElapsed() / 1e6);
    }
    std::sort(windowTimes.begin(), windowTimes.end());
    const double windowMs = windowTimes[windowTimes.size() / 2];
    const QByteArray size = QByteArray::number(kEntries / 1000) + ",000 entries";
    printFigure("ledger of " + size + ": window opened (list, statistics)", windowMs, "ms");
    printFigure("ledger of " + size + ": read with statistics", open, "ms");
    printFigure("ledger of " + size + ": modify entry 1 (every holding)", modify, "ms");
    printFigure("ledger of " + size + ": delete entry 1 (every holding)", remove, "ms");
    return true;
}

int main(int argc, char* argv[]) {
    // The window part runs offscreen unless a display is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return measure(10000) && measure(100000) ? 0 : 1;
}
