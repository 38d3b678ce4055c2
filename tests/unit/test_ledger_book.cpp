// Ledger rules on real record files: the running holding through add, modify,
// delete and clear, the refused sell, the statistics and their exact totals,
// whole grams in amounts, and a missing file.
#include "core/number_text.h"
#include "ledger/holding_valuation.h"
#include "ledger/ledger_book.h"
#include "records/passwords.h"
#include "records/record_file.h"
#include "support/crash_points.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using ledger::Result;

namespace {

const QString buy = ledger::kBuy;
const QString sell = ledger::kSell;
const QString other = QStringLiteral("转出");

// One change made to the ledger, with the result it must give.
struct Op {
    enum Kind { Add, Modify, Delete, Clear } kind;
    QString type;
    double grams = 0;
    int record = 0;
    Result result = Result::Done;
};

Op add(const QString& type, double grams, Result result = Result::Done) {
    return {Op::Add, type, grams, 0, result};
}
Op modify(int record, const QString& type, double grams, Result result = Result::Done) {
    return {Op::Modify, type, grams, record, result};
}
Op deleteRecord(int record, Result result = Result::Done) {
    return {Op::Delete, {}, 0, record, result};
}
Op clearAll() {
    return {Op::Clear, {}, 0, 0};
}

const QDateTime moment(QDate(2024, 5, 6), QTime(10, 11, 12));

QString makeLedger(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("transactionrecord.edb"));
    return RecordFile::create(path, QString(), recordpasswords::ledgerFields()) ? path : QString();
}

Result apply(const QString& path, const Op& op) {
    const QString grams = QString::number(op.grams);
    switch (op.kind) {
    case Op::Add:
        return ledger::addLedgerEntry(path, moment, op.type, grams, 200, ledger::amountFor(u"200"_qs, grams));
    case Op::Modify:
        return ledger::modifyLedgerEntry(path, op.record, moment, op.type, op.grams, 200, 200 * op.grams);
    case Op::Delete:
        return ledger::deleteLedgerEntry(path, op.record);
    case Op::Clear:
        return ledger::clearLedger(path);
    }
    return Result::Failed;
}

QList<int> column(const QList<ledger::Entry>& entries, int ledger::Entry::*member) {
    QList<int> values;
    for (const ledger::Entry& entry : entries)
        values << entry.*member;
    return values;
}

QStringList listing(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

Q_DECLARE_METATYPE(Op)

class LedgerBookTest : public QObject {
    Q_OBJECT
private slots:
    void holdings_data();
    void holdings();
    void addStoresTheEntry();
    void stats_data();
    void stats();
    void totalsStayExactToTheFen();
    void valueAt_data();
    void valueAt();
    void holdingValuation_data();
    void holdingValuation();
    void amountFor_data();
    void amountFor();
    void missingFileChangesNothing_data();
    void missingFileChangesNothing();
    void changedFileIsNotActedOn();
    void fullDiskChangesNothing();
};

void LedgerBookTest::holdings_data() {
    QTest::addColumn<QList<Op>>("ops");
    QTest::addColumn<QList<int>>("grams");
    QTest::addColumn<QList<int>>("held");
    QTest::newRow("empty file, buy 100") << QList<Op>{add(buy, 100)} << QList<int>{100} << QList<int>{100};
    QTest::newRow("sell beyond the holding is refused")
        << QList<Op>{add(buy, 100), add(sell, 150, Result::NotEnoughGold)} << QList<int>{100}
        << QList<int>{100};
    QTest::newRow("sell of everything held")
        << QList<Op>{add(buy, 100), add(sell, 100)} << QList<int>{100, 100} << QList<int>{100, 0};
    QTest::newRow("other type is refused like a sell")
        << QList<Op>{add(buy, 10), add(other, 11, Result::NotEnoughGold)} << QList<int>{10} << QList<int>{10};
    QTest::newRow("other type takes from the holding")
        << QList<Op>{add(buy, 100), add(other, 30)} << QList<int>{100, 30} << QList<int>{100, 70};
    QTest::newRow("grams text 12.9 stored as 12")
        << QList<Op>{add(buy, 12.9), add(sell, 0.9)} << QList<int>{12, 0} << QList<int>{12, 12};
    const QList<Op> three{add(buy, 100), add(sell, 30), add(buy, 10)};
    QTest::newRow("modify record 1 to 50")
        << three + QList<Op>{modify(1, buy, 50)} << QList<int>{50, 30, 10} << QList<int>{50, 20, 30};
    QTest::newRow("modify drops the fraction")
        << three + QList<Op>{modify(3, buy, 10.99)} << QList<int>{100, 30, 10} << QList<int>{100, 70, 80};
    QTest::newRow("delete record 2") << three + QList<Op>{deleteRecord(2)} << QList<int>{100, 10}
                                     << QList<int>{100, 110};
    const QList<Op> negative{add(buy, 100), add(sell, 30), modify(1, buy, 10)};
    QTest::newRow("modify drives a later holding negative")
        << negative << QList<int>{10, 30} << QList<int>{10, -20};
    QTest::newRow("add checks against the negative holding")
        << negative + QList<Op>{add(sell, 1, Result::NotEnoughGold), add(buy, 5)} << QList<int>{10, 30, 5}
        << QList<int>{10, -20, -15};
    QTest::newRow("entries that are not there change nothing")
        << three + QList<Op>{modify(4, buy, 1, Result::NoSuchEntry), deleteRecord(0, Result::NoSuchEntry),
                             deleteRecord(4, Result::NoSuchEntry)}
        << QList<int>{100, 30, 10} << QList<int>{100, 70, 80};
    QTest::newRow("clear, then start from nothing")
        << three + QList<Op>{clearAll(), add(sell, 1, Result::NotEnoughGold), add(buy, 5)} << QList<int>{5}
        << QList<int>{5};
}

void LedgerBookTest::holdings() {
    QFETCH(QList<Op>, ops);
    QFETCH(QList<int>, grams);
    QFETCH(QList<int>, held);
    QTemporaryDir dir;
    const QString path = makeLedger(dir);
    for (qsizetype i = 0; i < ops.size(); ++i)
        QVERIFY2(apply(path, ops[i]) == ops[i].result, qPrintable(u"change %1"_qs.arg(i + 1)));
    const auto entries = ledger::readLedger(path);
    QVERIFY(entries);
    QCOMPARE(column(*entries, &ledger::Entry::grams), grams);
    QCOMPARE(column(*entries, &ledger::Entry::held), held);
}

void LedgerBookTest::addStoresTheEntry() {
    QTemporaryDir dir;
    const QString path = makeLedger(dir);
    const QDateTime early(QDate(2019, 1, 1), QTime(8, 0, 59));
    QCOMPARE(ledger::addLedgerEntry(path, moment.addMSecs(750), buy, u"12.9"_qs, 200,
                                    ledger::amountFor(u"200"_qs, u"12.9"_qs)),
             Result::Done);
    QCOMPARE(ledger::addLedgerEntry(path, early, sell, u"2"_qs, 210.5, 421), Result::Done);
    const auto entries = ledger::readLedger(path);
    QVERIFY(entries);
    QCOMPARE(entries->size(), 2);
    const ledger::Entry& first = entries->at(0);
    QCOMPARE(first.time, moment);
    QCOMPARE(first.type, buy);
    QCOMPARE(first.grams, 12);
    QCOMPARE(first.price, 200.0);
    // The amount the window computes is the stored price times the stored grams.
    QCOMPARE(first.amount, first.price * first.grams);
    QCOMPARE(first.held, 12);
    // Entry order, not trade time.
    const ledger::Entry& second = entries->at(1);
    QCOMPARE(second.time, early);
    QCOMPARE(second.type, sell);
    QCOMPARE(second.price, 210.5);
    QCOMPARE(second.amount, 421.0);
    QCOMPARE(second.held, 10);
}

void LedgerBookTest::stats_data() {
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<QList<int>>("grams");
    QTest::addColumn<QList<double>>("amounts");
    QTest::addColumn<QList<int>>("counts"); // trades, buys, sells, gold held
    QTest::addColumn<QString>("buyTotal");
    QTest::addColumn<QString>("sellTotal");
    QTest::addColumn<QString>("cashResult");
    QTest::newRow("empty") << QStringList{} << QList<int>{} << QList<double>{} << QList<int>{0, 0, 0, 0}
                           << u"0"_qs << u"0"_qs << u"0"_qs;
    QTest::newRow("no sell") << QStringList{buy, buy} << QList<int>{100, 5} << QList<double>{21500, 1075.5}
                             << QList<int>{2, 2, 0, 105} << u"22575.5"_qs << u"0"_qs << u"-22575.5"_qs;
    QTest::newRow("buys and sells") << QStringList{buy, sell, buy, sell} << QList<int>{100, 30, 10, 80}
                                    << QList<double>{21500, 6600, 2210.4, 17920.8} << QList<int>{4, 2, 2, 0}
                                    << u"23710.4"_qs << u"24520.8"_qs << u"810.4"_qs;
    // Taken from the holding, but neither a buy nor a sell in the statistics.
    QTest::newRow("other type counts as a trade only")
        << QStringList{buy, other, sell} << QList<int>{100, 40, 10} << QList<double>{20000, 8000, 2000}
        << QList<int>{3, 1, 1, 90} << u"20000"_qs << u"2000"_qs << u"-18000"_qs;
    QTest::newRow("millions keep their fen")
        << QStringList{buy, buy, buy, sell} << QList<int>{2700, 5100, 1, 7000}
        << QList<double>{1234567.89, 2345678.91, 0.07, 3000000.01} << QList<int>{4, 3, 1, 801}
        << u"3580246.87"_qs << u"3000000.01"_qs << u"-580246.86"_qs;
}

void LedgerBookTest::stats() {
    QFETCH(QStringList, types);
    QFETCH(QList<int>, grams);
    QFETCH(QList<double>, amounts);
    QFETCH(QList<int>, counts);
    QFETCH(QString, buyTotal);
    QFETCH(QString, sellTotal);
    QFETCH(QString, cashResult);
    QTemporaryDir dir;
    const QString path = makeLedger(dir);
    for (qsizetype i = 0; i < types.size(); ++i) {
        QCOMPARE(ledger::addLedgerEntry(path, moment, types[i], QString::number(grams[i]), 1, amounts[i]),
                 Result::Done);
    }
    const auto stats = ledger::computeLedgerStats(path);
    QVERIFY(stats);
    QCOMPARE((QList<int>{stats->tradeCount, stats->buyCount, stats->sellCount, stats->goldHeld}), counts);
    QCOMPARE(numtext::valueText(stats->buyTotal), buyTotal);
    QCOMPARE(numtext::valueText(stats->sellTotal), sellTotal);
    QCOMPARE(numtext::valueText(stats->cashResult), cashResult);
    // The window's list and statistics from one read agree with the file's.
    const auto entries = ledger::readLedger(path);
    QVERIFY(entries);
    const ledger::LedgerStats fromList = ledger::statsOf(*entries);
    QCOMPARE(fromList.buyTotal, stats->buyTotal);
    QCOMPARE(fromList.goldHeld, stats->goldHeld);
}

void LedgerBookTest::totalsStayExactToTheFen() {
    const int count = 100000;
    QList<ledger::Entry> entries(count);
    for (ledger::Entry& entry : entries) {
        entry.type = buy;
        entry.amount = 123.45;
    }
    const ledger::LedgerStats stats = ledger::statsOf(entries);
    QCOMPARE(stats.buyCount, count);
    QCOMPARE(numtext::valueText(stats.buyTotal), u"12345000"_qs);
    QCOMPARE(stats.cashResult, -12345000.0);

    // What single-precision totals would have shown: off by thousands of yuan.
    float single = 0;
    for (const ledger::Entry& entry : entries)
        single = float(single + entry.amount);
    QVERIFY(std::abs(double(single) - 12345000.0) > 1000);
    // And in the millions a single-precision total cannot even hold the fen.
    QCOMPARE(numtext::valueText(float(1234567.89)), u"1234567.875"_qs);
}

void LedgerBookTest::valueAt_data() {
    QTest::addColumn<QStringList>("trades"); // type, price text, grams text
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("value");
    const QStringList bought{buy, u"215"_qs, u"100"_qs};
    QTest::newRow("gain") << bought << u"220"_qs << u"500"_qs;
    QTest::newRow("loss") << bought << u"210"_qs << u"-500"_qs;
    QTest::newRow("even") << bought << u"215"_qs << u"0"_qs;
    QTest::newRow("even after two buys, not a rounding remainder")
        << QStringList{buy, u"256.31"_qs, u"10"_qs, buy, u"258.97"_qs, u"10"_qs} << u"257.64"_qs << u"0"_qs;
    QTest::newRow("all sold: the cash result")
        << QStringList{buy,  u"215"_qs, u"100"_qs, buy,  u"221.04"_qs, u"10"_qs,
                       sell, u"220"_qs, u"30"_qs,  sell, u"224.01"_qs, u"80"_qs}
        << u"999"_qs << u"810.4"_qs;
}

// Type, price text, grams text per trade.
QList<ledger::Entry> entriesOf(const QStringList& trades) {
    QList<ledger::Entry> entries;
    for (qsizetype i = 0; i + 2 < trades.size(); i += 3) {
        ledger::Entry entry;
        entry.type = trades[i];
        entry.grams = ledger::wholeGrams(trades[i + 2]);
        entry.amount = ledger::amountFor(trades[i + 1], trades[i + 2]);
        entries << entry;
    }
    return entries;
}

void LedgerBookTest::valueAt() {
    QFETCH(QStringList, trades);
    QFETCH(QString, price);
    QFETCH(QString, value);
    const QList<ledger::Entry> entries = entriesOf(trades);
    const ledger::LedgerStats stats = ledger::statsOf(entries);
    const double worth = ledger::valueAt(stats, numtext::leadingNumber(price));
    QCOMPARE(numtext::valueText(worth), value);
    if (stats.goldHeld == 0)
        QCOMPARE(worth, stats.cashResult);
}

void LedgerBookTest::holdingValuation_data() {
    QTest::addColumn<QStringList>("trades"); // type, price text, grams text
    QTest::addColumn<double>("buyPrice");
    QTest::addColumn<int>("grams");
    QTest::addColumn<double>("averageCost");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("floating");
    // By hand: 100 g for 21500 and 50 g for 11000 cost 32500 for 150 g; selling 30 g takes a fifth
    // of that cost away: 120 g for 26000, 216.67 a gram; at 225 they are worth 27000, 1000 more.
    const QStringList twoBuysOneSale{buy,      u"215"_qs, u"100"_qs, buy,     u"220"_qs,
                                     u"50"_qs, sell,      u"230"_qs, u"30"_qs};
    QTest::newRow("gain") << twoBuysOneSale << 225.0 << 120 << 26000.0 / 120 << 27000.0 << 1000.0;
    QTest::newRow("loss") << twoBuysOneSale << 210.0 << 120 << 26000.0 / 120 << 25200.0 << -800.0;
    QTest::newRow("even, exactly") << QStringList{buy, u"256.31"_qs, u"10"_qs, buy, u"258.97"_qs, u"10"_qs}
                                   << 257.64 << 20 << 257.64 << 5152.8 << 0.0;
    QTest::newRow("all sold, then a fresh buy")
        << QStringList{buy, u"215"_qs, u"100"_qs, sell, u"220"_qs, u"100"_qs, buy, u"230"_qs, u"10"_qs}
        << 231.0 << 10 << 230.0 << 2310.0 << 10.0;
    QTest::newRow("nothing held") << QStringList{} << 231.0 << 0 << 0.0 << 0.0 << 0.0;
}

void LedgerBookTest::holdingValuation() {
    QFETCH(QStringList, trades);
    QFETCH(double, buyPrice);
    QFETCH(int, grams);
    QFETCH(double, averageCost);
    QFETCH(double, value);
    QFETCH(double, floating);
    const ledger::Holding holding = ledger::holdingOf(entriesOf(trades));
    QCOMPARE(holding.grams, grams);
    QCOMPARE(holding.averageCost(), averageCost);
    const ledger::Valuation v = ledger::valueHolding(holding, buyPrice);
    QCOMPARE(v.value, value);
    QCOMPARE(v.floating, floating);
}

void LedgerBookTest::amountFor_data() {
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("grams");
    QTest::addColumn<double>("amount");
    QTest::newRow("whole grams") << u"210.5"_qs << u"10"_qs << 2105.0;
    QTest::newRow("fraction of grams dropped") << u"200"_qs << u"12.9"_qs << 2400.0;
    QTest::newRow("negative grams") << u"200"_qs << u"-3.7"_qs << -600.0;
    QTest::newRow("empty and not numbers") << QString() << u"abc"_qs << 0.0;
}

void LedgerBookTest::amountFor() {
    QFETCH(QString, price);
    QFETCH(QString, grams);
    QFETCH(double, amount);
    QCOMPARE(ledger::amountFor(price, grams), amount);
}

void LedgerBookTest::missingFileChangesNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("missing file") << u"transactionrecord.edb"_qs;
    QTest::newRow("missing folder") << u"DataBase/transactionrecord.edb"_qs;
}

void LedgerBookTest::missingFileChangesNothing() {
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QCOMPARE(ledger::addLedgerEntry(path, moment, buy, u"1"_qs, 1, 1), Result::Failed);
    QCOMPARE(ledger::modifyLedgerEntry(path, 1, moment, buy, 1, 1, 1), Result::Failed);
    QCOMPARE(ledger::deleteLedgerEntry(path, 1), Result::Failed);
    QCOMPARE(ledger::clearLedger(path), Result::Failed);
    QVERIFY(!ledger::readLedger(path));
    QVERIFY(!ledger::computeLedgerStats(path));
    QCOMPARE(listing(dir.path()), QStringList());
}

void LedgerBookTest::changedFileIsNotActedOn() {
    QTemporaryDir dir;
    const QString path = makeLedger(dir);
    for (int grams : {100, 20, 3})
        QCOMPARE(apply(path, add(buy, grams)), Result::Done);
    const QList<ledger::Entry> shown = *ledger::readLedger(path);
    // Another window removes the first entry: the list's record 2 is now
    // the file's record 1, and record 2 is another trade.
    QCOMPARE(ledger::deleteLedgerEntry(path, 1, shown[0]), Result::Done);
    const QList<ledger::Entry> after = *ledger::readLedger(path);
    QCOMPARE(ledger::deleteLedgerEntry(path, 2, shown[1]), Result::NoSuchEntry);
    QCOMPARE(ledger::modifyLedgerEntry(path, 2, moment, sell, 1, 1, 1, shown[1]), Result::NoSuchEntry);
    QCOMPARE(ledger::readLedgerEntry(path, 3).result, Result::NoSuchEntry);
    QCOMPARE(column(*ledger::readLedger(path), &ledger::Entry::grams), column(after, &ledger::Entry::grams));
    // The entry the list shows where the file has it is acted on.
    QCOMPARE(ledger::deleteLedgerEntry(path, 1, after[0]), Result::Done);
    QCOMPARE(column(*ledger::readLedger(path), &ledger::Entry::grams), QList<int>{3});
}

void LedgerBookTest::fullDiskChangesNothing() {
    QTemporaryDir dir;
    const QString path = makeLedger(dir);
    QCOMPARE(apply(path, add(buy, 100)), Result::Done);
    QCOMPARE(apply(path, add(sell, 30)), Result::Done);
    const QList<ledger::Entry> before = *ledger::readLedger(path);
    {
        const crashpoints::FileSizeLimit full(0);
        for (const Op& op : {add(buy, 5), modify(1, buy, 50), deleteRecord(1), clearAll()})
            QCOMPARE(apply(path, op), Result::Failed);
    }
    const QList<ledger::Entry> after = *ledger::readLedger(path);
    QCOMPARE(after.size(), before.size());
    for (qsizetype i = 0; i < after.size(); ++i)
        QVERIFY(ledger::sameEntry(after[i], before[i]) && after[i].held == before[i].held);
}

QTEST_GUILESS_MAIN(LedgerBookTest)
#include "test_ledger_book.moc"
