#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// The ledger of the user's real trades: one record per entry, in entry order,
// each keeping the gold held after it. These functions open the ledger file,
// do their work and close it; they show nothing, the windows do.
namespace ledger {

// The types the windows offer. Only a buy adds to the holding; any other type
// takes from it.
inline const QString kBuy = QStringLiteral("买入");
inline const QString kSell = QStringLiteral("卖出");

struct Entry {
    QDateTime time;
    QString type;
    int grams = 0;
    double price = 0;
    double amount = 0;
    int held = 0; // grams held after this entry
};

struct LedgerStats {
    int tradeCount = 0, buyCount = 0, sellCount = 0;
    // Summed in double precision with compensation, so they stay exact to
    // the fen however many entries or millions of yuan they add up.
    double buyTotal = 0, sellTotal = 0;
    int goldHeld = 0; // buy grams minus sell grams
    // sellTotal − buyTotal, to the digits the totals carry: 24520.8 − 23710.4
    // gives 810.4, not 810.399999999998.
    double cashResult = 0;
};

// NotEnoughGold: "黄金不足！". Failed: the file did not open, is laid out
// otherwise, or a change or its commit failed; nothing was changed, and the
// windows show "数据库打开失败，请重新运行软件！". NoSuchEntry: the entry asked
// for is no longer in the file (another window or program removed it);
// nothing was changed.
enum class Result { Done, NotEnoughGold, Failed, NoSuchEntry };
// What the windows say for NoSuchEntry before they reload the list.
inline const QString kNoSuchEntryText = QStringLiteral("该交易记录已不存在，列表已重新载入！");

// Appends an entry of whole grams, holding the last entry's holding plus or
// minus them. A sell that would take the holding below 0 is refused and
// nothing is written; the check is against the latest entry, whatever the
// entered time.
Result addLedgerEntry(const QString& path, const QDateTime& time, const QString& type,
                      const QString& gramsText, double price, double amount);
// Rewrites time, type, grams (fraction dropped), price and amount of entry
// `record`, then recomputes every holding. Holdings below 0 are kept as they
// come out. With `shown`, the entry must still be the one a window showed as
// `record` (see sameEntry), or nothing is changed and the result is
// NoSuchEntry: another program may have changed the file since.
Result modifyLedgerEntry(const QString& path, int record, const QDateTime& time, const QString& type,
                         double grams, double price, double amount, const std::optional<Entry>& shown = {});
// Removes entry `record`; the later entries move up and every holding is
// recomputed. `shown` as for modifyLedgerEntry.
Result deleteLedgerEntry(const QString& path, int record, const std::optional<Entry>& shown = {});
// Removes every entry.
Result clearLedger(const QString& path);

// The same trade: time, type, grams, price and amount agree (the holding
// follows from the entries before it).
bool sameEntry(const Entry& a, const Entry& b);

// Every entry in entry order; nullopt when the file does not open.
std::optional<QList<Entry>> readLedger(const QString& path);
// Entry `record` (1-based): Done with the entry, NoSuchEntry, or Failed.
struct EntryReading {
    Result result = Result::Failed;
    Entry entry;
};
EntryReading readLedgerEntry(const QString& path, int record);
// The statistics of the file's entries; nullopt when it does not open.
std::optional<LedgerStats> computeLedgerStats(const QString& path);
// The same for entries already read, so a window can fill its list and its
// statistics from one read. Only "买入" and "卖出" count as buys and sells;
// an entry of any other type counts in tradeCount only.
LedgerStats statsOf(const QList<Entry>& entries);

// What the trades come to if the gold held were sold at `price`: price ×
// goldHeld + sellTotal − buyTotal, to the digits its terms carry, so that
// breaking even gives exactly 0.
double valueAt(const LedgerStats& stats, double price);

// The whole grams of a grams text: its leading number, fraction dropped.
int wholeGrams(const QString& gramsText);
// The amount of a trade: price × whole grams, since only whole grams are
// stored ("200", "12.9" → 2400).
double amountFor(const QString& priceText, const QString& gramsText);

} // namespace ledger
