// Autostart as an XDG desktop entry: where it is written, what its Exec line
// says for awkward program paths, and that disabling undoes enabling.
#include "platform/xdg_autostart.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class XdgAutostartTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void entryFollowsTheConfigHome_data();
    void entryFollowsTheConfigHome();
    void execNamesTheProgramAsOneArgument_data();
    void execNamesTheProgramAsOneArgument();
    void disableUndoesEnable();
    void unwritableFolderFailsWithoutAnEntry();
    void iconBesideTheProgramIsNamedByPath();
    void lineBreakInThePathIsRefused();

private:
    static QStringList lines(const QString& path);

    std::unique_ptr<QTemporaryDir> dir;
    QByteArray savedHome, savedConfigHome;
};

void XdgAutostartTest::init() {
    dir = std::make_unique<QTemporaryDir>();
    savedHome = qgetenv("HOME");
    savedConfigHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(dir->filePath(u"home"_s)));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir->filePath(u"config"_s)));
}

void XdgAutostartTest::cleanup() {
    qputenv("HOME", savedHome);
    qputenv("XDG_CONFIG_HOME", savedConfigHome);
    dir.reset();
}

QStringList XdgAutostartTest::lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void XdgAutostartTest::entryFollowsTheConfigHome_data() {
    QTest::addColumn<QString>("configHome"); // "-" for unset, "@" for the temporary folder
    QTest::addColumn<QString>("expected");   // relative to the temporary folder
    QTest::newRow("set") << u"@/config"_s << u"config/autostart/aurivex.desktop"_s;
    QTest::newRow("unset") << u"-"_s << u"home/.config/autostart/aurivex.desktop"_s;
    QTest::newRow("empty") << u""_s << u"home/.config/autostart/aurivex.desktop"_s;
    // A relative value is invalid and ignored.
    QTest::newRow("relative") << u"config"_s << u"home/.config/autostart/aurivex.desktop"_s;
}

void XdgAutostartTest::entryFollowsTheConfigHome() {
    QFETCH(QString, configHome);
    QFETCH(QString, expected);
    if (configHome == u"-"_s)
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.replace(u'@', dir->path())));
    XdgAutostart autostart;
    QVERIFY(!autostart.isEnabled());
    QVERIFY(autostart.enable(u"/opt/aurivex/Aurivex"_s, {}));
    QVERIFY(autostart.isEnabled());
    QVERIFY2(QFile::exists(dir->filePath(expected)), qPrintable(autostart.entryPath()));
}

void XdgAutostartTest::execNamesTheProgramAsOneArgument_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << u"/opt/aurivex/Aurivex"_s << u""_s << uR"(Exec="/opt/aurivex/Aurivex")"_s;
    QTest::newRow("blanks and CJK") << u"/home/li lei/纸黄金/Aurivex"_s << u""_s
                                    << uR"(Exec="/home/li lei/纸黄金/Aurivex")"_s;
    QTest::newRow("percent") << u"/tmp/100%/Aurivex"_s << u""_s << uR"(Exec="/tmp/100%%/Aurivex")"_s;
    // Escaped for the quotes, then the backslashes escaped for the value.
    QTest::newRow("quote, dollar, backquote, backslash")
        << uR"(/tmp/a"b$c`d\e/Aurivex)"_s << u""_s << uR"(Exec="/tmp/a\\"b\\$c\\`d\\\\e/Aurivex")"_s;
    // A profile of its own is started at login with its directory again.
    QTest::newRow("own profile") << u"/opt/aurivex/Aurivex"_s << u"/home/li lei/账户 2/"_s
                                 << uR"(Exec=env "AURIVEX_HOME=/home/li lei/账户 2/" "/opt/aurivex/Aurivex")"_s;
    QTest::newRow("own profile, dollar and percent")
        << u"/opt/aurivex/Aurivex"_s << u"/srv/$x/100%/"_s
        << uR"(Exec=env "AURIVEX_HOME=/srv/\\$x/100%%/" "/opt/aurivex/Aurivex")"_s;
}

void XdgAutostartTest::execNamesTheProgramAsOneArgument() {
    QFETCH(QString, program);
    QFETCH(QString, home);
    QFETCH(QString, exec);
    XdgAutostart autostart;
    QVERIFY(autostart.enable(program, home));
    const QStringList entry = lines(autostart.entryPath());
    QCOMPARE(entry.value(0), u"[Desktop Entry]"_s);
    QVERIFY(entry.contains(u"Type=Application"_s));
    QVERIFY(entry.contains(u"Name=Aurivex"_s));
    QVERIFY(entry.contains(u"Terminal=false"_s));
    QCOMPARE(entry.filter(QRegularExpression(u"^Icon=."_s)).size(), 1);
    QCOMPARE(entry.filter(QRegularExpression(u"^Exec="_s)), QStringList{exec});
}

void XdgAutostartTest::disableUndoesEnable() {
    XdgAutostart autostart;
    QVERIFY(autostart.disable()); // nothing to remove is no failure
    QVERIFY(autostart.enable(u"/old/Aurivex"_s, {}));
    QVERIFY(autostart.enable(u"/new/Aurivex"_s, {}));
    QVERIFY(lines(autostart.entryPath()).contains(uR"(Exec="/new/Aurivex")"_s));
    QVERIFY(autostart.disable());
    QVERIFY(!autostart.isEnabled());
    QVERIFY(!QFile::exists(autostart.entryPath()));
    // No temporary file of the atomic write is left behind.
    QCOMPARE(QDir(dir->filePath(u"config/autostart"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
}

void XdgAutostartTest::unwritableFolderFailsWithoutAnEntry() {
    // A file where the autostart folder belongs (permissions do not stop root).
    QVERIFY(QDir().mkpath(dir->filePath(u"config"_s)));
    QFile blocker(dir->filePath(u"config/autostart"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    XdgAutostart autostart;
    QVERIFY(!autostart.enable(u"/opt/aurivex/Aurivex"_s, {}));
    QVERIFY(!autostart.isEnabled());
}

void XdgAutostartTest::iconBesideTheProgramIsNamedByPath() {
    XdgAutostart autostart;
    QVERIFY(autostart.enable(dir->filePath(u"prog/Aurivex"_s), {}));
    // Without an icon file beside the program, the installed theme icon.
    QVERIFY(lines(autostart.entryPath()).contains(u"Icon=aurivex"_s));
    QVERIFY(QDir().mkpath(dir->filePath(u"prog"_s)));
    QFile icon(dir->filePath(u"prog/aurivex.png"_s));
    QVERIFY(icon.open(QIODevice::WriteOnly));
    icon.close();
    QVERIFY(autostart.enable(dir->filePath(u"prog/Aurivex"_s), {}));
    QVERIFY(lines(autostart.entryPath()).contains(u"Icon="_s + dir->filePath(u"prog/aurivex.png"_s)));
}

void XdgAutostartTest::lineBreakInThePathIsRefused() {
    // It would end the Exec line and start a line of its own.
    XdgAutostart autostart;
    QVERIFY(!autostart.enable(u"/tmp/x\nExec=/bin/evil/Aurivex"_s, {}));
    QVERIFY(!autostart.enable(u"/opt/aurivex/Aurivex"_s, u"/tmp/x\rExec=/bin/evil/"_s));
    QVERIFY(!autostart.isEnabled());
}

QTEST_GUILESS_MAIN(XdgAutostartTest)
#include "test_xdg_autostart.moc"
