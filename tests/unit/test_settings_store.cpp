// "config.ini" is a GBK INI file that the program edits one key at a time.
#include "core/number_text.h"
#include "platform/gbk.h"
#include "settings/config_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <climits>
#include <csignal>
#include <sys/resource.h>

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void readsHandWrittenFile_data();
    void readsHandWrittenFile();
    void writeChangesOnlyItsKey_data();
    void writeChangesOnlyItsKey();
    void valuesReadBackUnchangedOrAreRefused_data();
    void valuesReadBackUnchangedOrAreRefused();
    void failedWriteKeepsOldFile();
    void oversizedFileIsMissingAndNeverWritten_data();
    void oversizedFileIsMissingAndNeverWritten();
    void conversions_data();
    void conversions();
    void typedKeysWriteTheirForms();
    void everyTableKeyHoldsItsOwnValue();
};

namespace {

QByteArray g(const QString& text) {
    return gbk::encode(text);
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

void SettingsStoreTest::readsHandWrittenFile_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("literal GBK bytes") << u"常规选项"_qs << u"启动"_qs << u"1"_qs;
    QTest::newRow("spaces around =") << u"常规选项"_qs << u"界面"_qs << u"2"_qs;
    QTest::newRow("quoted") << u"路径"_qs << u"MT4目录"_qs << u" C:\\交易\\terminal.exe "_qs;
    QTest::newRow("after odd bytes") << u"路径"_qs << u"Key"_qs << u"值"_qs;
    QTest::newRow("case differs") << u"路径"_qs << u"key"_qs << QString();
    QTest::newRow("absent key") << u"常规选项"_qs << u"浮动"_qs << QString();
    QTest::newRow("absent section") << u"提醒设置"_qs << u"启动"_qs << QString();
}

void SettingsStoreTest::readsHandWrittenFile() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"config.ini"_qs);
    QCOMPARE(settings::readItem(path, section, key), QString());
    QVERIFY(!settings::fileExists(path));
    put(path, "; \xC5\xE4\xD6\xC3\r\n[\xB3\xA3\xB9\xE6\xD1\xA1\xCF\xEE]\r\n\xC6\xF4\xB6\xAF=1\r\n" +
                  g(u" 界面 = 2 \r\n"_qs) + g(u"[路径]\r\nMT4目录=\" C:\\交易\\terminal.exe \"\r\n"_qs) +
                  "junk \xFF\xB3\r\n" + g(u"Key=值"_qs));
    QVERIFY(settings::fileExists(path));
    QCOMPARE(settings::readItem(path, section, key), value);
    QCOMPARE(settings::keyExists(path, section, key), !value.isEmpty());

    // Every read goes to the file.
    put(path, g(u"[%1]\n%2=new\n"_qs.arg(section, key)));
    QCOMPARE(settings::readItem(path, section, key), u"new"_qs);
}

void SettingsStoreTest::writeChangesOnlyItsKey_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("after");
    const QString file =
        u"; 注释\r\n[常规选项]\r\n启动 = 0\r\n未知=x\r\n\r\n; 下一节\r\n[路径]\r\nMT4目录=\r\n"_qs;
    QTest::newRow("replace") << g(file) << u"常规选项"_qs << u"启动"_qs
                             << g(QString(file).replace(u"启动 = 0"_qs, u"启动 =值"_qs));
    QTest::newRow("add key") << g(file) << u"常规选项"_qs << u"界面"_qs
                             << g(QString(file).replace(u"未知=x\r\n"_qs, u"未知=x\r\n界面=值\r\n"_qs));
    QTest::newRow("add section") << g(file) << u"浮动窗口"_qs << u"置前"_qs
                                 << g(file + u"\r\n[浮动窗口]\r\n置前=值\r\n"_qs);
    QTest::newRow("no final break") << g(u"[a]\nb=1"_qs) << u"a"_qs << u"c"_qs << g(u"[a]\nb=1\nc=值"_qs);
    QTest::newRow("missing file") << QByteArray() << u"路径"_qs << u"MT4目录"_qs
                                  << g(u"[路径]\nMT4目录=值\n"_qs);
    QTest::newRow("last duplicate is the one read")
        << g(u"[a]\nk=1\n[b]\n[a]\nk=2\n"_qs) << u"a"_qs << u"k"_qs << g(u"[a]\nk=1\n[b]\n[a]\nk=值\n"_qs);
    QTest::newRow("odd bytes and lines stay")
        << QByteArray("[a]\n\xFF\xFE\x81\nno equals sign\nk=1\n") << u"a"_qs << u"k"_qs
        << "[a]\n\xFF\xFE\x81\nno equals sign\nk=" + g(u"值"_qs) + '\n';
    // The parser files keys after an unclosed '[' under a garbled section name.
    QTest::newRow("unclosed [") << g(u"[a]\n[broken\nk=1\n"_qs) << u"a"_qs << u"k"_qs
                                << g(u"[a]\nk=值\n[broken\nk=1\n"_qs);
    // The parser stops at a NUL byte, so a new section goes before it.
    QTest::newRow("NUL byte") << QByteArray("[a]\nk=1\n\0tail", 13) << u"b"_qs << u"k"_qs
                              << "[a]\nk=1\n\n[b]\nk=" + g(u"值"_qs) + QByteArray("\n\0tail", 6);
}

void SettingsStoreTest::writeChangesOnlyItsKey() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"config.ini"_qs);
    if (!before.isEmpty())
        put(path, before);
    QVERIFY(settings::writeItem(path, section, key, u"值"_qs));
    QCOMPARE(contents(path), after);
    QCOMPARE(settings::readItem(path, section, key), u"值"_qs);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"config.ini"_qs});
}

void SettingsStoreTest::valuesReadBackUnchangedOrAreRefused_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("storable");
    for (const QString& value :
         {u""_qs, u"913.27"_qs, u" lead"_qs, u"trail\t"_qs, u"  "_qs, u"a=b"_qs, u"\"quoted\""_qs, u"\""_qs,
          u"\"\""_qs, u"\" x"_qs, u"x;y#z"_qs, u";lead"_qs, u"#lead"_qs, u"[x]"_qs, u"<<<END"_qs})
        QTest::newRow(qPrintable(u'<' + value + u'>')) << u"k"_qs << value << true;
    QTest::newRow("line break") << u"k"_qs << u"a\nnext=9"_qs << false;
    QTest::newRow("carriage return") << u"k"_qs << u"a\r"_qs << false;
    QTest::newRow("not in GBK") << u"k"_qs << u"a\U0001F600"_qs << false;
    QTest::newRow("key with =") << u"a=b"_qs << u"1"_qs << false;
    QTest::newRow("padded key") << u" k"_qs << u"1"_qs << false;
}

void SettingsStoreTest::valuesReadBackUnchangedOrAreRefused() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, storable);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"config.ini"_qs);
    const QByteArray before = g(u"[s]\nk=old\nnext=2\n"_qs);
    put(path, before);
    QCOMPARE(settings::writeItem(path, u"s"_qs, key, value), storable);
    if (!storable) {
        QCOMPARE(contents(path), before);
        return;
    }
    QVERIFY(settings::writeItem(path, u"s"_qs, u"added"_qs, value));
    QCOMPARE(settings::readItem(path, u"s"_qs, key), value);
    QCOMPARE(settings::readItem(path, u"s"_qs, u"added"_qs), value);
    QCOMPARE(settings::readItem(path, u"s"_qs, u"next"_qs), u"2"_qs);
}

void SettingsStoreTest::failedWriteKeepsOldFile() {
    QTemporaryDir dir;
    const QString blocker = dir.filePath(u"file"_qs);
    put(blocker, "x");
    // A file below a plain file cannot be created, not even by root.
    QVERIFY(!settings::writeItem(blocker + u"/config.ini"_qs, u"s"_qs, u"k"_qs, u"1"_qs));
    QVERIFY(!settings::writeItem(dir.path(), u"s"_qs, u"k"_qs, u"1"_qs));

    // A write cut short (here by a file size limit, which binds root too) leaves
    // the old file whole and no temporary file behind.
    const QString path = dir.filePath(u"config.ini"_qs);
    const QByteArray before = g(u"[s]\nk=old\n"_qs) + QByteArray(200, '#') + '\n';
    put(path, before);
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 64;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = settings::writeItem(path, u"s"_qs, u"k"_qs, u"new"_qs);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    QCOMPARE(contents(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{u"config.ini"_qs, u"file"_qs}));
}

void SettingsStoreTest::oversizedFileIsMissingAndNeverWritten_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("at the limit") << settings::kMaxFileBytes << true;
    QTest::newRow("one byte over") << settings::kMaxFileBytes + 1 << false;
    QTest::newRow("100 MB") << qint64(100) * 1024 * 1024 << false;
}

void SettingsStoreTest::oversizedFileIsMissingAndNeverWritten() {
    QFETCH(qint64, size);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"config.ini"_qs);
    const QByteArray head = g(u"[常规选项]\n界面=1\n"_qs);
    put(path, head);
    // A sparse tail of NUL bytes, where the parser stops: the key stays readable.
    QVERIFY(QFile::resize(path, size));

    const settings::Snapshot snapshot = settings::Snapshot::load(path);
    QCOMPARE(snapshot.exists(), accepted);
    QCOMPARE(settings::fileExists(path), accepted);
    QCOMPARE(settings::readItem(path, u"常规选项"_qs, u"界面"_qs), accepted ? u"1"_qs : QString());

    // Past the limit, or about to grow past it: the file is left as it was.
    QVERIFY(!settings::writeItem(path, u"常规选项"_qs, u"浮动"_qs, u"1"_qs));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.size(), size);
    QCOMPARE(file.read(head.size()), head);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"config.ini"_qs});
}

void SettingsStoreTest::conversions_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("integer");
    QTest::addColumn<bool>("on");
    QTest::newRow("1") << u"1"_qs << 1 << true;
    QTest::newRow("2") << u"2"_qs << 2 << false;
    QTest::newRow("yes") << u"yes"_qs << 0 << false;
    QTest::newRow("empty") << QString() << 0 << false;
    QTest::newRow("leading space") << u" \t1"_qs << 1 << true;
    QTest::newRow("leading zero") << u"01"_qs << 1 << true;
    QTest::newRow("-1") << u"-1"_qs << -1 << false;
    QTest::newRow("1.0") << u"1.0"_qs << 1 << true;
    QTest::newRow("12abc") << u"12abc"_qs << 12 << false;
    QTest::newRow("-2.9") << u"-2.9"_qs << -2 << false;
    QTest::newRow("beyond double") << u"2.99999999999999999999"_qs << 2 << false;
    QTest::newRow("just below one") << u"0.99999999999999999999"_qs << 0 << false;
    QTest::newRow("exponent") << u"1.5e2"_qs << 1 << true;
    QTest::newRow("sign apart") << u"- 1"_qs << 0 << false;
    QTest::newRow("above int") << u"2147483648"_qs << INT_MAX << false;
    QTest::newRow("huge negative") << u"-99999999999999999999999"_qs << INT_MIN << false;
    QTest::newRow("huge exponent") << u"1e999999999999"_qs << 1 << true;
}

void SettingsStoreTest::conversions() {
    QFETCH(QString, text);
    QFETCH(int, integer);
    QFETCH(bool, on);
    QCOMPARE(settings::Number::fromText(text), integer);
    QCOMPARE(settings::Flag::fromText(text), on);
}

void SettingsStoreTest::typedKeysWriteTheirForms() {
    QTemporaryDir dir;
    const settings::ConfigFile config(dir.filePath(u"config.ini"_qs));
    QVERIFY(!config.exists());
    QCOMPARE(config.value(settings::key::chartOpacity), 0);
    QVERIFY(config.write(settings::key::autoHide, true));
    QVERIFY(config.write(settings::key::stripOnTop, false));
    QVERIFY(config.write(settings::key::chartOpacity, -35));
    QVERIFY(config.write(settings::key::gainBuyPrice, u" 257.76 元"_qs));
    QCOMPARE(settings::readItem(config.path(), settings::key::autoHide), u"1"_qs);
    QCOMPARE(settings::readItem(config.path(), settings::key::stripOnTop), u"0"_qs);
    QCOMPARE(settings::readItem(config.path(), settings::key::chartOpacity), u"-35"_qs);
    const settings::Snapshot read = config.read();
    QVERIFY(read.value(settings::key::autoHide));
    QVERIFY(!read.value(settings::key::stripOnTop));
    QCOMPARE(read.value(settings::key::chartOpacity), -35);
    QCOMPARE(read.value(settings::key::gainBuyPrice), u" 257.76 元"_qs);
}

void SettingsStoreTest::everyTableKeyHoldsItsOwnValue() {
    const QList<settings::KeyInfo>& keys = settings::allKeys();
    const auto has = [&](const QString& section, const QString& key, settings::Form form) {
        return std::any_of(keys.begin(), keys.end(), [&](const settings::KeyInfo& info) {
            return info.section == section && info.key == key && info.form == form;
        });
    };
    QVERIFY(has(u"路径"_qs, u"MT4目录"_qs, settings::Form::Text));
    QVERIFY(has(u"声音提醒"_qs, u"系统声音"_qs, settings::Form::Integer));

    // A repeated or unstorable name would read back another key's number.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"config.ini"_qs);
    for (qsizetype i = 0; i < keys.size(); ++i)
        QVERIFY(settings::writeItem(path, keys[i].section, keys[i].key, QString::number(i)));
    for (qsizetype i = 0; i < keys.size(); ++i)
        QCOMPARE(settings::readItem(path, keys[i].section, keys[i].key), QString::number(i));
}

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "test_settings_store.moc"
