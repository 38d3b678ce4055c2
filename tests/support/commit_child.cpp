// A child process that makes one real change to a program directory's record
// files through the program's own code, so that a test can kill it inside the
// commit (see kill_at_unlink.cpp) and then look at what the next run finds.
//
//   aurivex-commit-child DIR trade|password|ledger
#include "core/app_dir.h"
#include "ledger/ledger_book.h"
#include "records/passwords.h"
#include "trading/account_book.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    appdir::set(args[1]);
    const QString what = args[2];
    const QDateTime now(QDate(2026, 12, 9), QTime(10, 0, 0));
    if (what == QLatin1String("trade")) {
        const auto result = accountbook::recordTrade(1, {QStringLiteral("买入"), 200, 1, 200}, now);
        return result.status == accountbook::Status::Done ? 0 : 3;
    }
    if (what == QLatin1String("password"))
        return accountbook::changeLockPassword(QStringLiteral("526"), QStringLiteral("999")) ==
                       accountbook::Status::Done
                   ? 0
                   : 3;
    if (what == QLatin1String("ledger")) {
        const auto result = ledger::addLedgerEntry(appPath(recordpasswords::kLedgerFile), now,
                                                   QStringLiteral("买入"), QStringLiteral("7"), 200, 1400);
        return result == ledger::Result::Done ? 0 : 3;
    }
    return 2;
}
