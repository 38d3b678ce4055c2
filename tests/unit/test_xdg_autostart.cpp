// Autostart as an XDG desktop entry: where it is written, what its Exec line
// says for awkward program paths, that a real launcher starts what it says,
// and that disabling undoes enabling.
#include "platform/xdg_autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
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
    void startedByARealLauncher_data();
    void startedByARealLauncher();

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
    // GLib looks for the first word as a file before it turns %% into %.
    QTest::newRow("percent") << u"/tmp/100%/Aurivex"_s << u""_s
                             << uR"(Exec=/bin/sh -c "exec \\"\\$0\\" \\"\\$@\\"" "/tmp/100%%/Aurivex")"_s;
    // Escaped for the quotes, then the backslashes escaped for the value.
    QTest::newRow("quote, dollar, backquote, backslash")
        << uR"(/tmp/a"b$c`d\e/Aurivex)"_s << u""_s << uR"(Exec="/tmp/a\\"b\\$c\\`d\\\\e/Aurivex")"_s;
    // A profile of its own is started at login with its directory again.
    QTest::newRow("own profile") << u"/opt/aurivex/Aurivex"_s << u"/home/li lei/账户 2/"_s
                                 << uR"(Exec="/opt/aurivex/Aurivex" --home "/home/li lei/账户 2/")"_s;
    QTest::newRow("own profile, dollar and percent")
        << u"/opt/a=1/Aurivex"_s << u"/srv/$x/100%/"_s
        << uR"(Exec="/opt/a=1/Aurivex" --home "/srv/\\$x/100%%/")"_s;
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
    // A removed program's entry is passed over at login.
    QCOMPARE(entry.filter(QRegularExpression(u"^TryExec="_s)),
             QStringList{u"TryExec="_s + QString(program).replace(u"\\"_s, u"\\\\"_s)});
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

void XdgAutostartTest::startedByARealLauncher_data() {
    QTest::addColumn<QString>("folder"); // of the program, under the temporary folder
    QTest::addColumn<QString>("home");
    QTest::newRow("plain") << u"opt/aurivex"_s << u""_s;
    QTest::newRow("blanks and CJK, own profile") << u"li lei/纸黄金"_s << u"/home/li lei/账户 2"_s;
    QTest::newRow("equals sign") << u"opt=1/aurivex"_s << u"/srv/a=b"_s;
    QTest::newRow("percent") << u"100%/aurivex"_s << u"/srv/50%u"_s;
    QTest::newRow("dollar, quotes, backquote, backslash") << uR"(a"b$c`d\e'f)"_s << uR"(/srv/$HOME "x" \y)"_s;
}

void XdgAutostartTest::startedByARealLauncher() {
    QFETCH(QString, folder);
    QFETCH(QString, home);
    const QString gio = QStandardPaths::findExecutable(u"gio"_s);
    if (gio.isEmpty())
        QSKIP("gio (libglib2.0-bin) is not installed");
    // A stand-in for the program that writes down how it was started.
    const QString program = dir->filePath(folder + u"/Aurivex"_s);
    QVERIFY(QDir().mkpath(QFileInfo(program).path()));
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$AURIVEX_TEST_ARGS\"\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    XdgAutostart autostart;
    QVERIFY(autostart.enable(program, home));

    const QString out = dir->filePath(u"args"_s);
    const auto launch = [&] {
        QProcess launcher;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"AURIVEX_TEST_ARGS"_s, out);
        launcher.setProcessEnvironment(environment);
        launcher.start(gio, {u"launch"_s, autostart.entryPath()});
        return launcher.waitForFinished(20000) && launcher.exitStatus() == QProcess::NormalExit &&
               launcher.exitCode() == 0;
    };
    QVERIFY(launch());
    const QStringList expected =
        home.isEmpty() ? QStringList{u"0"_s} : QStringList{u"2"_s, u"--home"_s, home};
    QTRY_COMPARE_WITH_TIMEOUT(lines(out), expected, 10000);

    // Once the program is gone, its entry starts nothing.
    QVERIFY(QFile::remove(program));
    QVERIFY(QFile::remove(out));
    QVERIFY(!launch());
    QVERIFY(!QFile::exists(out));
}

QTEST_GUILESS_MAIN(XdgAutostartTest)
#include "test_xdg_autostart.moc"
