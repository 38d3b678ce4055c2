// The provisioning tool lays down a program directory's installation files.
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "provisioner.h"
#include "records/passwords.h"
#include "records/record_file.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class ProvisionTest : public QObject {
    Q_OBJECT
private slots:
    void createsEveryKeyAtItsDesignDefault();
    void keepsValuesAlreadyPresent();
    void explicitPortalRepointsEndpoints();
    void resetStartsAfresh();
    void reportsAnUnusableDirectory();
    void createsTheRecordFiles_data();
    void createsTheRecordFiles();
    void keepsRecordFilesUnlessReset();
};

namespace {

QString endpoint(const QString& dir, const QString& key) {
    QSettings file(dir + u"/endpoints.ini"_qs, QSettings::IniFormat);
    return file.value(u"endpoints/"_qs + key).toString();
}

} // namespace

void ProvisionTest::createsEveryKeyAtItsDesignDefault() {
    QTemporaryDir dir;
    QVERIFY(provision::run({dir.path(), u"127.0.0.1:1234"_qs, true, false}).isEmpty());
    const QString config = dir.filePath(u"config.ini"_qs);
    QVERIFY(settings::fileExists(config));
    for (const settings::KeyInfo& info : settings::allKeys()) {
        QVERIFY2(settings::keyExists(config, info.section, info.key),
                 qPrintable(info.section + u'/' + info.key));
        QCOMPARE(settings::readItem(config, info.section, info.key), settings::designDefault(info.form));
    }
    QCOMPARE(endpoint(dir.path(), u"quotePortalHost"_qs), u"127.0.0.1:1234"_qs);
    // Every chart comes from the demo portal too.
    for (const QString& key :
         {u"chartImageHost"_qs, u"chartImageIntlHost"_qs, u"klineChartHost"_qs, u"partnerChartHost"_qs})
        QCOMPARE(endpoint(dir.path(), key), u"127.0.0.1:1234"_qs);
}

void ProvisionTest::keepsValuesAlreadyPresent() {
    QTemporaryDir dir;
    const QString config = dir.filePath(u"config.ini"_qs);
    QVERIFY(settings::writeItem(config, u"常规选项"_qs, u"浮动"_qs, u"1"_qs));
    QVERIFY(settings::writeItem(config, u"自己的"_qs, u"键"_qs, u"值"_qs));
    QVERIFY(provision::run({dir.path(), u"127.0.0.1:1"_qs, false, false}).isEmpty());
    QCOMPARE(settings::readItem(config, u"常规选项"_qs, u"浮动"_qs), u"1"_qs);
    QCOMPARE(settings::readItem(config, u"自己的"_qs, u"键"_qs), u"值"_qs);
    QCOMPARE(settings::readItem(config, u"常规选项"_qs, u"界面"_qs), u"0"_qs);

    // Without an explicit portal, an endpoint the user changed stays.
    QSettings endpoints(dir.filePath(u"endpoints.ini"_qs), QSettings::IniFormat);
    endpoints.setValue(u"endpoints/quotePortalHost"_qs, u"quotes.example:80"_qs);
    endpoints.sync();
    QVERIFY(provision::run({dir.path(), u"127.0.0.1:1"_qs, false, false}).isEmpty());
    QCOMPARE(endpoint(dir.path(), u"quotePortalHost"_qs), u"quotes.example:80"_qs);
}

void ProvisionTest::explicitPortalRepointsEndpoints() {
    QTemporaryDir dir;
    QVERIFY(provision::run({dir.path(), u"127.0.0.1:1"_qs, true, false}).isEmpty());
    QVERIFY(provision::run({dir.path(), u"127.0.0.1:2"_qs, true, false}).isEmpty());
    QCOMPARE(endpoint(dir.path(), u"quotePortalHost"_qs), u"127.0.0.1:2"_qs);
}

void ProvisionTest::resetStartsAfresh() {
    QTemporaryDir dir;
    const QString config = dir.filePath(u"config.ini"_qs);
    QVERIFY(settings::writeItem(config, u"常规选项"_qs, u"浮动"_qs, u"1"_qs));
    QVERIFY(settings::writeItem(config, u"自己的"_qs, u"键"_qs, u"值"_qs));
    QVERIFY(provision::run({dir.path(), u"127.0.0.1:1"_qs, true, true}).isEmpty());
    QCOMPARE(settings::readItem(config, u"常规选项"_qs, u"浮动"_qs), u"0"_qs);
    QVERIFY(!settings::keyExists(config, u"自己的"_qs, u"键"_qs));
}

void ProvisionTest::reportsAnUnusableDirectory() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(u"file"_qs));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // A directory below a plain file cannot exist, not even for root.
    QVERIFY(!provision::run({dir.filePath(u"file/program"_qs), u"h"_qs, true, false}).isEmpty());
}

void ProvisionTest::createsTheRecordFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QList<RecordFile::Field>>("fields");
    QTest::addColumn<QVariantList>("record");
    using namespace recordpasswords;
    QTest::newRow("property") << kPropertyFile << propertyPassword() << propertyFields()
                              << QVariantList{1, 100000.0, 100000.0, 0, u"526"_qs};
    QTest::newRow("transaction") << kTransactionFile << QString() << transactionFields() << QVariantList{};
    QTest::newRow("ledger") << kLedgerFile << QString() << ledgerFields() << QVariantList{};
    QTest::newRow("news") << kNewsFile << newsPassword() << newsFields() << QVariantList{1};
}

void ProvisionTest::createsTheRecordFiles() {
    QFETCH(QString, file);
    QFETCH(QString, password);
    QFETCH(QList<RecordFile::Field>, fields);
    QFETCH(QVariantList, record);
    QTemporaryDir dir;
    QVERIFY(provision::run({dir.path(), u"h"_qs, false, false}).isEmpty());
    const QString path = dir.filePath(file);
    RecordFile records;
    QVERIFY(records.open(path, password));
    QCOMPARE(records.fields(), fields);
    QCOMPARE(records.count(), record.isEmpty() ? 0 : 1);
    for (qsizetype i = 0; i < record.size(); ++i)
        QCOMPARE(records.read(fields[i].name), record[i]);
    records.close();
    // Only its own password opens it.
    if (!password.isEmpty())
        QVERIFY(!records.open(path, QString()));
    QVERIFY(!QFileInfo::exists(path + u".new"_qs));
}

void ProvisionTest::keepsRecordFilesUnlessReset() {
    QTemporaryDir dir;
    const QString path = dir.filePath(recordpasswords::kPropertyFile);
    const QString password = recordpasswords::propertyPassword();
    auto lockPassword = [&] {
        RecordFile file;
        return file.open(path, password) ? file.read(u"锁定密码"_qs).toString() : u"(no open)"_qs;
    };
    QVERIFY(provision::run({dir.path(), u"h"_qs, false, false}).isEmpty());
    {
        RecordFile file;
        QVERIFY(file.open(path, password));
        QVERIFY(file.write(u"锁定密码"_qs, u"777"_qs));
    }
    QVERIFY(provision::run({dir.path(), u"h"_qs, false, false}).isEmpty());
    QCOMPARE(lockPassword(), u"777"_qs);
    QVERIFY(provision::run({dir.path(), u"h"_qs, false, true}).isEmpty());
    QCOMPARE(lockPassword(), u"526"_qs);
}

QTEST_GUILESS_MAIN(ProvisionTest)
#include "test_provision.moc"
