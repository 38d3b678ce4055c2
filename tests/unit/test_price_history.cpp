// The price history: which shown prices become changes, the packed forms,
// the bars and their roll-up, and the store on disk, also after a kill.
#include "history/bar_rules.h"
#include "history/change_filter.h"
#include "history/history_codec.h"
#include "history/history_store.h"
#include "history/price_history.h"
#include "platform/clock.h"
#include "records/record_file.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <sqlcipher/sqlite3.h>

using namespace Qt::StringLiterals;
using namespace history;

Q_DECLARE_METATYPE(QList<history::Change>)
Q_DECLARE_METATYPE(QList<history::Bar>)

namespace {

const QString childFlag = u"--append-until-killed"_s;
// A Wednesday, a trading day, on a Beijing clock whatever the machine's zone.
const QDateTime kWednesday(QDate(2026, 12, 16), QTime(10, 0), Qt::OffsetFromUTC, 8 * 3600);

qint64 at(int minute, int second = 0) {
    return kWednesday.toMSecsSinceEpoch() + minute * kMinuteMs + second * 1000;
}

Bar bar(qint64 ms, Fen o, Fen h, Fen l, Fen c) {
    return {ms, o, h, l, c};
}

qint64 countChanges(HistoryStore& store, Series series) {
    return store.read(series, 0, std::numeric_limits<qint64>::max()).changes.size();
}

class FixedClock : public Clock {
public:
    QDateTime now() const override { return time; }
    QDateTime time = kWednesday;
};

// The child: appends batches of changes and reports each committed total.
int appendUntilKilled(const QString& path) {
    HistoryStore store;
    if (!store.open(path))
        return 3;
    qint64 kept = 0;
    for (int round = 0;; ++round) {
        QList<std::pair<Series, Change>> batch;
        for (int i = 0; i < 50; ++i)
            batch.append({Series::IntlBuy, {at(round % 600, i), Fen(90000 + i)}});
        if (!store.append(batch))
            return 4;
        kept += batch.size();
        std::printf("kept %lld\n", static_cast<long long>(kept));
        std::fflush(stdout);
    }
}

} // namespace

class PriceHistoryTest : public QObject {
    Q_OBJECT
private slots:
    void changeFilter_data();
    void changeFilter();
    void packedFormsRoundTrip();
    void brokenBytesDoNotRead();
    void bars_data();
    void bars();
    void movingAverage();
    void storeKeepsChangesAndRollsThemUp();
    void storeStaysBounded();
    void damagedFileIsMovedAside();
    void missingFolderLeavesHistoryOff();
    void killedWriterLeavesSoundFile();
    void recorderCommitsOffTheUiThread();
    void alertLogBesidePrices();
};

void PriceHistoryTest::changeFilter_data() {
    // Each offer: "series:text@minute", "!" for the data error; the changes recorded, as "series:fen@minute".
    QTest::addColumn<QStringList>("offers");
    QTest::addColumn<QStringList>("recorded");
    QTest::newRow("first price, then only changes")
        << QStringList{u"6:905.23@0"_s, u"6:905.23@1"_s, u"6:905.24@2"_s, u"6:905.23@3"_s}
        << QStringList{u"6:90523@0"_s, u"6:90524@2"_s, u"6:90523@3"_s};
    QTest::newRow("each series on its own")
        << QStringList{u"0:905.23@0"_s, u"1:906.03@0"_s, u"2:905.23@0"_s, u"0:905.23@1"_s}
        << QStringList{u"0:90523@0"_s, u"1:90603@0"_s, u"2:90523@0"_s};
    QTest::newRow("the same price written otherwise")
        << QStringList{u"0:905.2@0"_s, u"0:905.20@1"_s} << QStringList{u"0:90520@0"_s};
    QTest::newRow("no price, no change")
        << QStringList{u"0:@0"_s, u"0:abc@1"_s, u"0:0.00@2"_s, u"0:-3@3"_s, u"0:257.8@4"_s}
        << QStringList{u"0:25780@4"_s};
    QTest::newRow("nothing after a data error")
        << QStringList{u"0:905.23@0"_s, u"!"_s, u"0:905.50@1"_s, u"7:906.00@1"_s}
        << QStringList{u"0:90523@0"_s};
    // Minute 4 × 1440 + 5 × 60 … from Wednesday 10:00: Saturday 04:59 is still open, 05:00 closed,
    // Monday 07:00 open again.
    QTest::newRow("the weekend records nothing")
        << QStringList{u"6:905.00@%1"_s.arg(2 * 1440 + 18 * 60 + 59),
                       u"6:905.10@%1"_s.arg(2 * 1440 + 19 * 60), u"6:905.20@%1"_s.arg(3 * 1440),
                       u"6:905.30@%1"_s.arg(4 * 1440 + 20 * 60), u"6:905.30@%1"_s.arg(4 * 1440 + 21 * 60)}
        << QStringList{u"6:90500@%1"_s.arg(2 * 1440 + 18 * 60 + 59), u"6:90530@%1"_s.arg(4 * 1440 + 21 * 60)};
}

void PriceHistoryTest::changeFilter() {
    QFETCH(QStringList, offers);
    QFETCH(QStringList, recorded);
    ChangeFilter filter;
    QStringList got;
    for (const QString& offer : offers) {
        if (offer == u"!"_s) {
            filter.stopForDataError();
            continue;
        }
        const int colon = int(offer.indexOf(u':')), atSign = int(offer.indexOf(u'@'));
        const auto series = static_cast<Series>(offer.left(colon).toInt());
        const int minute = offer.mid(atSign + 1).toInt();
        const QDateTime when = kWednesday.addSecs(minute * 60);
        if (const auto change = filter.offer(series, offer.mid(colon + 1, atSign - colon - 1), when)) {
            QCOMPARE(change->ms, when.toMSecsSinceEpoch());
            got << u"%1:%2@%3"_s.arg(indexOf(series)).arg(change->fen).arg(minute);
        }
    }
    QCOMPARE(got, recorded);
}

void PriceHistoryTest::packedFormsRoundTrip() {
    const qint64 origin = at(0);
    // A clock set back keeps its change where it came.
    const QList<Change> changes = {{at(0, 1), 90523}, {at(0, 16), 90538}, {at(0, 9), 90500}, {at(9, 59), 1}};
    const QByteArray packed = codec::packChanges(changes, origin);
    QCOMPARE(codec::unpackChanges(packed, origin), changes);
    QVERIFY2(packed.size() <= 4 * 4 + 4, "about three bytes a change");

    const QList<Bar> bars = {bar(at(0), 90523, 90538, 90500, 90531), bar(at(1), 90531, 90531, 90531, 90531),
                             bar(at(600), 91000, 91200, 90010, 90010)};
    QCOMPARE(codec::unpackBars(codec::packBars(bars, origin), origin), bars);
    QCOMPARE(codec::unpackChanges({}, origin), QList<Change>{});
}

void PriceHistoryTest::brokenBytesDoNotRead() {
    const qint64 origin = at(0);
    const QByteArray changes = codec::packChanges({{at(0, 1), 90523}, {at(0, 2), 90524}}, origin);
    QVERIFY(!codec::unpackChanges(changes.chopped(1), origin));
    QVERIFY(!codec::unpackChanges(QByteArray(12, '\xff'), origin));
    const QByteArray bars = codec::packBars({bar(at(0), 90523, 90538, 90500, 90531)}, origin);
    QVERIFY(!codec::unpackBars(bars.chopped(1), origin));
    // A close above its high is no bar.
    QByteArray highClose = bars;
    highClose[highClose.size() - 1] = char(100);
    QVERIFY(!codec::unpackBars(highClose, origin));
}

void PriceHistoryTest::bars_data() {
    QTest::addColumn<QList<Change>>("changes");
    QTest::addColumn<int>("period");
    QTest::addColumn<QList<Bar>>("expected");
    const QList<Change> minuteAndNext = {{at(0, 5), 100},  {at(0, 20), 130}, {at(0, 40), 90},
                                         {at(0, 59), 110}, {at(1, 0), 115},  {at(3, 30), 120}};
    QTest::newRow("one-minute bars open with the minute's first change")
        << minuteAndNext << int(bars::Period::Minute1)
        << QList<Bar>{bar(at(0), 100, 130, 90, 110), bar(at(1), 115, 115, 115, 115),
                      bar(at(3), 120, 120, 120, 120)};
    QTest::newRow("five minutes: one bar")
        << minuteAndNext << int(bars::Period::Minute5) << QList<Bar>{bar(at(0), 100, 130, 90, 120)};
    QTest::newRow("fifteen minutes split at the quarter hour")
        << QList<Change>{{at(14, 59), 100}, {at(15, 0), 200}} << int(bars::Period::Minute15)
        << QList<Bar>{bar(at(0), 100, 100, 100, 100), bar(at(15), 200, 200, 200, 200)};
    // 10:00 + 13:59 is 23:59 Beijing time; a minute later the next day begins.
    QTest::newRow("days begin at local midnight")
        << QList<Change>{{at(13 * 60 + 59), 100}, {at(14 * 60), 200}, {at(14 * 60 + 30), 150}}
        << int(bars::Period::Day)
        << QList<Bar>{bar(at(-10 * 60), 100, 100, 100, 100), bar(at(14 * 60), 200, 200, 150, 150)};
    QTest::newRow("an hour from its first minute")
        << QList<Change>{{at(59, 59), 100}, {at(60), 300}, {at(119), 250}} << int(bars::Period::Minute60)
        << QList<Bar>{bar(at(0), 100, 100, 100, 100), bar(at(60), 300, 300, 250, 250)};
}

void PriceHistoryTest::bars() {
    QFETCH(QList<Change>, changes);
    QFETCH(int, period);
    QFETCH(QList<Bar>, expected);
    const int beijing = 8 * 3600;
    QCOMPARE(bars::aggregate(bars::minuteBars(changes), static_cast<bars::Period>(period), beijing),
             expected);
    // Bars made in two halves and merged are the bars of the whole.
    const qsizetype half = changes.size() / 2;
    const QList<Bar> merged =
        bars::merge(bars::minuteBars(changes.mid(0, half)), bars::minuteBars(changes.mid(half)));
    QCOMPARE(bars::aggregate(merged, static_cast<bars::Period>(period), beijing), expected);
}

void PriceHistoryTest::movingAverage() {
    QList<Bar> closes;
    for (Fen c : {100, 200, 300, 400})
        closes.append(bar(0, c, c, c, c));
    const QVector<double> ma = bars::movingAverage(closes, 3);
    QVERIFY(std::isnan(ma[0]) && std::isnan(ma[1]));
    QCOMPARE(ma[2], 2.0);
    QCOMPARE(ma[3], 3.0);
}

void PriceHistoryTest::storeKeepsChangesAndRollsThemUp() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"history.db"_s);
    const qint64 old = at(0) - HistoryStore::kRawKeptMs - kDayMs;
    {
        HistoryStore store;
        QVERIFY(store.open(path));
        QVERIFY(store.append({{Series::IcbcBuy, {old, 100}},
                              {Series::IcbcBuy, {old + 20'000, 130}},
                              {Series::IcbcBuy, {old + 70'000, 120}},
                              {Series::IntlSell, {old, 500}},
                              {Series::IcbcBuy, {at(0), 90523}}}));
        QCOMPARE(store.firstMs(), old - old % (10 * kMinuteMs));
    }
    HistoryStore store;
    QVERIFY(store.open(path));
    // Made the user's alone, like everything in DataBase/.
    for (const QString& file : {path, path + u"-wal"_s})
        QCOMPARE(QFile::permissions(file) & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(store.read(Series::IcbcBuy, old, at(1)).changes.size(), 4);
    QCOMPARE(store.read(Series::IcbcBuy, old + 1, at(0)).changes.size(), 2);
    QVERIFY(store.read(Series::CcbBuy, 0, at(1)).changes.isEmpty());

    QCOMPARE(store.rollUp(at(0)), 2);
    const HistoryStore::Span icbc = store.read(Series::IcbcBuy, old - kDayMs, at(1));
    const qint64 minute = old - old % kMinuteMs;
    QCOMPARE(icbc.bars,
             (QList<Bar>{bar(minute, 100, 130, 100, 130), bar(minute + kMinuteMs, 120, 120, 120, 120)}));
    QCOMPARE(icbc.changes, (QList<Change>{{at(0), 90523}}));
    QCOMPARE(store.read(Series::IntlSell, 0, at(1)).bars.size(), 1);
    // Rolled up once only.
    QCOMPARE(store.rollUp(at(0)), 0);
    // Ten years on, the bars go too.
    store.rollUp(at(0) + HistoryStore::kBarsKeptMs + 2 * kDayMs);
    QVERIFY(store.read(Series::IcbcBuy, 0, std::numeric_limits<qint64>::max()).bars.isEmpty());
}

void PriceHistoryTest::storeStaysBounded() {
    // A price flapping every 50 ms for three hours, far beyond any quote
    // cycle, is rolled up early once its changes pass their budget (small
    // here), oldest first, and nothing of its time is lost.
    QTemporaryDir dir;
    const qint64 budget = 64 * 1024;
    HistoryStore store(budget);
    QVERIFY(store.open(dir.filePath(u"history.db"_s)));
    QList<std::pair<Series, Change>> batch;
    for (int i = 0; i < 3 * 72'000; ++i)
        batch.append({Series::IntlBuy, {at(0) + i * 50, Fen(90000 + (i * 7) % 2000)}});
    QVERIFY(store.append(batch));
    QVERIFY(store.rollUp(at(181)) > 0);
    const HistoryStore::Span span = store.read(Series::IntlBuy, 0, std::numeric_limits<qint64>::max());
    QCOMPARE(span.bars.first().ms, at(0));
    QVERIFY(span.changes.size() * 2 <= budget);
    QCOMPARE(span.changes.last(), batch.last().second);
    QVERIFY(span.bars.last().ms < span.changes.first().ms);
}

void PriceHistoryTest::damagedFileIsMovedAside() {
    // Bytes that are no database, and a database that is no history (a record
    // file): each is kept aside as it was, and the history begins afresh.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"history.db"_s);
    for (int kind = 0; kind < 2; ++kind) {
        if (kind == 0) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(8192, 'x'));
        } else {
            QVERIFY(RecordFile::create(path, QString(), {{u"编号"_s, RecordFile::FieldType::Integer}}));
        }
        QFile original(path);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        original.close();
        HistoryStore store;
        QVERIFY(store.open(path));
        QVERIFY(store.append({{Series::IcbcBuy, {at(0), 90523}}}));
        QCOMPARE(countChanges(store, Series::IcbcBuy), 1);
        QFile aside(path + u".damaged"_s);
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), before);
        store.close();
        QFile::remove(path);
    }
}

void PriceHistoryTest::missingFolderLeavesHistoryOff() {
    QTemporaryDir dir;
    QVERIFY(!HistoryStore().open(dir.filePath(u"missing/history.db"_s)));
    QVERIFY(!QFile::exists(dir.filePath(u"missing"_s)));
}

void PriceHistoryTest::killedWriterLeavesSoundFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"history.db"_s);
    for (int kill = 0; kill < 3; ++kill) {
        qint64 before = 0;
        {
            HistoryStore store;
            QVERIFY(store.open(path));
            before = countChanges(store, Series::IntlBuy);
        }
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {childFlag, path});
        QVERIFY(child.waitForStarted(10000));
        QByteArray output;
        // Killed at a moment of its own choosing after a few commits.
        while (output.count('\n') < 5 + kill * 7 && child.waitForReadyRead(30000))
            output += child.readAllStandardOutput();
        child.kill();
        child.waitForFinished(10000);
        output += child.readAllStandardOutput();
        // A line cut short by the kill reads smaller than the one before it.
        qint64 reported = 0;
        for (const QByteArray& line : output.split('\n'))
            if (line.startsWith("kept "))
                reported = std::max(reported, line.mid(5).toLongLong());
        HistoryStore store;
        QVERIFY(store.open(path));
        QVERIFY(!QFile::exists(path + u".damaged"_s));
        // Every commit the child reported is in the file, whole.
        const qint64 after = countChanges(store, Series::IntlBuy);
        QVERIFY2(after >= before + reported,
                 qPrintable(u"%1 + %2 > %3"_s.arg(before).arg(reported).arg(after)));
        QCOMPARE((after - before) % 50, 0);
    }
}

void PriceHistoryTest::recorderCommitsOffTheUiThread() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"history.db"_s);
    FixedClock clock;
    {
        PriceHistory history(path, clock);
        QList<Series> seen;
        connect(&history, &PriceHistory::recorded, this, [&](Series s, Change) { seen << s; });
        history.offer(Series::CcbBuy, u"905.23"_s);
        history.offer(Series::CcbBuy, u"905.23"_s);
        clock.time = clock.time.addSecs(15);
        history.offer(Series::CcbBuy, u"905.31"_s);
        history.offer(Series::CcbSell, u"906.11"_s);
        QCOMPARE(seen, (QList<Series>{Series::CcbBuy, Series::CcbBuy, Series::CcbSell}));
        // A read waits for what was offered before it.
        PriceHistory::Spans spans;
        history.read({Series::CcbBuy, Series::CcbSell}, 0, at(60), this,
                     [&](const PriceHistory::Spans& s) { spans = s; });
        QTRY_COMPARE(spans.size(), 2);
        QCOMPARE(spans[0].second.changes, (QList<Change>{{at(0), 90523}, {at(0, 15), 90531}}));
        QCOMPARE(spans[1].second.changes.size(), 1);
        history.offer(Series::IntlBuy, u"905.00"_s);
    }
    // What was gathered at the end reached the file when the history went.
    HistoryStore store;
    QVERIFY(store.open(path));
    QCOMPARE(countChanges(store, Series::IntlBuy), 1);
}

void PriceHistoryTest::alertLogBesidePrices() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"history.db"_s);
    {
        HistoryStore store;
        QVERIFY(store.open(path));
        QVERIFY(store.append({{Series::IcbcBuy, {at(0), 90523}}}));
    }
    // As a file made before the log came: prices, no table for alerts.
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, "DROP TABLE alerts", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    const auto entry = [](int second) {
        return AlertRecord{at(1, second), u"声音提醒"_s, u"工行"_s, u"买入价低于"_s, u"300"_s, u"299.9"_s};
    };
    HistoryStore store(HistoryStore::kRawBudgetBytes, 3);
    QVERIFY(store.open(path));
    QVERIFY(store.appendAlerts({entry(0), entry(1)}));
    QVERIFY(store.appendAlerts({entry(2), entry(3)}));
    // Newest first, the newest three only, and the prices untouched.
    QCOMPARE(store.alerts(), (QList<AlertRecord>{entry(3), entry(2), entry(1)}));
    QCOMPARE(countChanges(store, Series::IcbcBuy), 1);
    QVERIFY(store.clearAlerts());
    QVERIFY(store.alerts().isEmpty());
    QCOMPARE(countChanges(store, Series::IcbcBuy), 1);
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == childFlag)
        return appendUntilKilled(QString::fromLocal8Bit(argv[2]));
    PriceHistoryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_price_history.moc"
