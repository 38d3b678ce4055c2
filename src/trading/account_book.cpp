#include "account_book.h"

#include "core/app_dir.h"
#include "records/passwords.h"
#include "records/record_file.h"

namespace accountbook {

namespace {

const QString& kBankField = recordpasswords::propertyfield::bank;
const QString& kCapitalField = recordpasswords::propertyfield::capital;
const QString& kCashField = recordpasswords::propertyfield::cash;
const QString& kHeldField = recordpasswords::propertyfield::held;
const QString& kLockField = recordpasswords::propertyfield::lockPassword;

const QString& kTimeField = recordpasswords::tradefield::time;
const QString& kTypeField = recordpasswords::tradefield::type;
const QString& kPriceField = recordpasswords::tradefield::price;
const QString& kGramsField = recordpasswords::tradefield::grams;
const QString& kAmountField = recordpasswords::tradefield::amount;

// The trading routines put the password together at run time; the lock
// holds it as one string. Both are the same password.
bool openProperty(RecordFile& file, bool forTrading, bool readOnly = false) {
    const QString path = appPath(recordpasswords::kPropertyFile);
    const QString password =
        forTrading ? recordpasswords::propertyPasswordFromPieces() : recordpasswords::propertyPassword();
    const auto fields = recordpasswords::propertyFields();
    return readOnly ? file.openForReading(path, password, fields) : file.open(path, password, fields);
}

bool joinTrades(RecordFile& trades, RecordFile& property) {
    return trades.openJoined(property, appPath(recordpasswords::kTransactionFile), QString(),
                             recordpasswords::transactionFields());
}

Account accountOf(const RecordFile& property) {
    return {property.read(kBankField).toInt(), property.read(kCapitalField).toDouble(),
            property.read(kCashField).toDouble(), property.read(kHeldField).toInt()};
}

tradingrules::Account rulesAccount(const Account& account) {
    return {account.held, account.cash, static_cast<int>(account.capital)};
}

} // namespace

Reading readAccount() {
    RecordFile property;
    if (!openProperty(property, false, true))
        return {};
    if (property.count() < 1)
        return {Status::NoAccount, {}};
    property.goFirst();
    return {Status::Done, accountOf(property)};
}

TradeResult recordTrade(int bankCode, const tradingrules::Trade& trade, const QDateTime& time) {
    TradeResult result;
    RecordFile property;
    RecordFile trades;
    // Both files open before anything is written; they commit together.
    if (!openProperty(property, true) || property.count() < 1 || !joinTrades(trades, property))
        return result;
    property.goFirst();
    result.account = accountOf(property);
    if (tradingrules::bankFromCode(result.account.bankCode) != tradingrules::bankFromCode(bankCode)) {
        result.status = Status::BankChanged;
        return result;
    }
    // The trade applies to what the file holds, whatever a window showed.
    const tradingrules::Outcome outcome = tradingrules::apply(rulesAccount(result.account), trade);
    if (outcome.refusal != tradingrules::Refusal::None) {
        result.status = Status::Refused;
        result.refusal = outcome.refusal;
        return result;
    }
    const bool written = property.write(kHeldField, outcome.after.held) &&
                         property.write(kCashField, outcome.after.cash) && trades.appendBlank() &&
                         trades.write(kTimeField, time) && trades.write(kTypeField, trade.type) &&
                         trades.write(kPriceField, trade.price) && trades.write(kGramsField, trade.grams) &&
                         trades.write(kAmountField, trade.amount);
    if (!written)
        trades.cancel();
    trades.close();
    if (!property.close()) {
        result.account = {};
        return result;
    }
    result.status = Status::Done;
    result.account.held = outcome.after.held;
    result.account.cash = outcome.after.cash;
    result.profit = outcome.profit;
    return result;
}

std::optional<QList<TradeRow>> readTrades() {
    RecordFile file;
    if (!file.openForReading(appPath(recordpasswords::kTransactionFile), QString(),
                             recordpasswords::transactionFields()))
        return std::nullopt;
    const QList<QList<QVariant>> records =
        file.readAll({kTimeField, kTypeField, kPriceField, kGramsField, kAmountField});
    QList<TradeRow> rows;
    rows.reserve(records.size());
    for (const QList<QVariant>& r : records)
        rows.append({r[0].toDateTime(), r[1].toString(), r[2].toDouble(), r[3].toInt(), r[4].toDouble()});
    return rows;
}

Status clearTrades() {
    RecordFile file;
    if (!file.open(appPath(recordpasswords::kTransactionFile), QString(),
                   recordpasswords::transactionFields()))
        return Status::Failed;
    if (!file.clear())
        file.cancel();
    return file.close() ? Status::Done : Status::Failed;
}

Status startAfresh(int bankCode, int capital) {
    RecordFile property;
    if (!openProperty(property, true))
        return Status::Failed;
    // The trades join the account's transaction: a reset and its clearing
    // reach the files together.
    RecordFile trades;
    const bool tradesOpen = joinTrades(trades, property);
    property.goFirst();
    if (property.count() < 1) {
        // No account to reset: the trades stay as they are.
        return Status::NoAccount;
    }
    bool done = property.modify({bankCode, static_cast<double>(capital), static_cast<double>(capital), 0});
    if (tradesOpen)
        done = done && trades.clear();
    if (!done)
        property.cancel();
    trades.close();
    if (!property.close())
        return Status::Failed;
    return tradesOpen ? Status::Done : Status::TradesKept;
}

std::optional<QString> lockPassword() {
    RecordFile property;
    if (!openProperty(property, false, true) || property.count() < 1)
        return std::nullopt;
    property.goFirst();
    return property.read(kLockField).toString();
}

Status changeLockPassword(const QString& current, const QString& next) {
    RecordFile property;
    if (!openProperty(property, false) || property.count() < 1)
        return Status::Failed;
    property.goFirst();
    if (property.read(kLockField).toString() != current)
        return Status::Refused;
    if (!property.write(kLockField, next))
        property.cancel();
    return property.close() ? Status::Done : Status::Failed;
}

} // namespace accountbook
