// The shell's desktop decisions: the about window's fade, where the trading
// terminal is looked for and when it runs, the display platform, and the key
// that keeps one program per directory.
#include "app/desktop_rules.h"

#include <QTest>

using namespace Qt::StringLiterals;
using desktop::TerminalLaunch;

class DesktopRulesTest : public QObject {
    Q_OBJECT
private slots:
    void aboutFadeReachesOpaqueAndStays();
    void hostPath_data();
    void hostPath();
    void terminalLaunch_data();
    void terminalLaunch();
    void winePrefix_data();
    void winePrefix();
    void forcedPlatform_data();
    void forcedPlatform();
    void instanceKeyIsOnePerDirectory();
    void commandLine_data();
    void commandLine();
};

void DesktopRulesTest::aboutFadeReachesOpaqueAndStays() {
    // The first opening: 0, 15, ... 255 over 18 ticks.
    QList<int> first;
    for (int counter = 0; counter < desktop::kAboutFadeEnd; ++counter)
        first << desktop::aboutFadeOpacity(counter);
    QCOMPARE(first.first(), 0);
    QCOMPARE(first.value(1), 15);
    QCOMPARE(first.last(), 255);
    QVERIFY(std::is_sorted(first.begin(), first.end()));
    // Later openings start past the end: 18 × 15 = 270 is held at opaque.
    QCOMPARE(desktop::aboutFadeOpacity(desktop::kAboutFadeEnd), 255);
    QCOMPARE(desktop::aboutFadeOpacity(1000), 255);
}

void DesktopRulesTest::hostPath_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("default location")
        << desktop::defaultTerminalPath() << u"/p/dosdevices/c:/Program Files/MetaTrader 4/terminal.exe"_s;
    QTest::newRow("other drive, forward slashes")
        << u"D:/MT4/terminal.exe"_s << u"/p/dosdevices/d:/MT4/terminal.exe"_s;
    QTest::newRow("a path of this system") << u"/opt/mt4/terminal.exe"_s << u"/opt/mt4/terminal.exe"_s;
    QTest::newRow("empty") << u""_s << u""_s;
    QTest::newRow("drive without a separator") << u"C:terminal.exe"_s << u"C:terminal.exe"_s;
}

void DesktopRulesTest::hostPath() {
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QCOMPARE(desktop::hostPath(stored, u"/p"_s), expected);
}

void DesktopRulesTest::terminalLaunch_data() {
    QTest::addColumn<bool>("defaultExists");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("storedExists");
    QTest::addColumn<TerminalLaunch>("expected");
    // The default location wins; the stored path is not looked at.
    QTest::newRow("default there") << true << u"junk"_s << false << TerminalLaunch::RunDefault;
    QTest::newRow("stored there") << false << u"D:\\MT4\\terminal.exe"_s << true << TerminalLaunch::RunStored;
    QTest::newRow("stored unix path")
        << false << u"/opt/mt4/terminal.exe"_s << true << TerminalLaunch::RunStored;
    QTest::newRow("stored gone") << false << u"D:\\MT4\\terminal.exe"_s << false << TerminalLaunch::Nothing;
    QTest::newRow("letter case differs")
        << false << u"D:\\MT4\\Terminal.exe"_s << true << TerminalLaunch::AskForPath;
    QTest::newRow("other program") << false << u"D:\\MT4\\terminal.exe.bak"_s << true
                                   << TerminalLaunch::AskForPath;
    QTest::newRow("never set") << false << u""_s << false << TerminalLaunch::AskForPath;
    QTest::newRow("bare name") << false << u"terminal.exe"_s << false << TerminalLaunch::Nothing;
}

void DesktopRulesTest::terminalLaunch() {
    QFETCH(bool, defaultExists);
    QFETCH(QString, stored);
    QFETCH(bool, storedExists);
    QFETCH(TerminalLaunch, expected);
    QCOMPARE(desktop::decideTerminalLaunch(defaultExists, stored, storedExists), expected);
}

void DesktopRulesTest::winePrefix_data() {
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unset") << u""_s << u"/home/li/.wine"_s;
    QTest::newRow("set") << u"/data/wine64/"_s << u"/data/wine64"_s;
    QTest::newRow("relative is ignored") << u"wine64"_s << u"/home/li/.wine"_s;
}

void DesktopRulesTest::winePrefix() {
    QFETCH(QString, variable);
    QFETCH(QString, expected);
    QCOMPARE(desktop::winePrefix(variable, u"/home/li"_s), expected);
}

void DesktopRulesTest::forcedPlatform_data() {
    QTest::addColumn<QString>("qpa");
    QTest::addColumn<QString>("session");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("wayland session") << u""_s << u"wayland"_s << u"wayland-0"_s << u":0"_s << QStringList()
                                     << u"xcb"_s;
    QTest::newRow("wayland display only")
        << u""_s << u""_s << u"wayland-0"_s << u":0"_s << QStringList() << u"xcb"_s;
    QTest::newRow("x11 session") << u""_s << u"x11"_s << u""_s << u":0"_s << QStringList() << u""_s;
    QTest::newRow("user chose wayland")
        << u"wayland"_s << u"wayland"_s << u"wayland-0"_s << u":0"_s << QStringList() << u""_s;
    QTest::newRow("user chose on the command line") << u""_s << u"wayland"_s << u"wayland-0"_s << u":0"_s
                                                    << QStringList{u"-platform"_s, u"wayland"_s} << u""_s;
    // Without XWayland there is no X display to go to.
    QTest::newRow("no xwayland") << u""_s << u"wayland"_s << u"wayland-0"_s << u""_s << QStringList()
                                 << u""_s;
}

void DesktopRulesTest::forcedPlatform() {
    QFETCH(QString, qpa);
    QFETCH(QString, session);
    QFETCH(QString, wayland);
    QFETCH(QString, display);
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QCOMPARE(desktop::forcedPlatform(qpa, session, wayland, display, arguments), expected);
}

void DesktopRulesTest::instanceKeyIsOnePerDirectory() {
    const QString a = desktop::instanceKey(u"/home/li/Aurivex"_s);
    QCOMPARE(desktop::instanceKey(u"/home/li/Aurivex/"_s), a);
    QVERIFY(desktop::instanceKey(u"/home/li/Aurivex2"_s) != a);
    QVERIFY(a.size() < 40);
}

void DesktopRulesTest::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("startAddress");
    QTest::addColumn<bool>("error");
    QTest::newRow("nothing") << QStringList() << u""_s << u""_s << false;
    QTest::newRow("first page") << QStringList{u"http://a/"_s, u"x"_s} << u""_s << u"http://a/"_s << false;
    QTest::newRow("home, then first page")
        << QStringList{u"--home"_s, u"/h o/me"_s, u"http://a/"_s} << u"/h o/me"_s << u"http://a/"_s << false;
    // Only a leading pair names the directory.
    QTest::newRow("home after the page")
        << QStringList{u"http://a/"_s, u"--home"_s, u"/h"_s} << u""_s << u"http://a/"_s << false;
    QTest::newRow("home without a directory") << QStringList{u"--home"_s} << u""_s << u""_s << true;
}

void DesktopRulesTest::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, home);
    QFETCH(QString, startAddress);
    QFETCH(bool, error);
    const desktop::CommandLine line = desktop::parseCommandLine(arguments);
    QCOMPARE(line.home, home);
    QCOMPARE(line.startAddress, startAddress);
    QCOMPARE(!line.error.isEmpty(), error);
}

QTEST_GUILESS_MAIN(DesktopRulesTest)
#include "test_desktop_rules.moc"
