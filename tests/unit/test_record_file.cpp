// Record files: numbering, typed values, failed opens that change nothing,
// encryption at rest, and one transaction per open..close that survives a kill;
// the key derivation against published vectors, and files earlier builds made.
#include "platform/gbk.h"
#include "records/key_derivation.h"
#include "records/passwords.h"
#include "records/record_file.h"
#include "support/crash_points.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cstdio>

using Field = RecordFile::Field;
using Type = RecordFile::FieldType;
using namespace Qt::StringLiterals;

namespace {

const QString secret = u"S3cretPassw0rd"_qs;
const QString childFlag = u"--record-file-child"_qs;

const QList<Field> sampleFields{{u"编号"_qs, Type::Integer},
                                {u"金额"_qs, Type::Decimal},
                                {u"说明"_qs, Type::Text},
                                {u"时间"_qs, Type::DateTime},
                                {u"锁定密码"_qs, Type::Text}};

// Creates `name` in `dir` holding records whose 编号 are `numbers`.
QString makeFile(const QTemporaryDir& dir, const QString& name, const QString& password,
                 const QList<int>& numbers, const QList<Field>& fields = sampleFields) {
    const QString path = dir.filePath(name);
    if (!RecordFile::create(path, password, fields))
        return {};
    RecordFile file;
    if (!file.open(path, password))
        return {};
    for (int number : numbers) {
        file.appendBlank();
        file.write(fields.first().name, number);
    }
    file.close();
    return path;
}

QList<int> numbers(const QString& path, const QString& password) {
    RecordFile file;
    if (!file.open(path, password))
        return {-1};
    QList<int> result;
    for (int n = 1; n <= file.count(); ++n) {
        file.goTo(n);
        result << file.read(u"编号"_qs).toInt();
    }
    return result;
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file in `dir` with a digest of its bytes.
QStringList snapshot(const QString& dir) {
    QStringList entries;
    QDir::Filters filter = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
    for (const QFileInfo& info : QDir(dir).entryInfoList(filter, QDir::Name)) {
        const QByteArray digest =
            QCryptographicHash::hash(bytesOf(info.filePath()), QCryptographicHash::Sha1);
        entries << info.fileName() + u' ' + QString::fromLatin1(digest.toHex());
        if (info.isDir())
            entries += snapshot(info.filePath());
    }
    return entries;
}

QByteArray sqliteBytesWithoutTable(const QTemporaryDir& dir) {
    // Any SQLite file works as a foreign file: a record file renamed table.
    const QString path = dir.filePath(u"foreign-source.db"_qs);
    RecordFile::create(path, QString(), {{u"x"_qs, Type::Integer}});
    QByteArray bytes = bytesOf(path);
    QFile::remove(path);
    bytes.replace("records", "others!");
    return bytes;
}

// The work a child process does before it is killed or closes: every record
// rewritten and enough appended to spill beyond the page cache into the file.
void rewriteAll(RecordFile& file, int number) {
    for (int n = 1; n <= file.count(); ++n) {
        file.goTo(n);
        file.write(u"编号"_qs, number);
    }
    const QString filler(1000, u'x');
    for (int i = 0; i < 4000; ++i) {
        file.appendBlank();
        file.write(u"编号"_qs, number);
        file.write(u"说明"_qs, filler);
    }
}

int runChild(const QStringList& args) {
    // args: mode ("kill" or "finish"), primary path, joined path or "-"
    if (args.size() < 3)
        return 2;
    RecordFile primary;
    RecordFile joined;
    if (!primary.open(args[1], secret))
        return 3;
    const bool join = args[2] != u"-"_qs;
    if (join && !joined.openJoined(primary, args[2], QString()))
        return 4;
    rewriteAll(primary, 99);
    if (join)
        rewriteAll(joined, 99);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    if (args[0] == u"kill"_qs)
        QThread::sleep(60); // the parent kills us here
    joined.close();
    primary.close();
    return 0;
}

} // namespace

class RecordFileTest : public QObject {
    Q_OBJECT
private slots:
    void passwordPiecesMatch();
    void schemasRoundTrip_data();
    void schemasRoundTrip();
    void navigation_data();
    void navigation();
    void valuesConvertToTheFieldType_data();
    void valuesConvertToTheFieldType();
    void appendBlankIsEmptyAndLast();
    void noCurrentRecordOrUnknownField();
    void modifyByPosition();
    void purgeRenumbers_data();
    void purgeRenumbers();
    void clearRemovesEverything();
    void readerLooksButNeverChanges();
    void readAllFollowsTheHandle_data();
    void readAllFollowsTheHandle();
    void writeColumn_data();
    void writeColumn();
    void storedDateTimeReadsLikeTheParser_data();
    void storedDateTimeReadsLikeTheParser();
    void failedOpenChangesNothing_data();
    void failedOpenChangesNothing();
    void failedJoinChangesNothing_data();
    void failedJoinChangesNothing();
    void closeCommitsAndIsRepeatable();
    void joinedHandlesAreIndependent();
    void encryptedAtRest();
    void keyDerivationMatchesPublishedVectors_data();
    void keyDerivationMatchesPublishedVectors();
    void earlierBuildsFilesOpen_data();
    void earlierBuildsFilesOpen();
    void createRefusesAnExistingFile();
    void killedWriterLeavesOldRecords_data();
    void killedWriterLeavesOldRecords();
    void failedChangesKeepNothing_data();
    void failedChangesKeepNothing();
};

void RecordFileTest::passwordPiecesMatch() {
    QCOMPARE(recordpasswords::propertyPasswordFromPieces(), recordpasswords::propertyPassword());
    QCOMPARE(recordpasswords::propertyPassword().size(), 16);
    const QString news = recordpasswords::newsPassword();
    QCOMPARE(news.size(), 14);
    for (QChar c : news)
        QVERIFY(c.isLetterOrNumber() && c.unicode() < 128);
}

void RecordFileTest::schemasRoundTrip_data() {
    QTest::addColumn<QList<Field>>("fields");
    QTest::addColumn<QString>("password");
    QTest::newRow("property") << recordpasswords::propertyFields() << recordpasswords::propertyPassword();
    QTest::newRow("transaction") << recordpasswords::transactionFields() << QString();
    QTest::newRow("ledger") << recordpasswords::ledgerFields() << QString();
    QTest::newRow("news") << recordpasswords::newsFields() << recordpasswords::newsPassword();
}

void RecordFileTest::schemasRoundTrip() {
    QFETCH(QList<Field>, fields);
    QFETCH(QString, password);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"f.edb"_qs);
    QVERIFY(RecordFile::create(path, password, fields));
    RecordFile file;
    QVERIFY(file.open(path, password));
    QCOMPARE(file.fields(), fields);
    QCOMPARE(file.count(), 0);
    QCOMPARE(file.current(), 0);
}

void RecordFileTest::navigation_data() {
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("current");
    QTest::newRow("open, empty") << 0 << u"none"_qs << 0;
    QTest::newRow("open, first current") << 3 << u"none"_qs << 1;
    QTest::newRow("goFirst, empty") << 0 << u"first"_qs << 0;
    QTest::newRow("goLast") << 3 << u"last"_qs << 3;
    QTest::newRow("goLast, empty") << 0 << u"last"_qs << 0;
    QTest::newRow("goTo 2") << 3 << u"2"_qs << 2;
    QTest::newRow("goTo 0") << 3 << u"0"_qs << 0;
    QTest::newRow("goTo past end") << 3 << u"4"_qs << 0;
    QTest::newRow("goTo negative") << 3 << u"-1"_qs << 0;
}

void RecordFileTest::navigation() {
    QFETCH(int, records);
    QFETCH(QString, move);
    QFETCH(int, current);
    QTemporaryDir dir;
    QList<int> initial;
    for (int i = 1; i <= records; ++i)
        initial << i * 10;
    const QString path = makeFile(dir, u"f.edb"_qs, QString(), initial);
    RecordFile file;
    QVERIFY(file.open(path, QString()));
    QCOMPARE(file.count(), records);
    if (move == u"first"_qs)
        file.goFirst();
    else if (move == u"last"_qs)
        file.goLast();
    else if (move != u"none"_qs)
        file.goTo(move.toInt());
    QCOMPARE(file.current(), current);
    QCOMPARE(file.read(u"编号"_qs), current ? QVariant(current * 10) : QVariant());
}

void RecordFileTest::valuesConvertToTheFieldType_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("written");
    QTest::addColumn<QVariant>("read");
    const QDateTime moment(QDate(2024, 3, 9), QTime(14, 5, 7));
    QTest::newRow("integer") << u"编号"_qs << QVariant(-42) << QVariant(-42);
    QTest::newRow("integer from fraction") << u"编号"_qs << QVariant(12.9) << QVariant(12);
    QTest::newRow("integer from negative fraction") << u"编号"_qs << QVariant(-12.9) << QVariant(-12);
    QTest::newRow("integer from text") << u"编号"_qs << QVariant(u" 300 "_qs) << QVariant(300);
    QTest::newRow("integer from garbage") << u"编号"_qs << QVariant(u"abc"_qs) << QVariant(0);
    QTest::newRow("integer clamps") << u"编号"_qs << QVariant(1e12) << QVariant(2147483647);
    QTest::newRow("decimal") << u"金额"_qs << QVariant(1492.19) << QVariant(1492.19);
    QTest::newRow("decimal from integer") << u"金额"_qs << QVariant(100000) << QVariant(100000.0);
    QTest::newRow("decimal from text") << u"金额"_qs << QVariant(u"257.83"_qs) << QVariant(257.83);
    QTest::newRow("text") << u"说明"_qs << QVariant(u"卖出"_qs) << QVariant(u"卖出"_qs);
    QTest::newRow("text from number") << u"说明"_qs << QVariant(526) << QVariant(u"526"_qs);
    QTest::newRow("text empty") << u"说明"_qs << QVariant(QString()) << QVariant(QString());
    QTest::newRow("date-time") << u"时间"_qs << QVariant(moment) << QVariant(moment);
    QTest::newRow("date-time drops milliseconds")
        << u"时间"_qs << QVariant(moment.addMSecs(999)) << QVariant(moment);
    QTest::newRow("date-time from text")
        << u"时间"_qs << QVariant(u"2024-03-09 14:05:07"_qs) << QVariant(moment);
    QTest::newRow("date-time from UTC") << u"时间"_qs << QVariant(moment.toUTC()) << QVariant(moment);
    QTest::newRow("date-time null") << u"时间"_qs << QVariant(QDateTime()) << QVariant(QDateTime());
}

void RecordFileTest::valuesConvertToTheFieldType() {
    QFETCH(QString, field);
    QFETCH(QVariant, written);
    QFETCH(QVariant, read);
    QTemporaryDir dir;
    const QString path = makeFile(dir, u"f.edb"_qs, QString(), {1, 2});
    {
        RecordFile file;
        QVERIFY(file.open(path, QString()));
        file.goTo(2);
        QVERIFY(file.write(field, written));
        QCOMPARE(file.read(field), read);
    }
    // And the same after a round trip through the file.
    RecordFile file;
    QVERIFY(file.open(path, QString()));
    file.goLast();
    const QVariant stored = file.read(field);
    QCOMPARE(stored.typeId(), read.typeId());
    QCOMPARE(stored, read);
    file.goFirst();
    QCOMPARE(file.read(u"编号"_qs), QVariant(1));
}

void RecordFileTest::appendBlankIsEmptyAndLast() {
    QTemporaryDir dir;
    const QString path = makeFile(dir, u"f.edb"_qs, QString(), {7, 8});
    RecordFile file;
    QVERIFY(file.open(path, QString()));
    file.goFirst();
    QVERIFY(file.write(u"说明"_qs, u"not blank"_qs));
    file.appendBlank();
    QCOMPARE(file.count(), 3);
    QCOMPARE(file.current(), 3);
    QCOMPARE(file.read(u"编号"_qs), QVariant(0));
    QCOMPARE(file.read(u"金额"_qs), QVariant(0.0));
    QCOMPARE(file.read(u"说明"_qs), QVariant(QString()));
    const QVariant moment = file.read(u"时间"_qs);
    QCOMPARE(moment.typeId(), QMetaType::QDateTime);
    QVERIFY(moment.toDateTime().isNull());
}

void RecordFileTest::noCurrentRecordOrUnknownField() {
    QTemporaryDir dir;
    const QString path = makeFile(dir, u"f.edb"_qs, QString(), {});
    RecordFile file;
    QVERIFY(file.open(path, QString()));
    QVERIFY(!file.read(u"编号"_qs).isValid());
    QVERIFY(!file.write(u"编号"_qs, 1));
    QVERIFY(!file.modify({std::nullopt, 1.0}));
    file.markDeleted();
    file.purgeDeleted();
    file.appendBlank();
    QVERIFY(!file.read(u"没有"_qs).isValid());
    QVERIFY(!file.write(u"没有"_qs, 1));
    // Never opened or already closed: nothing to address.
    file.close();
    QVERIFY(!file.isOpen());
    QVERIFY(!file.read(u"编号"_qs).isValid());
    QVERIFY(!file.write(u"编号"_qs, 1));
    QCOMPARE(file.count(), 0);
}

void RecordFileTest::modifyByPosition() {
    QTemporaryDir dir;
    const QString path = makeFile(dir, u"f.edb"_qs, QString(), {1, 2});
    const QDateTime moment(QDate(2023, 12, 31), QTime(23, 59, 59));
    {
        RecordFile file;
        QVERIFY(file.open(path, QString()));
        file.goTo(2);
        QVERIFY(file.modify({5, 6.5, u"六"_qs, moment, u"526"_qs}));
        // Only position 5 given: positions 1 to 4 stay.
        QVERIFY(file.modify({std::nullopt, std::nullopt, std::nullopt, std::nullopt, u"888"_qs}));
        // More values than fields: refused, nothing changed.
        QVERIFY(!file.modify({9, 9.0, u"x"_qs, moment, u"x"_qs, 9}));
        QVERIFY(file.modify({}));
    }
    RecordFile file;
    QVERIFY(file.open(path, QString()));
    file.goTo(2);
    QCOMPARE(file.read(u"编号"_qs), QVariant(5));
    QCOMPARE(file.read(u"金额"_qs), QVariant(6.5));
    QCOMPARE(file.read(u"说明"_qs), QVariant(u"六"_qs));
    QCOMPARE(file.read(u"时间"_qs), QVariant(moment));
    QCOMPARE(file.read(u"锁定密码"_qs), QVariant(u"888"_qs));
    file.goTo(1);
    QCOMPARE(file.read(u"编号"_qs), QVariant(1));
    QCOMPARE(file.read(u"锁定密码"_qs), QVariant(QString()));
}

void RecordFileTest::purgeRenumbers_data() {
    QTest::addColumn<QList<int>>("marks");
    QTest::addColumn<bool>("purge");
    QTest::addColumn<QList<int>>("left");
    QTest::newRow("third of five") << QList<int>{3} << true << QList<int>{10, 20, 40, 50};
    QTest::newRow("first and last") << QList<int>{1, 5} << true << QList<int>{20, 30, 40};
    QTest::newRow("marked twice") << QList<int>{2, 2} << true << QList<int>{10, 30, 40, 50};
    QTest::newRow("all") << QList<int>{1, 2, 3, 4, 5} << true << QList<int>{};
    QTest::newRow("marks without purge") << QList<int>{2, 4} << false << QList<int>{10, 20, 30, 40, 50};
}

void RecordFileTest::purgeRenumbers() {
    QFETCH(QList<int>, marks);
    QFETCH(bool, purge);
    QFETCH(QList<int>, left);
    QTemporaryDir dir;
    const QString path = makeFile(dir, u"f.edb"_qs, QString(), {10, 20, 30, 40, 50});
    {
        RecordFile file;
        QVERIFY(file.open(path, QString()));
        for (int mark : marks) {
            file.goTo(mark);
            file.markDeleted();
        }
        if (purge)
            file.purgeDeleted();
        QCOMPARE(file.count(), int(left.size()));
        if (purge)
            QCOMPARE(file.current(), left.isEmpty() ? 0 : 1);
        // A new record still goes last.
        file.appendBlank();
        QCOMPARE(file.current(), int(left.size()) + 1);
        file.write(u"编号"_qs, 60);
    }
    QCOMPARE(numbers(path, QString()), left + QList<int>{60});
}

void RecordFileTest::clearRemovesEverything() {
    QTemporaryDir dir;
    const QString path = makeFile(dir, u"f.edb"_qs, secret, {1, 2, 3});
    {
        RecordFile file;
        QVERIFY(file.open(path, secret));
        file.clear();
        QCOMPARE(file.count(), 0);
        QCOMPARE(file.current(), 0);
    }
    QCOMPARE(numbers(path, secret), QList<int>{});
}

void RecordFileTest::readerLooksButNeverChanges() {
    QTemporaryDir dir;
    const QString path = makeFile(dir, u"f.edb"_qs, secret, {1, 2, 3});
    {
        // A writer in the middle of its action does not keep a reader out,
        // and the reader sees what was last committed.
        RecordFile writer;
        QVERIFY(writer.open(path, secret));
        writer.goFirst();
        QVERIFY(writer.write(u"编号"_qs, 99));
        RecordFile reader;
        QVERIFY(reader.openForReading(path, secret));
        QCOMPARE(reader.count(), 3);
        QCOMPARE(reader.read(u"编号"_qs).toInt(), 1);
        QVERIFY(!reader.write(u"编号"_qs, 7));
        QVERIFY(!reader.modify({5}));
        reader.appendBlank();
        reader.markDeleted();
        reader.purgeDeleted();
        reader.clear();
        QCOMPARE(reader.count(), 3);
        reader.close();
        QVERIFY(!reader.openForReading(path, u"wrong"_qs));
    }
    QCOMPARE(numbers(path, secret), (QList<int>{99, 2, 3}));
}

void RecordFileTest::readAllFollowsTheHandle_data() {
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QList<QVariantList>>("records");
    const QDateTime moment(QDate(2024, 3, 9), QTime(14, 5, 7));
    const QVariant noTime = QDateTime();
    QTest::newRow("fields in the order asked")
        << QStringList{u"说明"_qs, u"编号"_qs}
        << QList<QVariantList>{{u"二"_qs, 20}, {u"三"_qs, 30}, {QString(), 0}};
    QTest::newRow("every field") << QStringList{}
                                 << QList<QVariantList>{{20, 2.5, u"二"_qs, moment, QString()},
                                                        {30, 0.0, u"三"_qs, noTime, QString()},
                                                        {0, 0.0, QString(), noTime, QString()}};
    QTest::newRow("unknown field") << QStringList{u"编号"_qs, u"没有"_qs} << QList<QVariantList>{};
}

void RecordFileTest::readAllFollowsTheHandle() {
    QFETCH(QStringList, fields);
    QFETCH(QList<QVariantList>, records);
    QTemporaryDir dir;
    const QString path = makeFile(dir, u"f.edb"_qs, QString(), {10, 20, 30});
    RecordFile file;
    QVERIFY(file.open(path, QString()));
    // Changes not yet closed are read back: a purge, writes and a new record.
    file.goFirst();
    file.markDeleted();
    file.purgeDeleted();
    file.goTo(1);
    file.modify({std::nullopt, 2.5, u"二"_qs, QDateTime(QDate(2024, 3, 9), QTime(14, 5, 7))});
    file.goTo(2);
    file.write(u"说明"_qs, u"三"_qs);
    file.appendBlank();
    file.goTo(2);
    const QList<QVariantList> read = file.readAll(fields);
    QCOMPARE(read, records);
    for (const QVariantList& record : read) {
        for (qsizetype i = 0; i < record.size(); ++i)
            QCOMPARE(record[i].typeId(), records.first()[i].typeId());
    }
    QCOMPARE(file.current(), 2);
}

void RecordFileTest::writeColumn_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariantList>("values"); // an invalid QVariant leaves the record's value
    QTest::addColumn<bool>("done");
    QTest::addColumn<QList<int>>("after");
    QTest::newRow("every record") << u"编号"_qs << QVariantList{7, 8, 9} << true << QList<int>{7, 8, 9};
    QTest::newRow("some left as they are")
        << u"编号"_qs << QVariantList{QVariant(), 8} << true << QList<int>{1, 8, 3};
    QTest::newRow("converted to the field's type")
        << u"编号"_qs << QVariantList{12.9, u" 300 "_qs, -0.5} << true << QList<int>{12, 300, 0};
    QTest::newRow("more values than records")
        << u"编号"_qs << QVariantList{7, 8, 9, 10} << false << QList<int>{1, 2, 3};
    QTest::newRow("unknown field") << u"没有"_qs << QVariantList{7} << false << QList<int>{1, 2, 3};
}

void RecordFileTest::writeColumn() {
    QFETCH(QString, field);
    QFETCH(QVariantList, values);
    QFETCH(bool, done);
    QFETCH(QList<int>, after);
    QList<std::optional<QVariant>> column;
    for (const QVariant& value : values)
        column << (value.isValid() ? std::optional(value) : std::nullopt);
    QTemporaryDir dir;
    const QString path = makeFile(dir, u"f.edb"_qs, QString(), {1, 2, 3});
    {
        RecordFile file;
        QVERIFY(file.open(path, QString()));
        file.goTo(3);
        QCOMPARE(file.writeColumn(field, column), done);
        QCOMPARE(file.current(), 3);
        QVERIFY(file.write(u"说明"_qs, u"still writable"_qs));
    }
    QCOMPARE(numbers(path, QString()), after);
    // Not open: nothing to write to.
    RecordFile closed;
    QVERIFY(!closed.writeColumn(u"编号"_qs, {1}));
    QVERIFY(closed.readAll().isEmpty());
}

void RecordFileTest::storedDateTimeReadsLikeTheParser_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("stored form") << u"2024-03-09 14:05:07"_qs;
    QTest::newRow("leap day") << u"2024-02-29 12:00:00"_qs;
    QTest::newRow("day 30 of February") << u"2024-02-30 12:00:00"_qs;
    QTest::newRow("hour 24") << u"2024-01-01 24:00:00"_qs;
    QTest::newRow("second 60") << u"2024-01-01 23:59:60"_qs;
    QTest::newRow("short fields") << u"2024-3-9 14:05:07"_qs;
    QTest::newRow("full-width digit") << u"２024-03-09 14:05:07"_qs;
}

void RecordFileTest::storedDateTimeReadsLikeTheParser() {
    QFETCH(QString, text);
    const QDateTime read = RecordFile::dateTimeOfText(text);
    const QDateTime parsed = QDateTime::fromString(text, u"yyyy-MM-dd HH:mm:ss"_qs);
    QCOMPARE(read.isValid(), parsed.isValid());
    if (parsed.isValid()) {
        QCOMPARE(read, parsed);
        QCOMPARE(read.timeSpec(), parsed.timeSpec());
        QCOMPARE(RecordFile::dateTimeText(read), text);
    }
}

namespace {

// The cases in which a file must not open. `kind` names how the file at the
// opened path comes about.
void addFailingOpens() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("password");
    QTest::newRow("missing file") << u"missing"_qs << QString();
    QTest::newRow("missing file, password") << u"missing"_qs << secret;
    QTest::newRow("missing folder") << u"missing folder"_qs << QString();
    QTest::newRow("folder") << u"folder"_qs << QString();
    QTest::newRow("wrong password") << u"encrypted"_qs << u"wrong"_qs;
    QTest::newRow("no password for an encrypted file") << u"encrypted"_qs << QString();
    QTest::newRow("password for a plain file") << u"plain"_qs << secret;
    QTest::newRow("random bytes") << u"random"_qs << QString();
    QTest::newRow("random bytes, password") << u"random"_qs << secret;
    QTest::newRow("empty file") << u"empty"_qs << QString();
    QTest::newRow("empty file, password") << u"empty"_qs << secret;
    QTest::newRow("database without the table") << u"foreign"_qs << QString();
    // Opened expecting sampleFields: positions would address other fields.
    QTest::newRow("fields in another order") << u"reordered"_qs << QString();
    QTest::newRow("one field more") << u"wider"_qs << QString();
}

QString failingPath(const QTemporaryDir& dir, const QString& kind) {
    const QString path = dir.filePath(u"target.edb"_qs);
    auto put = [&](const QByteArray& bytes) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    };
    if (kind == u"missing folder"_qs)
        return dir.filePath(u"DataBase/target.edb"_qs);
    if (kind == u"folder"_qs)
        QDir(dir.path()).mkdir(u"target.edb"_qs);
    else if (kind == u"encrypted"_qs)
        makeFile(dir, u"target.edb"_qs, secret, {1});
    else if (kind == u"plain"_qs)
        makeFile(dir, u"target.edb"_qs, QString(), {1});
    else if (kind == u"random"_qs) {
        QByteArray bytes;
        for (int i = 0; i < 4096; ++i)
            bytes.append(char((i * 7919 + 13) % 251));
        put(bytes);
    } else if (kind == u"empty"_qs)
        put({});
    else if (kind == u"foreign"_qs)
        put(sqliteBytesWithoutTable(dir));
    else if (kind == u"reordered"_qs)
        makeFile(dir, u"target.edb"_qs, QString(), {1},
                 {sampleFields[1], sampleFields[0], sampleFields[2], sampleFields[3], sampleFields[4]});
    else if (kind == u"wider"_qs)
        makeFile(dir, u"target.edb"_qs, QString(), {1},
                 sampleFields + QList<Field>{{u"备注"_qs, Type::Text}});
    return path;
}

} // namespace

void RecordFileTest::failedOpenChangesNothing_data() {
    addFailingOpens();
}

void RecordFileTest::failedOpenChangesNothing() {
    QFETCH(QString, kind);
    QFETCH(QString, password);
    QTemporaryDir dir;
    const QString path = failingPath(dir, kind);
    const QStringList before = snapshot(dir.path());
    RecordFile file;
    QVERIFY(!file.open(path, password, sampleFields));
    QVERIFY(!file.isOpen());
    QCOMPARE(file.count(), 0);
    QVERIFY(!file.openForReading(path, password, sampleFields));
    QVERIFY(!file.isOpen());
    file.close();
    QCOMPARE(snapshot(dir.path()), before);
}

void RecordFileTest::failedJoinChangesNothing_data() {
    addFailingOpens();
}

void RecordFileTest::failedJoinChangesNothing() {
    QFETCH(QString, kind);
    QFETCH(QString, password);
    QTemporaryDir dir;
    const QString path = failingPath(dir, kind);
    const QString primaryPath = makeFile(dir, u"primary.edb"_qs, secret, {1, 2});
    const QStringList before = snapshot(dir.path());
    {
        RecordFile primary;
        QVERIFY(primary.open(primaryPath, secret));
        primary.goTo(2);
        RecordFile joined;
        QVERIFY(!joined.openJoined(primary, path, password, sampleFields));
        QVERIFY(!joined.isOpen());
        QCOMPARE(snapshot(dir.path()), before);
        // The primary goes on as if nothing happened.
        QCOMPARE(primary.current(), 2);
        QVERIFY(primary.write(u"编号"_qs, 22));
    }
    QCOMPARE(numbers(primaryPath, secret), (QList<int>{1, 22}));
}

void RecordFileTest::closeCommitsAndIsRepeatable() {
    QTemporaryDir dir;
    const QString path = makeFile(dir, u"f.edb"_qs, QString(), {1});
    RecordFile never;
    never.close();
    RecordFile file;
    QVERIFY(file.open(path, QString()));
    file.appendBlank();
    file.write(u"编号"_qs, 2);
    // Before close another process would not see the record; after it, it does.
    file.close();
    file.close();
    QCOMPARE(numbers(path, QString()), (QList<int>{1, 2}));
    // Reopening a handle starts on the file afresh.
    QVERIFY(file.open(path, QString()));
    QCOMPARE(file.count(), 2);
    QCOMPARE(file.current(), 1);
}

void RecordFileTest::joinedHandlesAreIndependent() {
    QTemporaryDir dir;
    const QString first = makeFile(dir, u"a.edb"_qs, secret, {1, 2, 3});
    const QString second = makeFile(dir, u"b.edb"_qs, QString(), {4, 5});
    const QString third = makeFile(dir, u"c.edb"_qs, u"other"_qs, {6}, recordpasswords::newsFields());
    {
        RecordFile primary;
        RecordFile joined;
        RecordFile news;
        QVERIFY(primary.open(first, secret));
        RecordFile self;
        QVERIFY(!self.openJoined(primary, first, secret));
        QVERIFY(joined.openJoined(primary, second, QString()));
        QVERIFY(news.openJoined(primary, third, u"other"_qs));
        QCOMPARE(joined.count(), 2);
        QCOMPARE(joined.current(), 1);
        QCOMPARE(news.fields(), recordpasswords::newsFields());
        primary.goLast();
        QCOMPARE(joined.current(), 1);
        joined.goLast();
        QVERIFY(joined.write(u"编号"_qs, 50));
        QVERIFY(primary.write(u"编号"_qs, 30));
        QVERIFY(news.modify({7}));
        // Once something changed, another join would split the transaction.
        RecordFile late;
        QVERIFY(!late.openJoined(primary, second, QString()));
        joined.close();
        QVERIFY(!joined.isOpen());
        QVERIFY(!joined.write(u"编号"_qs, 0));
        primary.close();
        // Closing the primary ends the joined handles with it.
        QVERIFY(!news.isOpen());
        QVERIFY(!news.read(u"现行行号段"_qs).isValid());
    }
    QCOMPARE(numbers(first, secret), (QList<int>{1, 2, 30}));
    QCOMPARE(numbers(second, QString()), (QList<int>{4, 50}));
    RecordFile news;
    QVERIFY(news.open(third, u"other"_qs));
    QCOMPARE(news.read(u"现行行号段"_qs), QVariant(7));
}

void RecordFileTest::encryptedAtRest() {
    const QString field = u"锁定密码"_qs;
    const QString value = u"526-锁屏口令"_qs;
    QTemporaryDir dir;
    const QString encrypted = makeFile(dir, u"e.edb"_qs, secret, {1});
    const QString plain = makeFile(dir, u"p.edb"_qs, QString(), {1});
    for (const QString& path : {encrypted, plain}) {
        RecordFile file;
        QVERIFY(file.open(path, path == encrypted ? secret : QString()));
        QVERIFY(file.write(field, value));
    }
    const QByteArray cipherBytes = bytesOf(encrypted);
    const QByteArray plainBytes = bytesOf(plain);
    // The plain file shows that the search finds what it looks for.
    QVERIFY(plainBytes.contains(field.toUtf8()) && plainBytes.contains(value.toUtf8()));
    for (const QByteArray& needle :
         {field.toUtf8(), gbk::encode(field), value.toUtf8(), gbk::encode(value),
          value.left(3).toUtf8() + '-', QByteArray("records"), QByteArray("SQLite")})
        QVERIFY2(!cipherBytes.contains(needle), needle.toHex().constData());
}

// PBKDF2-HMAC-SHA256: RFC 7914 section 11, and the widely published vectors
// for "password" / "salt" (a key longer than one block, a NUL inside both).
void RecordFileTest::keyDerivationMatchesPublishedVectors_data() {
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<QByteArray>("salt");
    QTest::addColumn<int>("iterations");
    QTest::addColumn<QByteArray>("key");
    QTest::newRow("1 iteration") << "password"_ba
                                 << "salt"_ba << 1
                                 << "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b"_ba;
    QTest::newRow("2 iterations") << "password"_ba
                                  << "salt"_ba << 2
                                  << "ae4d0c95af6b46d32d0adff928f06dd02a303f8ef3c251dfd6e2d85a95474c43"_ba;
    QTest::newRow("4096 iterations") << "password"_ba
                                     << "salt"_ba << 4096
                                     << "c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a"_ba;
    QTest::newRow("long password and salt, 40 bytes")
        << "passwordPASSWORDpassword"_ba
        << "saltSALTsaltSALTsaltSALTsaltSALTsalt"_ba << 4096
        << "348c89dbcbd32b2f32d814b8116e84cf2b17347ebc1800181c4e2a1fb8dd53e1c635518c7dac47e9"_ba;
    QTest::newRow("NUL bytes, 16 bytes") << QByteArray("pass\0word", 9) << QByteArray("sa\0lt", 5) << 4096
                                         << "89b69d0516f829893c696226650a8687"_ba;
    QTest::newRow("RFC 7914, 1 iteration")
        << "passwd"_ba
        << "salt"_ba << 1
        << "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
           "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783"_ba;
    QTest::newRow("RFC 7914, 80000 iterations")
        << "Password"_ba
        << "NaCl"_ba << 80000
        << "4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"
           "a1d425a1225833549adb841b51c9b3176a272bdebba1d078478f62b397f33c8d"_ba;
}

void RecordFileTest::keyDerivationMatchesPublishedVectors() {
    QFETCH(QByteArray, password);
    QFETCH(QByteArray, salt);
    QFETCH(int, iterations);
    QFETCH(QByteArray, key);
    QCOMPARE(recordkey::pbkdf2Sha256(password, salt, iterations, int(key.size() / 2)).toHex(), key);
}

// Files made by earlier builds (tests/data) still open with their passwords,
// and only with them: keyed-record-file.edb was made before the key
// derivation came from libcrypto, with the password of the first row.
void RecordFileTest::earlierBuildsFilesOpen_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("record");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("every field type")
        << u"keyed-record-file.edb"_qs << u"金价-Fixture 526"_qs << 2 << u"说明"_qs << QVariant(u"卖出"_qs);
    QTest::newRow("date-time") << u"keyed-record-file.edb"_qs << u"金价-Fixture 526"_qs << 1 << u"时间"_qs
                               << QVariant(QDateTime(QDate(2026, 12, 9), QTime(9, 30, 5)));
    QTest::newRow("property file") << u"older-user-dir/DataBase/property.edb"_qs
                                   << recordpasswords::propertyPassword() << 1 << u"锁定密码"_qs
                                   << QVariant(u"777"_qs);
    QTest::newRow("news file") << u"older-user-dir/DataBase/news.edb"_qs << recordpasswords::newsPassword()
                               << 1 << u"现行行号段"_qs << QVariant(1);
}

void RecordFileTest::earlierBuildsFilesOpen() {
    QFETCH(QString, file);
    QFETCH(QString, password);
    QFETCH(int, record);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"f.edb"_qs);
    QVERIFY(QFile::copy(QStringLiteral(AURIVEX_TEST_DATA_DIR "/") + file, path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    RecordFile wrongKey;
    QVERIFY(!wrongKey.open(path, password + u'x'));
    RecordFile opened;
    QVERIFY(opened.open(path, password));
    opened.goTo(record);
    QCOMPARE(opened.read(field), value);
}

void RecordFileTest::createRefusesAnExistingFile() {
    QTemporaryDir dir;
    const QString path = makeFile(dir, u"f.edb"_qs, QString(), {1});
    const QStringList before = snapshot(dir.path());
    QVERIFY(!RecordFile::create(path, secret, sampleFields));
    QVERIFY(!RecordFile::create(dir.filePath(u"g.edb"_qs), QString(), {}));
    QVERIFY(!RecordFile::create(dir.filePath(u"g.edb"_qs), QString(),
                                {{u"a"_qs, Type::Integer}, {u"a"_qs, Type::Text}}));
    QVERIFY(!RecordFile::create(dir.filePath(u"none/g.edb"_qs), QString(), sampleFields));
    QCOMPARE(snapshot(dir.path()), before);
}

void RecordFileTest::killedWriterLeavesOldRecords_data() {
    QTest::addColumn<bool>("join");
    QTest::addColumn<bool>("kill");
    // Where a preloaded library kills the child: when it deletes a file whose
    // name holds this, that is inside its commit. Empty: no such kill.
    QTest::addColumn<QString>("killAt");
    QTest::newRow("one file, killed") << false << true << QString();
    QTest::newRow("one file, closed") << false << false << QString();
    QTest::newRow("joined files, killed") << true << true << QString();
    QTest::newRow("joined files, closed") << true << false << QString();
    QTest::newRow("one file, killed in the commit") << false << true << u"-journal"_qs;
    QTest::newRow("joined files, killed in the commit") << true << true << u"-mj"_qs;
    // Past the commit point (the shared journal is gone): the change stands.
    QTest::newRow("joined files, killed after the commit") << true << false << u"transaction.edb-journal"_qs;
}

void RecordFileTest::killedWriterLeavesOldRecords() {
    QFETCH(bool, join);
    QFETCH(bool, kill);
    QFETCH(QString, killAt);
    QTemporaryDir dir;
    const QString primary = makeFile(dir, u"property.edb"_qs, secret, {1, 2, 3});
    const QString joined = makeFile(dir, u"transaction.edb"_qs, QString(), {4, 5});
    const QByteArray primaryBefore = bytesOf(primary);
    const QByteArray joinedBefore = bytesOf(joined);

    QProcess child;
    if (!killAt.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"LD_PRELOAD"_qs, QStringLiteral(AURIVEX_KILL_AT_UNLINK_LIBRARY));
        env.insert(u"AURIVEX_KILL_AT_UNLINK"_qs, killAt);
        child.setProcessEnvironment(env);
    }
    const bool killedByParent = kill && killAt.isEmpty();
    child.start(QCoreApplication::applicationFilePath(),
                {childFlag, killedByParent ? u"kill"_qs : u"finish"_qs, primary, join ? joined : u"-"_qs});
    QVERIFY(child.waitForStarted(10000));
    QByteArray output;
    while (!output.contains("ready") && child.state() == QProcess::Running && child.waitForReadyRead(30000))
        output += child.readAllStandardOutput();
    QVERIFY2(output.contains("ready"), output.constData());
    if (!killAt.isEmpty()) {
        QVERIFY(child.state() == QProcess::NotRunning || child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QVERIFY(bytesOf(primary) != primaryBefore);
        if (kill) {
            // Killed inside the commit: the new records are in the files and
            // the journals that undo them are still beside them.
            QVERIFY(QFile::exists(primary + u"-journal"_qs));
            if (join)
                QVERIFY(QFile::exists(joined + u"-journal"_qs));
        }
    } else if (kill) {
        // The change has reached the files themselves: recovery has work to do.
        QVERIFY(bytesOf(primary) != primaryBefore);
        QVERIFY(QFile::exists(primary + u"-journal"_qs));
        if (join)
            QVERIFY(bytesOf(joined) != joinedBefore);
        child.kill();
    }
    QVERIFY(child.state() == QProcess::NotRunning || child.waitForFinished(30000));
    if (!kill && killAt.isEmpty())
        QCOMPARE(child.exitCode(), 0);

    const QList<int> changed(4000, 99);
    // A reader comes first: it too must find the old records or the new ones,
    // whole, and not a file it cannot read.
    RecordFile reader;
    QVERIFY(reader.openForReading(joined, QString()));
    QCOMPARE(reader.count(), join && !kill ? 4002 : 2);
    QVERIFY(reader.openForReading(primary, secret));
    QCOMPARE(reader.count(), kill ? 3 : 4003);
    reader.close();
    const QList<int> primaryAfter = kill ? QList<int>{1, 2, 3} : QList<int>{99, 99, 99} + changed;
    QCOMPARE(numbers(primary, secret), primaryAfter);
    const QList<int> joinedAfter = join && !kill ? QList<int>{99, 99} + changed : QList<int>{4, 5};
    QCOMPARE(numbers(joined, QString()), joinedAfter);
}

void RecordFileTest::failedChangesKeepNothing_data() {
    // Where the disk fills up: at the first change (the journal cannot be
    // written), or only at the commit (the file cannot grow).
    QTest::addColumn<bool>("atCommit");
    QTest::addColumn<bool>("join");
    QTest::newRow("change fails") << false << false;
    QTest::newRow("change fails, joined") << false << true;
    QTest::newRow("commit fails") << true << false;
    QTest::newRow("commit fails, joined") << true << true;
}

void RecordFileTest::failedChangesKeepNothing() {
    QFETCH(bool, atCommit);
    QFETCH(bool, join);
    QTemporaryDir dir;
    // Records big enough that the file is much larger than one change's journal.
    const QString primaryPath = makeFile(dir, u"a.edb"_qs, secret, {});
    {
        RecordFile file;
        QVERIFY(file.open(primaryPath, secret));
        for (int i = 1; i <= 60; ++i) {
            QVERIFY(file.appendBlank());
            QVERIFY(file.write(u"编号"_qs, i) && file.write(u"说明"_qs, QString(2000, u'x')));
        }
        QVERIFY(file.close());
    }
    const QString joinedPath = makeFile(dir, u"b.edb"_qs, QString(), {7});
    const QList<int> before = numbers(primaryPath, secret);
    const qint64 size = QFileInfo(primaryPath).size();

    RecordFile primary;
    RecordFile joined;
    QVERIFY(primary.open(primaryPath, secret));
    QVERIFY(!join || joined.openJoined(primary, joinedPath, QString()));
    {
        const crashpoints::FileSizeLimit full(atCommit ? rlim_t(size) : 0);
        primary.goFirst();
        const bool changed = primary.write(u"编号"_qs, 100);
        QCOMPARE(changed, atCommit);
        const bool appended = primary.appendBlank() && primary.write(u"说明"_qs, QString(3000, u'y'));
        QCOMPARE(appended, atCommit);
        if (!appended) {
            // The writes meant for the new record land nowhere.
            QCOMPARE(primary.current(), 0);
            QVERIFY(!primary.write(u"编号"_qs, 101));
        }
        if (join) {
            joined.goFirst();
            joined.write(u"编号"_qs, 8);
            joined.close();
        }
        QVERIFY(!primary.close());
    }
    QCOMPARE(numbers(primaryPath, secret), before);
    QCOMPARE(numbers(joinedPath, QString()), QList<int>{7});
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() > 1 && args[1] == childFlag)
        return runChild(args.mid(2));
    RecordFileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_record_file.moc"
