#include "ledger/ledger_book.h"

#include "core/number_text.h"
#include "records/passwords.h"
#include "records/record_file.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ledger {

namespace {

const QString& timeField = recordpasswords::ledgerfield::time;
const QString& typeField = recordpasswords::ledgerfield::type;
const QString& gramsField = recordpasswords::ledgerfield::grams;
const QString& priceField = recordpasswords::ledgerfield::price;
const QString& amountField = recordpasswords::ledgerfield::amount;
const QString& heldField = recordpasswords::ledgerfield::held;

// The whole part of a sum of grams, kept within what an integer field holds.
int wholeSum(double value) {
    value = std::trunc(value);
    return static_cast<int>(
        std::clamp(value, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}

// The holding after an entry of `grams` of `type`, from `held` before it.
int heldAfter(int held, const QString& type, double grams) {
    return wholeSum(type == kBuy ? double(held) + grams : double(held) - grams);
}

// Neumaier's compensated sum: the rounding of each addition is kept aside and
// added back at the end, so long columns of amounts in fen add up exactly.
class MoneySum {
public:
    void add(double value) {
        const double sum = sum_ + value;
        if (std::fabs(sum_) >= std::fabs(value))
            lost_ += (sum_ - sum) + value;
        else
            lost_ += (value - sum) + sum_;
        sum_ = sum;
    }
    double value() const { return sum_ + lost_; }

private:
    double sum_ = 0;
    double lost_ = 0;
};

bool openLedger(RecordFile& file, const QString& path, bool readOnly = false) {
    return readOnly ? file.openForReading(path, QString(), recordpasswords::ledgerFields())
                    : file.open(path, QString(), recordpasswords::ledgerFields());
}

// The result of a change: Done only when everything reached the file.
Result closed(RecordFile& file, bool written) {
    if (!written)
        file.cancel();
    return file.close() ? Result::Done : Result::Failed;
}

// Makes every "拥有黄金" the running holding over the entries before it,
// writing only the holdings that differ.
bool recomputeHoldings(RecordFile& file) {
    const QList<QList<QVariant>> records = file.readAll({typeField, gramsField, heldField});
    QList<std::optional<QVariant>> changes(records.size());
    int held = 0;
    for (qsizetype k = 0; k < records.size(); ++k) {
        const QList<QVariant>& record = records[k];
        held = heldAfter(held, record[0].toString(), record[1].toInt());
        if (record[2].toInt() != held)
            changes[k] = held;
    }
    return file.writeColumn(heldField, changes);
}

Entry entryOf(const QList<QVariant>& r) {
    return {r[0].toDateTime(), r[1].toString(), r[2].toInt(), r[3].toDouble(), r[4].toDouble(), r[5].toInt()};
}

Entry currentEntry(const RecordFile& file) {
    QList<QVariant> values;
    for (const QString& field : {timeField, typeField, gramsField, priceField, amountField, heldField})
        values << file.read(field);
    return entryOf(values);
}

// Makes `record` current when the file has it and, with `shown`, it is still
// the entry a window showed.
bool holdsEntry(RecordFile& file, int record, const std::optional<Entry>& shown) {
    if (record < 1 || record > file.count())
        return false;
    file.goTo(record);
    return !shown || sameEntry(currentEntry(file), *shown);
}

} // namespace

int wholeGrams(const QString& gramsText) {
    return numtext::wholeNumber(gramsText);
}

double amountFor(const QString& priceText, const QString& gramsText) {
    return numtext::leadingNumber(priceText) * wholeGrams(gramsText);
}

Result addLedgerEntry(const QString& path, const QDateTime& time, const QString& type,
                      const QString& gramsText, double price, double amount) {
    RecordFile file;
    if (!openLedger(file, path))
        return Result::Failed;
    file.goLast();
    const int previous = file.count() > 0 ? file.read(heldField).toInt() : 0;
    const int grams = wholeGrams(gramsText);
    const int held = heldAfter(previous, type, grams);
    if (type != kBuy && held < 0)
        return Result::NotEnoughGold;
    // A failed append stops here: the writes must not land on another entry.
    const bool written = file.appendBlank() && file.write(timeField, time) && file.write(typeField, type) &&
                         file.write(gramsField, grams) && file.write(priceField, price) &&
                         file.write(amountField, amount) && file.write(heldField, held);
    return closed(file, written);
}

Result modifyLedgerEntry(const QString& path, int record, const QDateTime& time, const QString& type,
                         double grams, double price, double amount, const std::optional<Entry>& shown) {
    RecordFile file;
    if (!openLedger(file, path))
        return Result::Failed;
    if (!holdsEntry(file, record, shown))
        return Result::NoSuchEntry;
    // The integer field drops the fraction of the grams.
    const bool written = file.modify({time, type, grams, price, amount}) && recomputeHoldings(file);
    return closed(file, written);
}

Result deleteLedgerEntry(const QString& path, int record, const std::optional<Entry>& shown) {
    RecordFile file;
    if (!openLedger(file, path))
        return Result::Failed;
    if (!holdsEntry(file, record, shown))
        return Result::NoSuchEntry;
    file.markDeleted();
    const bool written = file.purgeDeleted() && recomputeHoldings(file);
    return closed(file, written);
}

Result clearLedger(const QString& path) {
    RecordFile file;
    if (!openLedger(file, path))
        return Result::Failed;
    return closed(file, file.clear());
}

std::optional<QList<Entry>> readLedger(const QString& path) {
    RecordFile file;
    if (!openLedger(file, path, true))
        return std::nullopt;
    const QList<QList<QVariant>> records =
        file.readAll({timeField, typeField, gramsField, priceField, amountField, heldField});
    QList<Entry> entries;
    entries.reserve(records.size());
    for (const QList<QVariant>& record : records)
        entries.append(entryOf(record));
    return entries;
}

EntryReading readLedgerEntry(const QString& path, int record) {
    RecordFile file;
    if (!openLedger(file, path, true))
        return {};
    if (record < 1 || record > file.count())
        return {Result::NoSuchEntry, {}};
    file.goTo(record);
    return {Result::Done, currentEntry(file)};
}

bool sameEntry(const Entry& a, const Entry& b) {
    return a.time == b.time && a.type == b.type && a.grams == b.grams && a.price == b.price &&
           a.amount == b.amount;
}

std::optional<LedgerStats> computeLedgerStats(const QString& path) {
    RecordFile file;
    if (!openLedger(file, path, true))
        return std::nullopt;
    // The statistics need no times, whose reading is the slow part.
    const QList<QList<QVariant>> records = file.readAll({typeField, gramsField, amountField});
    QList<Entry> entries;
    entries.reserve(records.size());
    for (const QList<QVariant>& record : records) {
        Entry entry;
        entry.type = record[0].toString();
        entry.grams = record[1].toInt();
        entry.amount = record[2].toDouble();
        entries.append(entry);
    }
    return statsOf(entries);
}

LedgerStats statsOf(const QList<Entry>& entries) {
    LedgerStats stats;
    stats.tradeCount = int(entries.size());
    int buyGrams = 0;
    int sellGrams = 0;
    MoneySum buyTotal;
    MoneySum sellTotal;
    for (const Entry& entry : entries) {
        if (entry.type == kBuy) {
            ++stats.buyCount;
            buyGrams = wholeSum(double(buyGrams) + entry.grams);
            buyTotal.add(entry.amount);
        } else if (entry.type == kSell) {
            ++stats.sellCount;
            sellGrams = wholeSum(double(sellGrams) + entry.grams);
            sellTotal.add(entry.amount);
        }
    }
    stats.buyTotal = buyTotal.value();
    stats.sellTotal = sellTotal.value();
    stats.goldHeld = wholeSum(double(buyGrams) - sellGrams);
    stats.cashResult = numtext::roundToCarriedDigits(
        stats.sellTotal - stats.buyTotal, std::max(std::fabs(stats.sellTotal), std::fabs(stats.buyTotal)));
    return stats;
}

double valueAt(const LedgerStats& stats, double price) {
    const double gold = price * stats.goldHeld;
    const double value = gold + stats.sellTotal - stats.buyTotal;
    return numtext::roundToCarriedDigits(
        value, std::max({std::fabs(gold), std::fabs(stats.sellTotal), std::fabs(stats.buyTotal)}));
}

} // namespace ledger
