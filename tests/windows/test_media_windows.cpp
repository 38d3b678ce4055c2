// The media tools on fake services: the TV panel, the reference browser, the
// magnifier and the unit converter, opened from the main window as a person
// would open them.
#include "media/magnifier.h"
#include "media/magnifier_rules.h"
#include "media/reference_browser.h"
#include "media/unit_converter.h"
#include "platform/timer.h"
#include "support/installed_program.h"
#include "support/main_window_lookup.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kPortal = u"http://127.0.0.1:9"_s;

// A desktop picture in which every pixel differs from its neighbours.
QImage pattern(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(x & 0xff, y & 0xff, ((x >> 8) << 4) | (y >> 8));
    }
    return image;
}

} // namespace

class MediaWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void tvPanelPlaysTheChosenChannel();
    void volumeSliderSetsTheSystemVolume();
    void referenceBrowserLinksAndTabs();
    void referenceBrowserOpensTheStartAddress();
    void referenceBrowserCapsItsTabs();
    void magnifierLensShowsThePatternAndNeverItself();
    void magnifierCoversTheScreenWhereItCanBeLeftOut();
    void magnifierRefusesWhereTheScreenCannotBeRead();
    void unitConverterFramesThePage();

private:
    template <typename T> T* find(const QString& name) const {
        T* found = program->window().findChild<T*>(name);
        if (!found)
            qWarning("missing %s", qPrintable(name));
        return found;
    }
    void trigger(const QString& caption) const { lookup::command(&program->window(), caption)->trigger(); }
    FakeServices& fakes() const { return program->fakes(); }

    std::unique_ptr<InstalledProgram> program;
};

void MediaWindowsTest::init() {
    program = std::make_unique<InstalledProgram>();
    QVERIFY(program->ok());
    program->window().show();
}

void MediaWindowsTest::cleanup() {
    program.reset();
}

void MediaWindowsTest::tvPanelPlaysTheChosenChannel() {
    FakeMediaPlayer& player = fakes().mediaPlayer;
    auto* group = find<QGroupBox>(u"分组框_频道背景"_s);
    QVERIFY(group->isEnabled());
    QCOMPARE(player.picture.data(), find<QWidget>(u"电视播放器"_s));
    QCOMPARE(player.picture->geometry(), QRect(10, 25, 248, 180));
    // The start stream is set but nothing plays before the user asks.
    QCOMPARE(player.calls, QStringList{u"source %1/CBN.m3u8"_s.arg(kPortal)});
    QTest::mouseClick(find<QPushButton>(u"按钮_电视播放"_s), Qt::LeftButton);
    QCOMPARE(player.calls.last(), u"play"_s);

    // Choosing a channel stops what plays, moves the check and plays the new stream.
    auto* menu = program->window().findChild<QMenu*>(u"电视频道"_s);
    player.calls.clear();
    menu->actions()[2]->trigger();
    QCOMPARE(player.calls, (QStringList{u"stop"_s, u"source %1/cctv1.m3u8"_s.arg(kPortal), u"play"_s}));
    QList<bool> checks;
    for (QAction* item : menu->actions())
        checks << item->isChecked();
    QCOMPARE(checks, (QList<bool>{false, false, true}));

    // The channel button pops the menu up where the mouse is.
    fakes().screen.cursor = QPoint(300, 200);
    QTest::mouseClick(find<QPushButton>(u"按钮_频道"_s), Qt::LeftButton);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), QPoint(300, 200));
    menu->hide();

    auto* status = find<QLabel>(u"播放状态标签"_s);
    auto* timer = program->window().findChild<Timer*>(u"时钟_电视播放状态检测"_s);
    QCOMPARE(timer->interval(), 300);
    const QList<QPair<MediaPlayer::Status, QString>> texts = {
        {MediaPlayer::Status::Connecting, u"正在连接..."_s},
        {MediaPlayer::Status::Buffering, u"正在缓冲..."_s},
        {MediaPlayer::Status::Playing, u"正在播放"_s},
        {MediaPlayer::Status::Error, u"播放失败，请稍后重试"_s},
        {MediaPlayer::Status::Stopped, u"已停止"_s},
    };
    for (const auto& [state, text] : texts) {
        player.currentStatus = state;
        timer->tick();
        QCOMPARE(status->text(), text);
    }

    QTest::mouseClick(find<QPushButton>(u"按钮_电视播放器全屏"_s), Qt::LeftButton);
    QVERIFY(player.fullScreen);
    player.fullScreen = false;
    emit player.doubleClicked();
    QVERIFY(player.fullScreen);

    // Folding twice restores the group and the alert panel; playback goes on.
    player.calls.clear();
    auto* alertGroup = find<QWidget>(u"分组框_提醒背景"_s);
    const int alertTop = alertGroup->y();
    QTest::mouseClick(find<QPushButton>(u"按钮_电视折叠"_s), Qt::LeftButton);
    QCOMPARE(group->height(), 0);
    QTest::mouseClick(find<QPushButton>(u"按钮_电视折叠"_s), Qt::LeftButton);
    QCOMPARE(group->height(), 228);
    QCOMPARE(alertGroup->y(), alertTop);
    QVERIFY(player.calls.isEmpty());
}

void MediaWindowsTest::volumeSliderSetsTheSystemVolume() {
    auto* button = find<QPushButton>(u"按钮_系统音量控制"_s);
    auto* slider = find<QSlider>(u"滑块条_音量调节"_s);
    QCOMPARE(button->toolTip(), u"调节视频播放器音量！"_s);
    QCOMPARE(slider->minimum(), 1);
    QCOMPARE(slider->maximum(), 100);
    QCOMPARE(slider->value(), 1);
    QVERIFY(!slider->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(slider->isVisible());

    slider->setValue(50);
    QCOMPARE(fakes().systemVolume.set, QList<int>{50});
    QCOMPARE(slider->toolTip(), u"51"_s);
    QVERIFY(fakes().dialogs.history().isEmpty());

    // Without a reachable system volume, every movement says so and the tooltip still follows.
    fakes().systemVolume.available = false;
    slider->setValue(10);
    QCOMPARE(slider->toolTip(), u"91"_s);
    QTRY_COMPARE(fakes().dialogs.lastText(), u"系统音量打开失败!,您可能听不到声音!"_s);
    slider->setValue(20);
    QTRY_COMPARE(fakes().dialogs.history().size(), 2);
    // Held on the groove, the slider steps towards the mouse; the message
    // waits for the release and comes once.
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(slider->width() / 2, slider->height() - 3));
    QTRY_VERIFY(fakes().systemVolume.set.size() >= 5);
    QTest::qWait(300);
    QCOMPARE(fakes().dialogs.history().size(), 2);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(slider->width() / 2, slider->height() - 3));
    QTRY_COMPARE(fakes().dialogs.history().size(), 3);
    QTest::qWait(100);
    QCOMPARE(fakes().dialogs.history().size(), 3);
    // The handle dragged: every movement is applied as it happens, and the
    // message comes once, when the handle is let go.
    const qsizetype applied = fakes().systemVolume.set.size();
    slider->setSliderDown(true);
    for (const int position : {30, 40, 50})
        slider->setSliderPosition(position);
    QCOMPARE(fakes().systemVolume.set.size(), applied + 3);
    QTest::qWait(100);
    QCOMPARE(fakes().dialogs.history().size(), 3);
    slider->setSliderDown(false);
    QTRY_COMPARE(fakes().dialogs.history().size(), 4);
    QTest::qWait(100);
    QCOMPARE(fakes().dialogs.history().size(), 4);

    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!slider->isVisible());
}

void MediaWindowsTest::referenceBrowserLinksAndTabs() {
    QAction* command = lookup::toolbarButton(&program->window(), 8);
    QVERIFY(command->isEnabled());
    QCOMPARE(command, lookup::command(&program->window(), u"资料浏览(&S)"_s));
    command->trigger();
    auto* browser = lookup::openWindow<ReferenceBrowser>(&program->window(), u"Aurivex相关资料专用浏览器"_s);
    QVERIFY(browser);
    QCOMPARE(browser->windowTitle(), u"Aurivex相关资料专用浏览器"_s);
    auto* tabs = browser->findChild<QTabWidget*>(u"选择夹_多页面创建"_s);
    auto* tree = browser->findChild<QTreeWidget*>(u"树型框_侧边栏"_s);
    QPointer<FakeWebView> first = qobject_cast<FakeWebView*>(browser->currentView());
    QVERIFY(first);
    QCOMPARE(first->policy, WebView::NewWindowPolicy::Report);
    // Without a start address the first tab opens " 今日数据".
    QCOMPARE(first->loads.size(), 1);
    QCOMPARE(first->url(), QUrl(kPortal + u"/ref/data/X_today_global_data.aspx"_s));
    QCOMPARE(tree->currentItem()->text(0), u" 今日数据"_s);
    QCOMPARE(tree->width(), 0);
    QVERIFY(!tree->isVisible());

    emit first->titleChanged(u"abcdefghijklmn中文标题"_s);
    QCOMPARE(tabs->tabText(0), u"abcdefghijklmn中"_s);
    auto* progress = browser->findChild<QStatusBar*>(u"状态条_浏览器状态"_s)->findChildren<QLabel*>().last();
    emit first->loadProgress(40);
    QCOMPARE(progress->text(), u"正在打开网页：40%"_s);
    emit first->loadProgress(100);
    QCOMPARE(progress->text(), u"完毕"_s);

    // The side bar shows the tree and its splitter; the tabs move right of them.
    QTest::mouseClick(browser->findChild<QPushButton*>(u"按钮_浏览器侧边栏"_s), Qt::LeftButton);
    QCOMPARE(tree->width(), 120);
    QVERIFY(tree->isVisible());
    auto* splitter = browser->findChild<QWidget*>(u"分隔条_定位参考"_s);
    QVERIFY(splitter->isVisible());
    QCOMPARE(splitter->x(), tree->x() + 120);
    QCOMPARE(tabs->x(), tree->x() + 120 + 4);
    QCOMPARE(tree->height(), browser->height() - 40);
    browser->moveSplitter(200);
    QCOMPARE(tree->geometry().right() + 1, 200);
    QCOMPARE(tabs->x(), 204);

    // A group line loads nothing; a link loads its page into the current tab.
    tree->setCurrentItem(tree->topLevelItem(1));
    QCOMPARE(first->loads.size(), 1);
    QTreeWidgetItem* boc = tree->topLevelItem(2)->child(2);
    QCOMPARE(boc->text(0), u"中国银行"_s);
    tree->setCurrentItem(boc);
    QCOMPARE(first->url(), QUrl(kPortal + u"/ref/boc/cn/static/index.html"_s));

    // A page's new window becomes a new current tab, with an empty caption.
    const QUrl asked(kPortal + u"/ref/data/X_today_global_data.aspx"_s);
    emit first->newWindowRequested(asked);
    QCOMPARE(browser->tabCount(), 2);
    QCOMPARE(tabs->currentIndex(), 1);
    QPointer<FakeWebView> second = qobject_cast<FakeWebView*>(browser->currentView());
    QVERIFY(second != first);
    QCOMPARE(second->url(), asked);
    QVERIFY(tabs->tabText(1).isEmpty());
    QVERIFY(!first->isVisible());
    // Titles go to the tab of the page that has them.
    emit first->titleChanged(u"新浪财经 - 贵金属"_s);
    QCOMPARE(tabs->tabText(0), u"新浪财经 - 贵金"_s);
    QVERIFY(tabs->tabText(1).isEmpty());

    // Navigation acts on the current tab only.
    for (const QString& name :
         {u"按钮_浏览器后退"_s, u"按钮_浏览器前进"_s, u"按钮_浏览器停止"_s, u"按钮_浏览器刷新"_s})
        QTest::mouseClick(browser->findChild<QPushButton*>(name), Qt::LeftButton);
    QCOMPARE(second->commands, (QStringList{u"back"_s, u"forward"_s, u"stop"_s, u"reload"_s}));
    QVERIFY(first->commands.isEmpty());

    // "关闭当前页": a tab goes with its page; the last tab stays with a new empty one.
    auto* menu = browser->findChild<QMenu*>(u"文件"_s);
    QCOMPARE(menu->actions().first()->text(), u"关闭当前页"_s);
    menu->actions().first()->trigger();
    QCOMPARE(browser->tabCount(), 1);
    QVERIFY(!second);
    QCOMPARE(browser->currentView(), static_cast<WebView*>(first.data()));
    menu->actions().first()->trigger();
    QCOMPARE(browser->tabCount(), 1);
    QVERIFY(!first);
    auto* fresh = qobject_cast<FakeWebView*>(browser->currentView());
    QVERIFY(fresh && fresh->loads.isEmpty());
    QVERIFY(fresh->isVisible());

    // One browser at a time.
    command->trigger();
    QCOMPARE(program->window().findChildren<ReferenceBrowser*>().size(), 1);
}

void MediaWindowsTest::referenceBrowserOpensTheStartAddress() {
    program->window().setStartAddress(u"http://127.0.0.1:9/ref/sina/nmetal/"_s);
    trigger(u"资料浏览(&S)"_s);
    auto* browser = lookup::openWindow<ReferenceBrowser>(&program->window(), u"Aurivex相关资料专用浏览器"_s);
    auto* first = qobject_cast<FakeWebView*>(browser->currentView());
    // The address given stays: the start line is marked but not loaded over it.
    QCOMPARE(first->loads.size(), 1);
    QCOMPARE(first->url(), QUrl(u"http://127.0.0.1:9/ref/sina/nmetal/"_s));
    QCOMPARE(browser->findChild<QTreeWidget*>()->currentItem()->text(0), u" 今日数据"_s);
}

void MediaWindowsTest::referenceBrowserCapsItsTabs() {
    trigger(u"资料浏览(&S)"_s);
    auto* browser = lookup::openWindow<ReferenceBrowser>(&program->window(), u"Aurivex相关资料专用浏览器"_s);
    auto* status = browser->findChild<QStatusBar*>(u"状态条_浏览器状态"_s);
    WebView* first = browser->currentView();
    const qsizetype viewsBefore = fakes().webViews.views.size();
    for (int i = 0; i < ReferenceBrowser::kMaxTabs + 10; ++i)
        emit first->newWindowRequested(QUrl(kPortal + u"/ref/data/%1"_s.arg(i)));
    QCOMPARE(browser->tabCount(), ReferenceBrowser::kMaxTabs);
    QCOMPARE(fakes().webViews.views.size(), viewsBefore + ReferenceBrowser::kMaxTabs - 1);
    QCOMPARE(status->currentMessage(), u"已打开30个页面，新页面未打开：请先关闭不用的页面"_s);
    // A closed tab makes room again, and the note goes.
    browser->closeCurrentTab();
    QVERIFY(status->currentMessage().isEmpty());
    emit first->newWindowRequested(QUrl(kPortal + u"/ref/data/again"_s));
    QCOMPARE(browser->tabCount(), ReferenceBrowser::kMaxTabs);
    QCOMPARE(qobject_cast<FakeWebView*>(browser->currentView())->url(), QUrl(kPortal + u"/ref/data/again"_s));
    QVERIFY(status->currentMessage().isEmpty());
}

void MediaWindowsTest::magnifierLensShowsThePatternAndNeverItself() {
    FakeScreen& screen = fakes().screen;
    screen.desktop = pattern(screen.geometry().size());
    screen.cursor = QPoint(600, 400);
    trigger(u"放大镜（按F12键退出）"_s);
    auto* magnifier = lookup::openWindow<Magnifier>(&program->window(), u"超酷放大镜"_s);
    QVERIFY(magnifier);
    QCOMPARE(magnifier->windowTitle(), u"超酷放大镜"_s);
    QVERIFY(magnifier->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(magnifier->windowFlags().testFlag(Qt::WindowTransparentForInput));
    QVERIFY(magnifier->windowFlags().testFlag(Qt::Tool));
    QVERIFY(!magnifier->coversScreen());
    auto* timer = magnifier->findChild<Timer*>(u"时钟1"_s);
    QCOMPARE(timer->interval(), 50);

    for (const QPoint& cursor : {QPoint(600, 400), QPoint(0, 0), QPoint(1919, 1079)}) {
        screen.cursor = cursor;
        timer->tick();
        const QRect source = screen.captured.last();
        QCOMPARE(source, magnifier->source());
        QVERIFY(source.contains(cursor));
        QVERIFY(!magnifier->geometry().intersects(source));
        QCOMPARE(magnifier->size(), source.size() * 2);
        // Every screen pixel shows as a block of two by two.
        const QImage shown = magnifier->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (const QPoint& p :
             {QPoint(0, 0), QPoint(17, 9), QPoint(source.width() - 1, source.height() - 1)}) {
            const QRgb expected = screen.desktop.pixel(source.topLeft() + p);
            QCOMPARE(shown.pixel(p * 2), expected);
            QCOMPARE(shown.pixel(p * 2 + QPoint(1, 1)), expected);
        }
    }
    // At two device pixels a unit (QT_SCALE_FACTOR=2) it works in device
    // pixels: the region centred on the pointer, enlarged two times on screen.
    screen.pixelRatio = 2;
    screen.cursor = QPoint(300, 200);
    timer->tick();
    const QRect source = magnifier->source();
    QVERIFY((source.center() - QPoint(600, 400)).manhattanLength() <= 2);
    QCOMPARE(magnifier->size() * 2, source.size() * magnifierrules::kZoom); // both in device pixels
    QVERIFY(!QRect(magnifier->pos() * 2, magnifier->size() * 2).intersects(source));
    screen.pixelRatio = 1;

    // F12 with Shift newly pressed in the same tick: Shift masks it and the magnifier stays.
    const WatchedKey f12{Qt::Key_F12, false, Qt::NoButton};
    const WatchedKey shift{Qt::Key_Shift, false, Qt::NoButton};
    screen.press(f12);
    screen.press(shift);
    timer->tick();
    QVERIFY(magnifier->isVisible());
    // Still down at the next tick: now it closes.
    timer->tick();
    QTRY_VERIFY(!lookup::openWindow<Magnifier>(&program->window(), u"超酷放大镜"_s));
    QCOMPARE(screen.watches, 1);
}

void MediaWindowsTest::magnifierCoversTheScreenWhereItCanBeLeftOut() {
    FakeScreen& screen = fakes().screen;
    screen.excludesWindows = true;
    screen.cursor = QPoint(1919, 1079);
    trigger(u"放大镜（按F12键退出）"_s);
    auto* magnifier = lookup::openWindow<Magnifier>(&program->window(), u"超酷放大镜"_s);
    QVERIFY(magnifier->coversScreen());
    QCOMPARE(magnifier->geometry(), screen.geometry());
    // What the window shows of the source (mx / 2, my / 2, SW, SH), doubled.
    QCOMPARE(screen.captured.last(), QRect(959, 539, 960, 540));
    // F12 pressed and released between two ticks is not down: it stays.
    const WatchedKey f12{Qt::Key_F12, false, Qt::NoButton};
    screen.press(f12);
    screen.release(f12);
    magnifier->tick();
    QVERIFY(magnifier->isVisible());
    screen.press(f12);
    magnifier->tick();
    QTRY_VERIFY(!lookup::openWindow<Magnifier>(&program->window(), u"超酷放大镜"_s));
}

void MediaWindowsTest::magnifierRefusesWhereTheScreenCannotBeRead() {
    fakes().screen.capturable = false;
    trigger(u"放大镜（按F12键退出）"_s);
    QVERIFY(!lookup::openWindow<Magnifier>(&program->window(), u"超酷放大镜"_s));
    QCOMPARE(fakes().dialogs.lastText(), u"此桌面不允许程序读取屏幕内容，放大镜无法使用。"_s);
    QVERIFY(fakes().screen.captured.isEmpty());
}

void MediaWindowsTest::unitConverterFramesThePage() {
    trigger(u"单位换算(&U)"_s);
    auto* converter = lookup::openWindow<UnitConverter>(&program->window(), u"dud实时单位换算"_s);
    QVERIFY(converter);
    auto* view = qobject_cast<FakeWebView*>(converter->view());
    QCOMPARE(view->objectName(), u"超文本浏览框_单位换算"_s);
    QCOMPARE(view->url(), QUrl(kPortal + u"/gold/convert.htm"_s));
    // Links that open a new window do nothing.
    QCOMPARE(view->policy, WebView::NewWindowPolicy::Refuse);
    QCOMPARE(converter->findChild<QLabel*>(u"标签1"_s)->text(), u"如果未显示 请多试几次"_s);

    auto* onTop = converter->findChild<QAbstractButton*>(u"选择框_单位换算窗口置顶"_s);
    QCOMPARE(onTop->text(), u"置前"_s);
    QVERIFY(!converter->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QTest::mouseClick(onTop, Qt::LeftButton);
    QVERIFY(converter->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(converter->isVisible());
    QTest::mouseClick(onTop, Qt::LeftButton);
    QVERIFY(!converter->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(converter->isVisible());
}

QTEST_MAIN(MediaWindowsTest)
#include "test_media_windows.moc"
