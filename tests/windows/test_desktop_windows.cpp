// The shell's desktop presence on the real main window with fake services:
// hiding to the tray and the fallback without one, the system settings, the
// external tools and the help, and the about window's fade.
#include "app/main_window.h"
#include "core/app_dir.h"
#include "platform/timer.h"
#include "provisioner.h"
#include "settings/settings_store.h"
#include "support/main_window_lookup.h"
#include "support/program_test.h"
#include "ui/window_alpha.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

const QStringList kGeneralBoxes = {u"选择框_随windows启动"_s, u"选择框_软件最佳界面启动"_s,
                                   u"选择框_运行浮动窗口"_s};
const QStringList kGoldBoxes = {u"选择框_不同步工行"_s, u"选择框_不同步建行"_s, u"选择框_不同步中行"_s,
                                u"选择框_自动开始提醒"_s};
const QList<settings::KeyInfo> kKeys = {settings::key::startWithSystem, settings::key::designedLayout,
                                        settings::key::floatingAtStart, settings::key::holdIcbc,
                                        settings::key::holdCcb,         settings::key::holdBoc,
                                        settings::key::alertsAtStart};

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class DesktopWindowsTest : public ProgramTest {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void hidingToTheTrayAndBack();
    void trayMenuStandsForTheCommands();
    void withoutATrayTheWindowIsMinimised();
    void systemSettingsLoadsAndSavesEachKey();
    void systemSettingsWithoutConfigWritesNothing();
    void failedSaveLeavesTheAutostartEntryAsItWas_data();
    void failedSaveLeavesTheAutostartEntryAsItWas();
    void terminalLaunch_data();
    void terminalLaunch();
    void terminalPathWindowStoresWhatIsTyped();
    void editorCalculatorAndHelp();
    void aboutFadesInOnceAndShowsTheVersion();

private:
    template <typename T> T* openChild(const QString& name) { return lookup::openWindow<T>(window, name); }
    QByteArray savedWinePrefix;
};

void DesktopWindowsTest::init() {
    startProgram();
    QVERIFY(provision::run({dir->path(), u"127.0.0.1:9"_s, true, false}).isEmpty());
    savedWinePrefix = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", QFile::encodeName(dir->filePath(u"wine"_s)));
}

void DesktopWindowsTest::cleanup() {
    endProgram();
    qputenv("WINEPREFIX", savedWinePrefix);
}

void DesktopWindowsTest::hidingToTheTrayAndBack() {
    open();
    FakeTray& tray = fakes->tray;
    QVERIFY(!tray.shown);
    QCOMPARE(lookup::toolbarButton(window, 12)->iconText(), u"隐藏窗口"_s);
    lookup::toolbarButton(window, 12)->trigger();
    QVERIFY(!window->isVisible());
    QVERIFY(tray.shown);
    QCOMPARE(tray.toolTip, u"Aurivex，双击打开主窗口！"_s);
    QVERIFY(!tray.icon.isNull());
    QCOMPARE(tray.messages.size(), 1);
    QCOMPARE(tray.messages[0].title, u"提示："_s);
    QCOMPARE(tray.messages[0].text, u"我跑到这里来了，双击我重新显示主窗口！"_s);
    // Hiding while hidden does nothing.
    lookup::toolbarButton(window, 12)->trigger();
    QCOMPARE(tray.messages.size(), 1);

    // A single, right or middle click does not bring the window back; a double-click does.
    emit tray.activated(Tray::Activation::Click);
    emit tray.activated(Tray::Activation::ContextMenu);
    emit tray.activated(Tray::Activation::MiddleClick);
    QVERIFY(!window->isVisible());
    emit tray.activated(Tray::Activation::DoubleClick);
    QVERIFY(window->isVisible());
    QVERIFY(!tray.shown);

    // Clicks while the window is visible do nothing.
    const int hides = tray.hides;
    for (auto how : {Tray::Activation::Click, Tray::Activation::DoubleClick, Tray::Activation::ContextMenu})
        emit tray.activated(how);
    QVERIFY(window->isVisible());
    QCOMPARE(tray.hides, hides);

    // Hiding again shows the balloon again; where a single click is all the
    // tray reports (a StatusNotifierItem host), it brings the window back.
    tray.doubleClicks = false;
    lookup::toolbarButton(window, 12)->trigger();
    QCOMPARE(tray.messages.size(), 2);
    emit tray.activated(Tray::Activation::Click);
    QVERIFY(window->isVisible());
    QVERIFY(!tray.shown);

    // Ending the program while hidden removes the icon.
    lookup::toolbarButton(window, 12)->trigger();
    QVERIFY(tray.shown);
    delete window;
    window = nullptr;
    QVERIFY(!tray.shown);
}

void DesktopWindowsTest::trayMenuStandsForTheCommands() {
    open();
    QMenu* menu = fakes->tray.menu;
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), u"托盘右键菜单"_s);
    QStringList items;
    QStringList enabled;
    for (QAction* item : menu->actions()) {
        items << (item->isSeparator() ? u"-"_s : item->text());
        if (!item->isSeparator() && item->isEnabled())
            enabled << item->text();
    }
    QCOMPARE(items,
             (QStringList{u"显示主窗口"_s, u"隐藏主窗口"_s, u"-"_s, u"打开小窗口"_s, u"-"_s,
                          u"打开综合看盘"_s, u"打开单位换算"_s, u"打开价格记录"_s, u"-"_s, u"退出主程序"_s}));
    // Every window of the menu exists.
    QCOMPARE(enabled, (QStringList{u"显示主窗口"_s, u"隐藏主窗口"_s, u"打开小窗口"_s, u"打开综合看盘"_s,
                                   u"打开单位换算"_s, u"打开价格记录"_s, u"退出主程序"_s}));

    menu->actions().at(5)->trigger(); // 打开综合看盘
    QWidget* overview = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == u"综合看盘"_s && w->isVisible())
            overview = w;
    QVERIFY(overview);
    overview->close();

    menu->actions().at(6)->trigger(); // 打开单位换算
    auto* converter = window->findChild<QWidget*>(u"dud实时单位换算"_s);
    QVERIFY(converter && converter->isVisible());
    converter->close();

    menu->actions().at(1)->trigger(); // 隐藏主窗口
    QVERIFY(!window->isVisible());
    QVERIFY(fakes->tray.shown);
    menu->actions().at(0)->trigger(); // 显示主窗口
    QVERIFY(window->isVisible());
    QVERIFY(!fakes->tray.shown);
    menu->actions().last()->trigger(); // 退出主程序
    QCOMPARE(fakes->quitCodes, QList<int>{0});
}

void DesktopWindowsTest::withoutATrayTheWindowIsMinimised() {
    fakes->tray.available = false;
    open();
    auto* status = window->findChild<QStatusBar*>(u"状态条_新闻"_s);
    lookup::toolbarButton(window, 12)->trigger();
    // Never hidden where nothing could bring it back.
    QVERIFY(window->isVisible());
    QVERIFY(window->isMinimized());
    QVERIFY(!fakes->tray.shown);
    QVERIFY(fakes->tray.messages.isEmpty());
    QCOMPARE(status->currentMessage(), u"桌面没有系统托盘，主窗口已最小化到任务栏。"_s);
    // The news strip steps aside while the bar speaks.
    QVERIFY(!window->findChild<QWidget*>(u"新闻背景画板"_s)->isVisible());

    window->bringForward();
    QVERIFY(!window->isMinimized());
    QVERIFY(window->isVisible());
    // The notice lingers a while after the window is back, then goes.
    auto* linger = window->findChild<Timer*>(u"时钟_托盘提示清除"_s);
    QVERIFY(linger->isRunning());
    linger->tick();
    QVERIFY(status->currentMessage().isEmpty());
    QVERIFY(window->findChild<QWidget*>(u"新闻背景画板"_s)->isVisible());

    // Said once a run.
    lookup::toolbarButton(window, 12)->trigger();
    QVERIFY(window->isMinimized());
    QVERIFY(status->currentMessage().isEmpty());
}

void DesktopWindowsTest::systemSettingsLoadsAndSavesEachKey() {
    // Each box shows its own key, whatever the others hold; "2" is no 1.
    const QStringList stored = {u"1"_s, u"0"_s, u"1"_s, u"2"_s, u"1"_s, u""_s, u"1"_s};
    for (int i = 0; i < kKeys.size(); ++i)
        QVERIFY(settings::writeItem(config(), kKeys[i], stored[i]));
    open();
    trigger(u"系统设置(&P)"_s);
    auto* settingsWindow = openChild<QDialog>(u"系统设置窗口"_s);
    QVERIFY(settingsWindow);
    QCOMPARE(settingsWindow->windowTitle(), u"系统设置"_s);
    QCOMPARE(settingsWindow->size(), QSize(425, 266));
    QVERIFY(settingsWindow->isModal());
    // A second choice of the menu item opens no second window.
    trigger(u"系统设置(&P)"_s);
    QCOMPARE(window->findChildren<QDialog*>(u"系统设置窗口"_s).size(), 1);

    const auto box = [&](const QString& name) { return settingsWindow->findChild<QCheckBox*>(name); };
    const QStringList names = kGeneralBoxes + kGoldBoxes;
    for (int i = 0; i < names.size(); ++i) {
        QVERIFY2(box(names[i]), qPrintable(names[i]));
        QCOMPARE(box(names[i])->isChecked(), stored[i] == u"1"_s);
        // Captions fit their boxes.
        QVERIFY2(box(names[i])->width() >= box(names[i])->sizeHint().width(), qPrintable(names[i]));
    }

    // The tree picks the page.
    auto* tree = settingsWindow->findChild<QTreeWidget*>(u"树型框1"_s);
    auto* pages = settingsWindow->findChild<QTabWidget*>(u"系统设置选择夹"_s);
    QCOMPARE(pages->tabText(0), u"常规"_s);
    emit tree->itemClicked(tree->topLevelItem(1), 0);
    QCOMPARE(pages->currentIndex(), 1);
    QCOMPARE(tree->currentItem(), tree->topLevelItem(1));
    emit tree->itemClicked(tree->topLevelItem(0), 0);
    QCOMPARE(pages->currentIndex(), 0);

    // "恢复默认" then "取消" leaves the file as it was.
    const QByteArray before = fileBytes(config());
    QTest::mouseClick(settingsWindow->findChild<QPushButton*>(u"恢复默认按钮"_s), Qt::LeftButton);
    for (const QString& name : names)
        QVERIFY(!box(name)->isChecked());
    QTest::mouseClick(settingsWindow->findChild<QPushButton*>(u"取消按钮"_s), Qt::LeftButton);
    QTRY_VERIFY(!openChild<QDialog>(u"系统设置窗口"_s));
    QCOMPARE(fileBytes(config()), before);
    QVERIFY(fakes->autostart.calls.isEmpty());

    // OK registers the autostart entry and writes every key.
    trigger(u"系统设置(&P)"_s);
    settingsWindow = openChild<QDialog>(u"系统设置窗口"_s);
    QVERIFY(settingsWindow);
    const QList<bool> wanted = {true, true, false, false, true, true, false};
    for (int i = 0; i < names.size(); ++i)
        box(names[i])->setChecked(wanted[i]);
    QTest::mouseClick(settingsWindow->findChild<QPushButton*>(u"确定按钮"_s), Qt::LeftButton);
    QTRY_VERIFY(!openChild<QDialog>(u"系统设置窗口"_s));
    QCOMPARE(fakes->autostart.calls, QStringList{u"enable "_s + appdir::program()});
    const settings::Snapshot saved = settings::Snapshot::load(config());
    for (int i = 0; i < kKeys.size(); ++i)
        QCOMPARE(saved.item(kKeys[i]), wanted[i] ? u"1"_s : u"0"_s);

    // Unticking removes it again.
    trigger(u"系统设置(&P)"_s);
    settingsWindow = openChild<QDialog>(u"系统设置窗口"_s);
    QVERIFY(box(kGeneralBoxes[0])->isChecked());
    box(kGeneralBoxes[0])->setChecked(false);
    QTest::mouseClick(settingsWindow->findChild<QPushButton*>(u"确定按钮"_s), Qt::LeftButton);
    QCOMPARE(fakes->autostart.calls.last(), u"disable"_s);
    QCOMPARE(settings::readItem(config(), settings::key::startWithSystem), u"0"_s);
}

void DesktopWindowsTest::systemSettingsWithoutConfigWritesNothing() {
    QVERIFY(QFile::remove(config()));
    open();
    trigger(u"系统设置(&P)"_s);
    auto* settingsWindow = openChild<QDialog>(u"系统设置窗口"_s);
    for (const QString& name : kGeneralBoxes + kGoldBoxes) {
        QVERIFY(!settingsWindow->findChild<QCheckBox*>(name)->isChecked());
        settingsWindow->findChild<QCheckBox*>(name)->setChecked(true);
    }
    QTest::mouseClick(settingsWindow->findChild<QPushButton*>(u"确定按钮"_s), Qt::LeftButton);
    QTRY_VERIFY(!openChild<QDialog>(u"系统设置窗口"_s));
    QVERIFY(!QFile::exists(config()));
    QVERIFY(fakes->autostart.calls.isEmpty());
    QVERIFY(fakes->dialogs.history().isEmpty());
}

void DesktopWindowsTest::failedSaveLeavesTheAutostartEntryAsItWas_data() {
    QTest::addColumn<bool>("entryBefore");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("would have removed it") << true << false;
    QTest::newRow("would have added it") << false << true;
}

void DesktopWindowsTest::failedSaveLeavesTheAutostartEntryAsItWas() {
    QFETCH(bool, entryBefore);
    QFETCH(bool, ticked);
    // A file so near the size limit that no key can be added to it.
    const QByteArray head = "[pad]\r\nx=";
    const QByteArray padded = head + QByteArray(settings::kMaxFileBytes - head.size() - 6, 'a') + "\r\n";
    QFile file(config());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(padded), padded.size());
    file.close();
    fakes->autostart.enabled = entryBefore;
    fakes->autostart.programPath = entryBefore ? u"/old/Aurivex"_s : QString();
    open();
    trigger(u"系统设置(&P)"_s);
    auto* settingsWindow = openChild<QDialog>(u"系统设置窗口"_s);
    QVERIFY(settingsWindow);
    settingsWindow->findChild<QCheckBox*>(kGeneralBoxes[0])->setChecked(ticked);
    QTest::mouseClick(settingsWindow->findChild<QPushButton*>(u"确定按钮"_s), Qt::LeftButton);

    QCOMPARE(fakes->dialogs.lastText(), u"系统配置文件出错"_s);
    QCOMPARE(fileBytes(config()), padded);
    // The entry is back as it was, so the file and the entry still agree.
    QCOMPARE(fakes->autostart.calls.size(), 2);
    QCOMPARE(fakes->autostart.calls.last(), u"restore"_s);
    QCOMPARE(fakes->autostart.enabled, entryBefore);
    QCOMPARE(fakes->autostart.programPath, entryBefore ? u"/old/Aurivex"_s : QString());
    // The choices stay in the window for another try.
    QVERIFY(openChild<QDialog>(u"系统设置窗口"_s));
}

void DesktopWindowsTest::terminalLaunch_data() {
    QTest::addColumn<bool>("atDefault");
    QTest::addColumn<QString>("stored"); // "@" stands for the wine prefix
    QTest::addColumn<QString>("storedFile");
    QTest::addColumn<bool>("wineInstalled");
    QTest::addColumn<QString>("started"); // the file handed to wine, "" for none
    QTest::addColumn<bool>("asksForPath");
    QTest::addColumn<bool>("tellsWineMissing");
    const QString defaultFile = u"@/dosdevices/c:/Program Files/MetaTrader 4/terminal.exe"_s;
    QTest::newRow("found at the default location")
        << true << u"D:\\elsewhere\\terminal.exe"_s << u""_s << true << defaultFile << false << false;
    QTest::newRow("found at the stored path")
        << false << u"D:\\MT4\\terminal.exe"_s << u"@/dosdevices/d:/MT4/terminal.exe"_s << true
        << u"@/dosdevices/d:/MT4/terminal.exe"_s << false << false;
    QTest::newRow("stored path gone")
        << false << u"D:\\MT4\\terminal.exe"_s << u""_s << true << u""_s << false << false;
    QTest::newRow("letter case differs")
        << false << u"D:\\MT4\\Terminal.exe"_s << u"@/dosdevices/d:/MT4/Terminal.exe"_s << true << u""_s
        << true << false;
    QTest::newRow("never set") << false << u""_s << u""_s << true << u""_s << true << false;
    QTest::newRow("wine missing") << true << u""_s << u""_s << false << defaultFile << false << true;
}

void DesktopWindowsTest::terminalLaunch() {
    QFETCH(bool, atDefault);
    QFETCH(QString, stored);
    QFETCH(QString, storedFile);
    QFETCH(bool, wineInstalled);
    QFETCH(QString, started);
    QFETCH(bool, asksForPath);
    QFETCH(bool, tellsWineMissing);
    const QString prefix = dir->filePath(u"wine"_s);
    const auto makeFile = [&](QString path) {
        path.replace(u'@', prefix);
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    };
    if (atDefault)
        makeFile(u"@/dosdevices/c:/Program Files/MetaTrader 4/terminal.exe"_s);
    if (!storedFile.isEmpty())
        makeFile(storedFile);
    QVERIFY(settings::writeItem(config(), settings::key::mt4Program, stored));
    fakes->launcher.succeeds = wineInstalled;
    open();

    QCOMPARE(lookup::toolbarButton(window, 7), lookup::command(window, u"MT4(&W)"_s));
    lookup::toolbarButton(window, 7)->trigger();
    if (started.isEmpty()) {
        QVERIFY(fakes->launcher.started.isEmpty());
    } else {
        QCOMPARE(fakes->launcher.started.size(), 1);
        QCOMPARE(fakes->launcher.started[0].program, u"wine"_s);
        QCOMPARE(fakes->launcher.started[0].arguments, QStringList{started.replace(u'@', prefix)});
    }
    QCOMPARE(openChild<QDialog>(u"外部工具设置窗口"_s) != nullptr, asksForPath);
    QCOMPARE(fakes->dialogs.history().size(), tellsWineMissing ? 1 : 0);
    if (tellsWineMissing)
        QVERIFY(fakes->dialogs.lastText().contains(u"wine"_s));
}

void DesktopWindowsTest::terminalPathWindowStoresWhatIsTyped() {
    QVERIFY(settings::writeItem(config(), settings::key::mt4Program, u"D:\\old\\mt4.exe"_s));
    open();
    lookup::command(window, u"MT4(&W)"_s)->trigger();
    auto* tools = openChild<QDialog>(u"外部工具设置窗口"_s);
    QVERIFY(tools);
    QCOMPARE(tools->windowTitle(), u"外部工具设置"_s);
    QCOMPARE(tools->size(), QSize(515, 145));
    auto* path = tools->findChild<QLineEdit*>(u"编辑框_MT4安装目录"_s);
    QCOMPARE(path->text(), u"D:\\old\\mt4.exe"_s);

    // The download link goes to the address of endpoints.ini.
    QTest::mouseClick(tools->findChild<QPushButton*>(u"超级链接框1"_s), Qt::LeftButton);
    QCOMPARE(fakes->launcher.opened.size(), 1);
    QVERIFY(fakes->launcher.opened[0].isValid());

    // A cancelled file dialog keeps the box; a chosen file replaces it.
    auto* choose = tools->findChild<QPushButton*>(u"按钮_选择MT4安装目录"_s);
    QTest::mouseClick(choose, Qt::LeftButton);
    QCOMPARE(path->text(), u"D:\\old\\mt4.exe"_s);
    fakes->dialogs.files.enqueue(u"/home/li/.wine/drive_c/MT4/terminal.exe"_s);
    QTest::mouseClick(choose, Qt::LeftButton);
    QCOMPARE(path->text(), u"/home/li/.wine/drive_c/MT4/terminal.exe"_s);

    // OK stores the box as typed, even empty; the next launch asks again.
    path->clear();
    QTest::mouseClick(tools->findChild<QPushButton*>(u"按钮_确定"_s), Qt::LeftButton);
    QTRY_VERIFY(!openChild<QDialog>(u"外部工具设置窗口"_s));
    QVERIFY(settings::keyExists(config(), settings::key::mt4Program.section, settings::key::mt4Program.key));
    QCOMPARE(settings::readItem(config(), settings::key::mt4Program), u""_s);
    lookup::command(window, u"MT4(&W)"_s)->trigger();
    QVERIFY(openChild<QDialog>(u"外部工具设置窗口"_s));
}

void DesktopWindowsTest::editorCalculatorAndHelp() {
    open();
    trigger(u"记事本(&N)"_s);
    trigger(u"计算器(&C)"_s);
    QCOMPARE(fakes->launcher.started.size(), 2);
    QCOMPARE(fakes->launcher.started[0].program, u"gnome-text-editor"_s);
    QCOMPARE(fakes->launcher.started[1].program, u"gnome-calculator"_s);
    QVERIFY(fakes->dialogs.history().isEmpty());

    // None of the known programs starts: the user is told, never a silent nothing.
    fakes->launcher.succeeds = false;
    fakes->launcher.started.clear();
    trigger(u"记事本(&N)"_s);
    QVERIFY(fakes->launcher.started.size() > 3);
    QCOMPARE(fakes->dialogs.history().size(), 1);
    QVERIFY(fakes->dialogs.lastText().startsWith(u"未找到文本编辑器"_s));
    trigger(u"计算器(&C)"_s);
    QVERIFY(fakes->dialogs.lastText().startsWith(u"未找到计算器"_s));

    // The guide: missing is said; present is handed to the desktop.
    const QString guide = appPath(u"帮助文件.html"_s);
    QFile::remove(guide);
    fakes->launcher.succeeds = true;
    trigger(u"软件使用(&B)"_s);
    QVERIFY(fakes->launcher.openedFiles.isEmpty());
    QVERIFY(fakes->dialogs.lastText().startsWith(u"帮助文件不存在"_s));
    QFile file(guide);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    trigger(u"软件使用(&B)"_s);
    QCOMPARE(fakes->launcher.openedFiles, QStringList{guide});
}

void DesktopWindowsTest::aboutFadesInOnceAndShowsTheVersion() {
    open();
    trigger(u"关于我们(&A)"_s);
    auto* about = openChild<QDialog>(u"关于窗口"_s);
    QVERIFY(about);
    QCOMPARE(about->windowTitle(), u"关于我们"_s);
    QCOMPARE(about->size(), QSize(403, 397));
    QVERIFY(about->isModal());
    QCOMPARE(about->findChild<QLabel*>(u"标签_版本"_s)->text(), window->windowTitle());
    QVERIFY(!about->findChild<QLabel*>(u"图片框1"_s)->pixmap().isNull());
    for (const QString& link :
         {u"超级链接框1"_s, u"国际金价网超级链接框"_s, u"和讯网超级链接框"_s, u"工商银行超级链接框"_s,
          u"建设银行超级链接框"_s, u"中国银行超级链接框"_s, u"超级链接框2"_s})
        QVERIFY2(about->findChild<QPushButton*>(link)->isEnabled(), qPrintable(link));

    // The first opening: transparent at creation, opaque after 18 ticks, then still.
    QCOMPARE(windowAlpha(about), 0);
    auto* fade = about->findChild<Timer*>(u"时钟_窗口透明度渐增"_s);
    QCOMPARE(fade->interval(), 30);
    QList<int> seen;
    for (int i = 0; i < 18; ++i) {
        QVERIFY(fade->isRunning());
        fade->tick();
        seen << windowAlpha(about);
    }
    QCOMPARE(seen.value(1), 15);
    QCOMPARE(seen.last(), 255);
    QCOMPARE(fade->interval(), 0);

    QTest::mouseClick(about->findChild<QPushButton*>(u"关于窗口关闭按钮"_s), Qt::LeftButton);
    QTRY_VERIFY(!openChild<QDialog>(u"关于窗口"_s));

    // The counter is never reset: a later opening is opaque after one tick.
    trigger(u"关于我们(&A)"_s);
    about = openChild<QDialog>(u"关于窗口"_s);
    fade = about->findChild<Timer*>(u"时钟_窗口透明度渐增"_s);
    fade->tick();
    QCOMPARE(windowAlpha(about), 255);
    QCOMPARE(fade->interval(), 0);
}

QTEST_MAIN(DesktopWindowsTest)
#include "test_desktop_windows.moc"
