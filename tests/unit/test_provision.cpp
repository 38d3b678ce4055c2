// The provisioning tool lays down a program directory's installation files.
#include "alerts/alert_rules.h"
#include "core/endpoints.h"
#include "provisioner.h"
#include "records/passwords.h"
#include "records/record_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "support/program_dir.h"

#include <QDirIterator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

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
    void templateGivesMissingKeys();
    void upgradesAnOlderDirectory();
    void endpointLinesStayAsWritten();
    void onlyTheUserReachesTheFiles_data();
    void onlyTheUserReachesTheFiles();
};

namespace {

QString endpoint(const QString& dir, const QString& key) {
    for (const endpoints::Entry& entry : endpoints::readEntries(dir + u"/endpoints.ini"_qs))
        if (entry.key == key)
            return entry.value;
    return {};
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The permission bits of `path`, as ls shows them in octal.
int mode(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
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
        QCOMPARE(settings::readItem(config, info.section, info.key), provision::firstValue(info));
    }
    // The alerts' first start sounds the first built-in sound instead of
    // asking for a music file nobody chose.
    const alertrules::SoundChoice sound = alertrules::soundChoice(settings::Snapshot::load(config));
    QVERIFY(sound.builtIn);
    QCOMPARE(sound.builtInNumber, 1);
    QCOMPARE(endpoint(dir.path(), endpoints::key::quotePortalHost), u"127.0.0.1:1234"_qs);
    // Every chart comes from the demo portal too.
    for (const QString& key : {endpoints::key::chartImageHost, endpoints::key::chartImageIntlHost,
                               endpoints::key::klineChartHost, endpoints::key::partnerChartHost})
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
    // The strip and the desktop chart open readable on a first start.
    QCOMPARE(settings::readItem(config, u"浮动窗口"_qs, u"透明度"_qs), u"98"_qs);
    QCOMPARE(settings::readItem(config, u"浮动窗口"_qs, u"刷新速度"_qs), u"15"_qs);

    // Without an explicit portal, an endpoint the user changed stays.
    QVERIFY(setEndpoint(dir.filePath(u"endpoints.ini"_qs), endpoints::key::quotePortalHost,
                        u"quotes.example:80"_qs));
    QVERIFY(provision::run({dir.path(), u"127.0.0.1:1"_qs, false, false}).isEmpty());
    QCOMPARE(endpoint(dir.path(), endpoints::key::quotePortalHost), u"quotes.example:80"_qs);
}

void ProvisionTest::explicitPortalRepointsEndpoints() {
    QTemporaryDir dir;
    QVERIFY(provision::run({dir.path(), u"127.0.0.1:1"_qs, true, false}).isEmpty());
    QVERIFY(provision::run({dir.path(), u"127.0.0.1:2"_qs, true, false}).isEmpty());
    QCOMPARE(endpoint(dir.path(), endpoints::key::quotePortalHost), u"127.0.0.1:2"_qs);
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

void ProvisionTest::templateGivesMissingKeys() {
    QTemporaryDir defaults;
    QTemporaryDir dir;
    using namespace settings;
    QVERIFY(writeItem(defaults.filePath(u"config.ini"_qs), key::stripOpacity, u"200"_qs));
    QVERIFY(writeItem(defaults.filePath(u"config.ini"_qs), key::floatingAtStart, u"1"_qs));
    const QString defaultEndpoints = defaults.filePath(u"endpoints.ini"_qs);
    QVERIFY(setEndpoint(defaultEndpoints, endpoints::key::quotePortalHost, u"quotes.example:80"_qs));
    QVERIFY(setEndpoint(defaultEndpoints, endpoints::key::productPageUrl, u"http://quotes.example/"_qs));
    const QString config = dir.filePath(u"config.ini"_qs);
    QVERIFY(writeItem(config, key::floatingAtStart, u"0"_qs));
    QVERIFY(setEndpoint(dir.filePath(u"endpoints.ini"_qs), endpoints::key::productPageUrl,
                        u"http://mine.example/"_qs));
    provision::Options options{dir.path(), u"127.0.0.1:1"_qs, false, false, defaults.path()};
    QVERIFY(provision::run(options).isEmpty());
    QCOMPARE(readItem(config, key::stripOpacity), u"200"_qs);
    QCOMPARE(readItem(config, key::floatingAtStart), u"0"_qs);
    QCOMPARE(readItem(config, key::designedLayout), u"0"_qs);
    QCOMPARE(endpoint(dir.path(), endpoints::key::quotePortalHost), u"quotes.example:80"_qs);
    QCOMPARE(endpoint(dir.path(), endpoints::key::productPageUrl), u"http://mine.example/"_qs);
    QCOMPARE(endpoint(dir.path(), endpoints::key::icbcSiteUrl), u"https://www.icbc.com.cn/"_qs);
}

// A user's directory as an earlier version left it (tests/data/older-user-dir:
// made by that version's tool, then used: changed settings and endpoints, a
// key of the user's own, a new lock password, a ledger entry, and fewer keys
// than the tables now name). A newer tool adds what is missing and keeps
// every value and record.
void ProvisionTest::upgradesAnOlderDirectory() {
    QTemporaryDir dir;
    const QString source = QStringLiteral(AURIVEX_TEST_DATA_DIR) + u"/older-user-dir"_qs;
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = dir.path() + file.mid(source.size());
        QDir().mkpath(QFileInfo(target).path());
        QVERIFY(QFile::copy(file, target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    const QString config = dir.filePath(u"config.ini"_qs);
    const settings::Snapshot before = settings::Snapshot::load(config);
    QSettings older(dir.filePath(u"endpoints.ini"_qs), QSettings::IniFormat);
    older.beginGroup(u"endpoints"_qs);
    QVariantMap endpointsBefore;
    for (const QString& key : older.childKeys())
        endpointsBefore.insert(key, older.value(key));
    int missingBefore = 0;
    for (const settings::KeyInfo& info : settings::allKeys())
        missingBefore += before.keyExists(info.section, info.key) ? 0 : 1;
    QVERIFY(missingBefore > 0);
    QVERIFY(endpointsBefore.size() < provision::endpointDefaults(u"h"_qs).size());

    QVERIFY(provision::run({dir.path(), u"127.0.0.1:1"_qs, false, false}).isEmpty());

    const settings::Snapshot after = settings::Snapshot::load(config);
    for (const settings::KeyInfo& info : settings::allKeys()) {
        const QString name = info.section + u'/' + info.key;
        QVERIFY2(after.keyExists(info.section, info.key), qPrintable(name));
        if (before.keyExists(info.section, info.key))
            QVERIFY2(after.item(info) == before.item(info), qPrintable(name));
    }
    QCOMPARE(settings::readItem(config, u"自己的"_qs, u"键"_qs), u"值"_qs);
    for (const provision::Endpoint& defaults : provision::endpointDefaults(u"h"_qs)) {
        const QString value = endpoint(dir.path(), defaults.key);
        QVERIFY2(!value.isEmpty(), qPrintable(defaults.key));
        if (endpointsBefore.contains(defaults.key))
            QCOMPARE(value, endpointsBefore.value(defaults.key).toString());
    }

    // The records open with today's layouts and hold what the user left.
    using namespace recordpasswords;
    RecordFile property;
    QVERIFY(property.open(dir.filePath(kPropertyFile), propertyPassword()));
    QCOMPARE(property.fields(), propertyFields());
    QCOMPARE(property.read(u"锁定密码"_qs).toString(), u"777"_qs);
    property.close();
    RecordFile ledger;
    QVERIFY(ledger.open(dir.filePath(kLedgerFile), QString()));
    QCOMPARE(ledger.fields(), ledgerFields());
    QCOMPARE(ledger.count(), 1);
}

// Values hold ";" and ",", and the user's comments and keys stay where they
// are: missing keys join the section, a new portal changes its keys in place.
void ProvisionTest::endpointLinesStayAsWritten() {
    QTemporaryDir dir;
    QTemporaryDir defaults;
    QVERIFY(writeFile(defaults.filePath(u"endpoints.ini"_qs),
                      "[endpoints]\nicbcSiteUrl=https://bank.example/a;b,c\n"));
    const QByteArray mine = "; my own endpoints\n"
                            "[endpoints]\n"
                            "productPageUrl = http://host/upgrade;jsessionid=AB12?x=1\n"
                            "tvStartStream=http://h/live.m3u8?codecs=avc1,mp4a\n"
                            "myOwnKey=1,2;3\n"
                            "\n"
                            "[notes]\n"
                            "kept=yes\n";
    const QString path = dir.filePath(u"endpoints.ini"_qs);
    QVERIFY(writeFile(path, mine));
    provision::Options options{dir.path(), u"127.0.0.1:1"_qs, false, false, defaults.path()};
    QVERIFY(provision::run(options).isEmpty());
    const QByteArray after = fileBytes(path);
    QVERIFY2(after.startsWith(mine.left(mine.indexOf("\n\n") + 1)), after.constData());
    QVERIFY(after.endsWith("\n[notes]\nkept=yes\n"));
    QCOMPARE(endpoint(dir.path(), endpoints::key::productPageUrl),
             u"http://host/upgrade;jsessionid=AB12?x=1"_qs);
    QCOMPARE(endpoint(dir.path(), endpoints::key::icbcSiteUrl), u"https://bank.example/a;b,c"_qs);
    for (const provision::Endpoint& defaultValue : provision::endpointDefaults(u"h"_qs))
        QVERIFY2(!endpoint(dir.path(), defaultValue.key).isEmpty(), qPrintable(defaultValue.key));
    // A new portal changes its keys where they stand.
    options.portalGiven = true;
    QVERIFY(provision::run(options).isEmpty());
    const endpoints::Entry first = endpoints::readEntries(path).first();
    QCOMPARE(first.key, endpoints::key::productPageUrl);
    QCOMPARE(first.value, u"http://127.0.0.1:1/product/index.html"_qs);
}

void ProvisionTest::onlyTheUserReachesTheFiles_data() {
    QTest::addColumn<bool>("upgrade"); // a directory an older version made with the umask's modes
    QTest::newRow("new") << false;
    QTest::newRow("upgraded") << true;
}

void ProvisionTest::onlyTheUserReachesTheFiles() {
    QFETCH(bool, upgrade);
    QTemporaryDir root;
    const QString dir = root.filePath(u"Aurivex"_qs);
    QVERIFY(provision::run({dir, u"h"_qs, false, false}).isEmpty());
    QStringList files = {u"config.ini"_qs, u"endpoints.ini"_qs};
    for (const QString& name : QDir(dir + u"/DataBase"_qs).entryList(QDir::Files))
        files << u"DataBase/"_qs + name;
    QCOMPARE(files.size(), 6);
    if (upgrade) {
        QVERIFY(::chmod(QFile::encodeName(dir).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir + u"/DataBase"_qs).constData(), 0755) == 0);
        // A journal an interrupted action left, made with its file's modes.
        QVERIFY(writeFile(dir + u"/DataBase/transaction.edb-journal"_qs, {}));
        files << u"DataBase/transaction.edb-journal"_qs;
        for (const QString& name : files)
            QVERIFY(::chmod(QFile::encodeName(dir + u'/' + name).constData(), 0644) == 0);
        QVERIFY(provision::run({dir, u"h"_qs, false, false}).isEmpty());
    }
    // A new directory is the user's alone; an existing one keeps its own modes.
    QCOMPARE(mode(dir), upgrade ? 0755 : 0700);
    QCOMPARE(mode(dir + u"/DataBase"_qs), 0700);
    for (const QString& name : files)
        QVERIFY2(mode(dir + u'/' + name) == 0600,
                 qPrintable(name + u' ' + QString::number(mode(dir + u'/' + name), 8)));
}

QTEST_GUILESS_MAIN(ProvisionTest)
#include "test_provision.moc"
