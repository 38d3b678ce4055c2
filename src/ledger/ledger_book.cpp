#include "ledger/ledger_book.h"

#include "quotes/number_text.h"
#include "records/record_file.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ledger {

namespace {

const QString timeField = QStringLiteral("操作时间");
const QString typeField = QStringLiteral("交易类型");
const QString gramsField = QStringLiteral("交易克数");
const QString priceField = QStringLiteral("交易价格");
const QString amountField = QStringLiteral("交易金额");
const QString heldField = QStringLiteral("拥有黄金");

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

// Makes every "拥有黄金" the running holding over the entries before it,
// writing only the holdings that differ.
void recomputeHoldings(RecordFile& file) {
    const QList<QList<QVariant>> records = file.readAll({typeField, gramsField, heldField});
    QList<std::optional<QVariant>> changes(records.size());
    int held = 0;
    for (qsizetype k = 0; k < records.size(); ++k) {
        const QList<QVariant>& record = records[k];
        held = heldAfter(held, record[0].toString(), record[1].toInt());
        if (record[2].toInt() != held)
            changes[k] = held;
    }
    file.writeColumn(heldField, changes);
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
    if (!file.open(path, QString()))
        return Result::OpenFailed;
    file.goLast();
    const int previous = file.count() > 0 ? file.read(heldField).toInt() : 0;
    const int grams = wholeGrams(gramsText);
    const int held = heldAfter(previous, type, grams);
    if (type != kBuy && held < 0)
        return Result::NotEnoughGold;
    file.appendBlank();
    file.write(timeField, time);
    file.write(typeField, type);
    file.write(gramsField, grams);
    file.write(priceField, price);
    file.write(amountField, amount);
    file.write(heldField, held);
    return Result::Done;
}

Result modifyLedgerEntry(const QString& path, int record, const QDateTime& time, const QString& type,
                         double grams, double price, double amount) {
    RecordFile file;
    if (!file.open(path, QString()))
        return Result::OpenFailed;
    file.goTo(record);
    // The integer field drops the fraction of the grams.
    file.modify({time, type, grams, price, amount});
    recomputeHoldings(file);
    return Result::Done;
}

Result deleteLedgerEntry(const QString& path, int record) {
    RecordFile file;
    if (!file.open(path, QString()))
        return Result::OpenFailed;
    file.goTo(record);
    file.markDeleted();
    file.purgeDeleted();
    recomputeHoldings(file);
    return Result::Done;
}

Result clearLedger(const QString& path) {
    RecordFile file;
    if (!file.open(path, QString()))
        return Result::OpenFailed;
    file.clear();
    return Result::Done;
}

std::optional<QList<Entry>> readLedger(const QString& path) {
    RecordFile file;
    if (!file.openForReading(path, QString()))
        return std::nullopt;
    const QList<QList<QVariant>> records =
        file.readAll({timeField, typeField, gramsField, priceField, amountField, heldField});
    QList<Entry> entries;
    entries.reserve(records.size());
    for (const QList<QVariant>& record : records) {
        entries.append({record[0].toDateTime(), record[1].toString(), record[2].toInt(), record[3].toDouble(),
                        record[4].toDouble(), record[5].toInt()});
    }
    return entries;
}

std::optional<LedgerStats> computeLedgerStats(const QString& path) {
    RecordFile file;
    if (!file.openForReading(path, QString()))
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
