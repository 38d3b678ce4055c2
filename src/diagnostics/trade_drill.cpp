#include "trade_drill.h"

#include "core/app_dir.h"
#include "ledger/ledger_book.h"
#include "records/open_failure.h"
#include "records/passwords.h"
#include "trading/account_book.h"
#include "trading/trading_rules.h"

#include <QDateTime>
#include <QTimerEvent>
#include <cstdio>

namespace {

enum class Done { Yes, Refused, Failed };

Done ofTrade(accountbook::Status status) {
    if (status == accountbook::Status::Done)
        return Done::Yes;
    return status == accountbook::Status::Failed ? Done::Failed : Done::Refused;
}

Done ofLedger(ledger::Result result) {
    if (result == ledger::Result::Done)
        return Done::Yes;
    return result == ledger::Result::Failed ? Done::Failed : Done::Refused;
}

} // namespace

TradeDrill::TradeDrill(quint32 seed, Dialogs& dialogs, QObject* parent)
    : QObject(parent), random_(seed), dialogs_(dialogs) {
    timer_ = startTimer(5);
}

void TradeDrill::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timer_)
        step();
}

void TradeDrill::step() {
    const QDateTime now = QDateTime::currentDateTime();
    const QString ledgerPath = appPath(recordpasswords::kLedgerFile);
    const QString price = QString::number(200 + random_.bounded(80000) / 100.0, 'f', 2);
    const QString grams = QString::number(1 + random_.bounded(20));
    Done done = Done::Failed;
    const int action = random_.bounded(100);
    if (action < 50) {
        const accountbook::Reading reading = accountbook::readAccount();
        if (reading.status != accountbook::Status::Done) {
            done = ofTrade(reading.status);
        } else if (action < 48) {
            const tradingrules::Account account{reading.account.held, reading.account.cash,
                                                static_cast<int>(reading.account.capital)};
            const tradingrules::Outcome outcome = action < 26 ? tradingrules::buy(account, price, grams)
                                                              : tradingrules::sell(account, price, grams);
            done =
                outcome.refusal != tradingrules::Refusal::None
                    ? Done::Refused
                    : ofTrade(accountbook::recordTrade(reading.account.bankCode, outcome.trade, now).status);
        } else {
            done = ofTrade(accountbook::startAfresh(1 + random_.bounded(3), 100000));
        }
    } else {
        const auto entries = ledger::readLedger(ledgerPath);
        const int count = entries ? int(entries->size()) : 0;
        const QString type = random_.bounded(3) == 0 ? ledger::kSell : ledger::kBuy;
        if (!entries) {
            done = Done::Failed;
        } else if (action < 80 || count == 0) {
            done = ofLedger(ledger::addLedgerEntry(ledgerPath, now, type, grams, price.toDouble(),
                                                   ledger::amountFor(price, grams)));
        } else if (action < 92) {
            const int record = 1 + random_.bounded(count);
            done = ofLedger(ledger::modifyLedgerEntry(ledgerPath, record, now, type, grams.toDouble(),
                                                      price.toDouble(), ledger::amountFor(price, grams),
                                                      entries->at(record - 1)));
        } else {
            const int record = 1 + random_.bounded(count);
            done = ofLedger(ledger::deleteLedgerEntry(ledgerPath, record, entries->at(record - 1)));
        }
    }
    ++steps_;
    std::printf("aurivex-drill %d %s\n", steps_,
                done == Done::Yes       ? "done"
                : done == Done::Refused ? "refused"
                                        : "failed");
    std::fflush(stdout);
    if (done == Done::Failed) {
        killTimer(timer_);
        showRecordOpenFailure(dialogs_, nullptr);
    }
}
