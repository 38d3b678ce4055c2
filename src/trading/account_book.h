#pragma once

#include "trading_rules.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// The simulated account as the record files hold it: the property record
// (bank, starting capital, cash, gold held, lock password) and the trades.
// Every function opens the files, works inside one transaction and closes
// them, and reports what the files hold afterwards; a window shows that, never
// its own idea of the account.
namespace accountbook {

struct Account {
    int bankCode = 1;
    double capital = 0;
    double cash = 0;
    int held = 0;
};

struct TradeRow {
    QDateTime time;
    QString type;
    double price = 0;
    int grams = 0;
    double amount = 0;
};

enum class Status {
    Done,
    // The file did not open, was laid out otherwise, or a change or the commit
    // failed: nothing was changed. Callers show the record-file message.
    Failed,
    // The property file holds no record.
    NoAccount,
    // The trade is refused against the account on file (see `refusal`), or
    // the lock password given is not the stored one.
    Refused,
    // The account was started afresh at another bank since the window read
    // it: its prices are not the account's any more, so nothing is traded.
    BankChanged,
    // A new simulation reset the account but the trades file failed, so the
    // old trades are still there.
    TradesKept,
};

struct Reading {
    Status status = Status::Failed;
    Account account;
};
Reading readAccount();

struct TradeResult {
    Status status = Status::Failed;
    tradingrules::Refusal refusal = tradingrules::Refusal::None;
    // The account on file after the trade, or as it stands when refused.
    Account account;
    // Cash against the whole starting capital, after a sell.
    double profit = 0;
};
// Applies `trade` to the account on file and records it, together. `bankCode`
// is the bank whose prices the trade was made at.
TradeResult recordTrade(int bankCode, const tradingrules::Trade& trade, const QDateTime& time);

// Every simulated trade, oldest first; nullopt when the file fails.
std::optional<QList<TradeRow>> readTrades();
Status clearTrades();

// Starts the account afresh: bank, capital as both starting capital and cash,
// no gold, and no trades. The lock password stays.
Status startAfresh(int bankCode, int capital);

// The lock password; nullopt when the file fails or holds no record.
std::optional<QString> lockPassword();
// Refused when `current` is not the stored password.
Status changeLockPassword(const QString& current, const QString& next);

} // namespace accountbook
