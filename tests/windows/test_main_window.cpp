// The main window with fake services: its frame, the quote update cycle driven
// through its timers, the closed market, start-up options and the layout on
// resize.
#include "app/main_window.h"
#include "charts/chart_tabs.h"
#include "core/app_dir.h"
#include "core/endpoints.h"
#include "platform/gbk.h"
#include "platform/timer.h"
#include "quotes/quote_cycle.h"
#include "quotes/quote_model.h"
#include "quotes/quote_page.h"
#include "settings/settings_store.h"
#include "support/program_test.h"
#include "ui/fonts.h"
#include "ui/translations.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

QByteArray page(const QByteArray& buy, const QByteArray& sell) {
    QByteArray row = quotepage::rowMarker() + QByteArray(400, ' ');
    row.replace(quotepage::kBuyOffset, buy.size(), buy);
    row.replace(quotepage::kSellOffset, sell.size(), sell);
    return "<html><table><tr><td>" + row;
}

// How config.ini stands when the window opens.
constexpr int kNoConfig = 0;
constexpr int kConfig = 1;
constexpr int kOversizedConfig = 2; // holds the keys, but past the size limit

// 2026-12-09 is a Wednesday; 2026-12-12 a Saturday.
QDateTime at(int day, int hour, int minute) {
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute));
}

} // namespace

class MainWindowTest : public ProgramTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void frameMatchesDesign();
    void menusHoldEveryItem();
    void fetchesAtCreationAndWhileWaiting();
    void firstPricesShowAsFetchedThenDerive();
    void zeroBasePricesCountAsNoPrices();
    void bankRowsDeriveFromBaseBuy();
    void progressRunsPastMaximumThenStops();
    void connectingIndicatorBounces();
    void stopAndStartButtons();
    void closedMarketFreezesBankRows();
    void closedMarketBoundaries_data();
    void closedMarketBoundaries();
    void startupOptions_data();
    void startupOptions();
    void layoutFollowsResize();
    void foldsAndSplitter();
    void commandsSelectChartPages();
    void bankLinksOpenTheirSites();
    void closingEndsTheProgram();
    void skinKeepsTheDesignSizeAndBarsStayVisible_data();
    void skinKeepsTheDesignSizeAndBarsStayVisible();
    void dataErrorLetsTheWindowWorkUntilOk();
    void standardButtonsReadChinese();
    void productPageAsWrittenOrNamedWhenUnusable_data();
    void productPageAsWrittenOrNamedWhenUnusable();

private:
    template <typename T> T* find(const QString& name) const { return window->findChild<T*>(name); }
    Timer* timer(const QString& name) const { return find<Timer>(name); }
    void answerFetch(const QByteArray& buy, const QByteArray& sell);
    QString label(const QString& name) const { return find<QLabel>(name)->text(); }
};

void MainWindowTest::initTestCase() {
    installFontSubstitutions();
}

void MainWindowTest::init() {
    startProgram();
    dir->setEndpoint(endpoints::key::quotePortalHost, u"127.0.0.1:9"_s);
    dir->setEndpoint(endpoints::key::icbcSiteUrl, u"https://www.icbc.com.cn/"_s);
}

void MainWindowTest::cleanup() {
    endProgram();
}

void MainWindowTest::answerFetch(const QByteArray& buy, const QByteArray& sell) {
    while (fakes->http.answer(page(buy, sell))) {
    }
}

void MainWindowTest::frameMatchesDesign() {
    open();
    QCOMPARE(window->windowTitle(), u"Aurivex3.0"_s);
    QCOMPARE(window->centralWidget()->size(), QSize(MainWindow::kClientWidth, MainWindow::kClientHeight));
    QVERIFY(!window->windowIcon().isNull());

    QToolBar* toolbar = find<QToolBar>(u"工具条"_s);
    QCOMPARE(toolbar->objectName(), u"工具条"_s);
    QCOMPARE(toolbar->actions().size(), 13);
    const QStringList captions = {u"小窗口"_s,   u"实时黄金"_s, u"历史走势"_s, u"影响走势"_s, u"黄金K线"_s,
                                  u"技术分析"_s, u"综合看盘"_s, u"MT4工具"_s,  u"资料浏览"_s, u"模拟炒金"_s,
                                  u"交易管理"_s, u"锁定系统"_s, u"隐藏窗口"_s};
    for (int i = 0; i < 13; ++i) {
        QVERIFY(!lookup::toolbarButton(window, i)->toolTip().isEmpty());
        QVERIFY(!lookup::toolbarButton(window, i)->icon().isNull());
        // Every button is on the bar, none pushed into the overflow menu.
        auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(lookup::toolbarButton(window, i)));
        QVERIFY2(button && button->isVisible(), qPrintable(captions[i]));
        QCOMPARE(button->text(), captions[i]);
    }
    // A button and its menu item are one command.
    QCOMPARE(lookup::toolbarButton(window, 9), lookup::command(window, u"模拟炒金(&G)"_s));
    QCOMPARE(lookup::toolbarButton(window, 7), lookup::command(window, u"MT4(&W)"_s));
    QCOMPARE(lookup::toolbarButton(window, 4)->toolTip(),
             u"黄金K5分钟K线 10分钟K线 30分钟K线 60分钟K线 日K线 周K线及日线指标"_s);
    for (int i = 0; i < 13; ++i) // every button's window exists
        QVERIFY2(lookup::toolbarButton(window, i)->isEnabled(), qPrintable(captions[i]));

    auto* tabs = find<ChartTabs>(u"高级选择夹"_s);
    QCOMPARE(tabs->count(), 5);
    QCOMPARE(tabs->tabBar()->tabText(3), u"K线图"_s);
    QCOMPARE(find<QStatusBar>(u"状态条_新闻"_s)->findChild<QLabel*>()->text(), u"  系统信息："_s);
    QCOMPARE(find<QGroupBox>(u"分组框_频道背景"_s)->title(), u"财经频道"_s);
    QCOMPARE(find<QGroupBox>(u"分组框_提醒背景"_s)->title(), u"提醒设置"_s);

    const QList<QPair<QString, int>> timers = {
        {u"时钟_取价格数据"_s, 60000},
        {u"时钟_连接服务器检测"_s, 3000},
        {u"时钟_纸黄金价格实时更新"_s, 10000},
        {u"时钟_工行价格更新"_s, 15000},
        {u"时钟_建行价格更新"_s, 15000},
        {u"时钟_中行价格更新"_s, 15000},
        {u"时钟_进度条动画"_s, 0},
        {u"时钟_工行进度条动画"_s, 0},
        {u"时钟_建行进度条动画"_s, 0},
        {u"时钟_中行进度条动画"_s, 0},
        {u"时钟_右移动"_s, 50},
        {u"时钟_左移动"_s, 0},
        {u"时钟_非交易日检测"_s, 600000},
        {u"时间显示时钟"_s, 1000},
    };
    for (const auto& [name, interval] : timers) {
        QVERIFY2(timer(name), qPrintable(name));
        QCOMPARE(timer(name)->interval(), interval);
    }

    for (const QString& name : {u"标签_工行买入价"_s, u"标签_国际卖出价"_s}) {
        QLabel* price = find<QLabel>(name);
        QCOMPARE(price->font().family(), u"宋体"_s);
        QCOMPARE(price->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }
    QCOMPARE(find<QLabel>(u"标签_工行买入价"_s)->font().pixelSize(), 16);
    QCOMPARE(find<QLabel>(u"标签_国际买入价"_s)->font().pixelSize(), 14);
    QCOMPARE(label(u"标签_建行状态"_s), u"开始实时数据同步"_s);
    QCOMPARE(find<QPushButton>(u"按钮_中行数据更新停止"_s)->toolTip(), u"点击停止获取中行数据！"_s);
    QCOMPARE(find<QProgressBar>(u"进度条_工行"_s)->maximum(), 30);
    QCOMPARE(find<QProgressBar>(u"进度条_国际"_s)->maximum(), 10);
    QVERIFY(find<QLabel>(u"标签_连接服务器"_s)->isVisible());
    QCOMPARE(find<QLabel>(u"标签_连接服务器"_s)->x(), 41);
}

void MainWindowTest::menusHoldEveryItem() {
    open();
    const QList<QPair<QString, QStringList>> menus = {
        {u"文件(&F)"_s, {u"小窗口(&S)"_s, u"-"_s, u"退出(&E)"_s}},
        {u"行情(&M)"_s,
         {u"实时黄金(&T)"_s, u"历史走势(&A)"_s, u"影响走势(&E)"_s, u"-"_s, u"黄金K线(&K)"_s,
          u"综合看盘(&G)"_s, u"MT4(&W)"_s, u"-"_s, u"价格记录(&R)"_s}},
        {u"工具(&T)"_s,
         {u"放大镜（按F12键退出）"_s, u"记事本(&N)"_s, u"计算器(&C)"_s, u"单位换算(&U)"_s, u"-"_s,
          u"资料浏览(&S)"_s, u"模拟炒金(&G)"_s, u"交易管理(&D)"_s, u"提醒记录(&J)"_s, u"-"_s,
          u"锁定系统(&L)"_s}},
        {u"设置(&S)"_s, {u"系统设置(&P)"_s}},
        {u"帮助(&H)"_s, {u"升级检测(&U)"_s, u"-"_s, u"软件使用(&B)"_s, u"关于我们(&A)"_s}},
    };
    const QList<QAction*> top = window->menuBar()->actions();
    QCOMPARE(top.size(), menus.size());
    for (int i = 0; i < menus.size(); ++i) {
        QCOMPARE(top[i]->text(), menus[i].first);
        QStringList items;
        for (QAction* item : top[i]->menu()->actions())
            items << (item->isSeparator() ? u"-"_s : item->text());
        QCOMPARE(items, menus[i].second);
    }
    QVERIFY(lookup::command(window, u"退出(&E)"_s)->isEnabled());
    QVERIFY(lookup::command(window, u"系统设置(&P)"_s)->isEnabled());
    QVERIFY(lookup::command(window, u"单位换算(&U)"_s)->isEnabled());
    QVERIFY(lookup::command(window, u"小窗口(&S)"_s)->isEnabled());
    // The channel menu exists as a pop-up only.
    auto* channels = window->findChild<QMenu*>(u"电视频道"_s);
    QVERIFY(channels);
    QCOMPARE(channels->actions().size(), 3);
    QVERIFY(channels->actions().first()->isChecked());
}

void MainWindowTest::fetchesAtCreationAndWhileWaiting() {
    open();
    QCOMPARE(fakes->http.requested.size(), 1);
    QCOMPARE(fakes->http.requested.first(), QUrl(u"http://127.0.0.1:9/quote/index.html"_s));
    // Each timer asks again once the previous fetch has answered, never sooner.
    timer(u"时钟_连接服务器检测"_s)->tick();
    QCOMPARE(fakes->http.requested.size(), 1);
    fakes->http.answer(std::nullopt);
    timer(u"时钟_连接服务器检测"_s)->tick();
    fakes->http.answer(std::nullopt);
    timer(u"时钟_取价格数据"_s)->tick();
    QCOMPARE(fakes->http.requested.size(), 3);
    // No prices: nothing derived, labels stay blank.
    timer(u"时钟_纸黄金价格实时更新"_s)->tick();
    timer(u"时钟_工行价格更新"_s)->tick();
    QVERIFY(label(u"标签_国际买入价"_s).isEmpty());
    QVERIFY(label(u"标签_工行买入价"_s).isEmpty());
    QCOMPARE(timer(u"时钟_连接服务器检测"_s)->interval(), 3000);
}

void MainWindowTest::firstPricesShowAsFetchedThenDerive() {
    open();
    answerFetch("257.76", "258.56");
    fakes->random.values = {7};
    timer(u"时钟_连接服务器检测"_s)->tick();
    QCOMPARE(label(u"标签_国际买入价"_s), u"257.76"_s);
    QCOMPARE(label(u"标签_国际卖出价"_s), u"258.56"_s);
    QCOMPARE(window->quoteModel().shown(QuoteModel::Shown::IntlBuy), u"257.76"_s);
    QVERIFY(!find<QLabel>(u"标签_连接服务器"_s)->isVisible());
    QVERIFY(!find<QWidget>(u"画板_连接服务器"_s)->isVisible());
    QCOMPARE(timer(u"时钟_右移动"_s)->interval(), 0);
    QCOMPARE(timer(u"时钟_连接服务器检测"_s)->interval(), 0);
    QCOMPARE(timer(u"时钟_进度条动画"_s)->interval(), 7);

    // The ten-second update: buy step 1, sell step 5.
    fakes->random.ranges.clear();
    fakes->random.values = {3, 1, 5};
    timer(u"时钟_纸黄金价格实时更新"_s)->tick();
    QCOMPARE(label(u"标签_国际买入价"_s), u"257.77"_s);
    QCOMPARE(label(u"标签_国际卖出价"_s), u"258.61"_s);
    QCOMPARE(fakes->random.ranges, (QList<QPair<int, int>>{{1, 15}, {1, 5}, {1, 5}}));
}

void MainWindowTest::zeroBasePricesCountAsNoPrices() {
    open();
    answerFetch("0.0000", "258.56");
    const int before = fakes->http.requested.size();
    timer(u"时钟_连接服务器检测"_s)->tick();
    QCOMPARE(fakes->http.requested.size(), before + 1);
    QVERIFY(label(u"标签_国际买入价"_s).isEmpty());
    QVERIFY(find<QLabel>(u"标签_连接服务器"_s)->isVisible());
    QCOMPARE(timer(u"时钟_连接服务器检测"_s)->interval(), 3000);
}

void MainWindowTest::bankRowsDeriveFromBaseBuy() {
    open();
    answerFetch("257.83", "999.99");
    const QStringList banks = {u"工行"_s, u"建行"_s, u"中行"_s};
    const int steps[] = {0, 15, 8};
    for (int i = 0; i < 3; ++i) {
        fakes->random.values = {4, steps[i]};
        timer(u"时钟_%1价格更新"_s.arg(banks[i]))->tick();
    }
    // Mended: 257.83 with step 0 is 257.83, not a cent less; sell is always buy + 0.80.
    QCOMPARE(label(u"标签_工行买入价"_s), u"257.83"_s);
    QCOMPARE(label(u"标签_工行卖出价"_s), u"258.63"_s);
    QCOMPARE(label(u"标签_建行买入价"_s), u"257.98"_s);
    QCOMPARE(label(u"标签_建行卖出价"_s), u"258.78"_s);
    QCOMPARE(label(u"标签_中行买入价"_s), u"257.91"_s);
    QCOMPARE(label(u"标签_中行卖出价"_s), u"258.71"_s);
    QCOMPARE(window->quoteModel().shown(QuoteModel::Shown::CcbSell), u"258.78"_s);
    QCOMPARE(timer(u"时钟_工行进度条动画"_s)->interval(), 4);
}

void MainWindowTest::progressRunsPastMaximumThenStops() {
    open();
    answerFetch("257.76", "258.56");
    Timer* update = timer(u"时钟_工行价格更新"_s);
    Timer* animation = timer(u"时钟_工行进度条动画"_s);
    auto* bar = find<QProgressBar>(u"进度条_工行"_s);
    update->tick();
    for (int i = 0; i < 12; ++i)
        animation->tick();
    QCOMPARE(bar->value(), 12);
    // A new update while the bar stands at 12: it runs on from there.
    update->tick();
    QVERIFY(animation->interval() > 0);
    for (int i = 0; i < 18; ++i)
        animation->tick();
    QCOMPARE(bar->value(), 30);
    QVERIFY(animation->interval() > 0);
    animation->tick();
    QCOMPARE(bar->value(), 0);
    QCOMPARE(animation->interval(), 0);

    // The international bar wraps after 10.
    timer(u"时钟_纸黄金价格实时更新"_s)->tick();
    for (int i = 0; i < 11; ++i)
        timer(u"时钟_进度条动画"_s)->tick();
    QCOMPARE(find<QProgressBar>(u"进度条_国际"_s)->value(), 0);
    QCOMPARE(timer(u"时钟_进度条动画"_s)->interval(), 0);
}

void MainWindowTest::connectingIndicatorBounces() {
    open();
    QLabel* moving = find<QLabel>(u"标签_连接服务器"_s);
    Timer* right = timer(u"时钟_右移动"_s);
    Timer* left = timer(u"时钟_左移动"_s);
    right->setInterval(0); // drive by hand
    QList<int> seen;
    int guard = 0;
    while (left->interval() == 0 && guard++ < 100) {
        right->tick();
        seen << moving->x();
    }
    QVERIFY(left->interval() == 50);
    QCOMPARE(right->interval(), 0);
    QVERIFY(seen.last() >= 120);
    QCOMPARE(seen.at(1) - seen.at(0), 5);
    guard = 0;
    while (right->interval() == 0 && guard++ < 100)
        left->tick();
    QCOMPARE(right->interval(), 50);
    QVERIFY(moving->x() <= 0);
    QVERIFY(moving->x() > -5);
}

void MainWindowTest::stopAndStartButtons() {
    open();
    answerFetch("257.76", "258.56");
    timer(u"时钟_工行价格更新"_s)->tick();
    const QString shown = label(u"标签_工行买入价"_s);
    QTest::mouseClick(find<QPushButton>(u"按钮_工行数据更新停止"_s), Qt::LeftButton);
    QCOMPARE(timer(u"时钟_工行价格更新"_s)->interval(), 0);
    QCOMPARE(label(u"标签_工行状态"_s), u"停止状态..."_s);
    QCOMPARE(label(u"标签_工行买入价"_s), shown);
    QCOMPARE(timer(u"时钟_建行价格更新"_s)->interval(), 15000);
    QTest::mouseClick(find<QPushButton>(u"按钮_工行数据更新开始"_s), Qt::LeftButton);
    QCOMPARE(timer(u"时钟_工行价格更新"_s)->interval(), 15000);
    QCOMPARE(label(u"标签_工行状态"_s), u"开始实时数据同步"_s);
}

void MainWindowTest::closedMarketFreezesBankRows() {
    fakes->clock.current = at(13, 10, 0); // Sunday
    open();
    answerFetch("257.76", "258.56");
    for (const QString& bank : {u"工行"_s, u"建行"_s, u"中行"_s}) {
        QCOMPARE(label(u"标签_%1状态"_s.arg(bank)), u"非交易时间"_s);
        QCOMPARE(timer(u"时钟_%1价格更新"_s.arg(bank))->interval(), 0);
        QCOMPARE(timer(u"时钟_%1进度条动画"_s.arg(bank))->interval(), 0);
        QVERIFY(!find<QPushButton>(u"按钮_%1数据更新开始"_s.arg(bank))->isEnabled());
        QVERIFY(!find<QPushButton>(u"按钮_%1数据更新停止"_s.arg(bank))->isEnabled());
    }
    // The international row keeps updating.
    timer(u"时钟_纸黄金价格实时更新"_s)->tick();
    QVERIFY(!label(u"标签_国际买入价"_s).isEmpty());
}

void MainWindowTest::closedMarketBoundaries_data() {
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("later");
    QTest::addColumn<bool>("closedAtStart");
    QTest::addColumn<bool>("closedLater");
    QTest::newRow("Saturday 04:59, check at 05:00") << at(12, 4, 59) << at(12, 5, 0) << false << true;
    QTest::newRow("Monday 06:59 stays closed at 07:00") << at(14, 6, 59) << at(14, 7, 0) << true << true;
    QTest::newRow("Monday 07:00 trades") << at(14, 7, 0) << at(14, 12, 0) << false << false;
    QTest::newRow("Friday night trades") << at(11, 23, 59) << at(12, 4, 0) << false << false;
}

void MainWindowTest::closedMarketBoundaries() {
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, later);
    QFETCH(bool, closedAtStart);
    QFETCH(bool, closedLater);
    fakes->clock.current = start;
    open();
    QCOMPARE(label(u"标签_工行状态"_s) == u"非交易时间"_s, closedAtStart);
    fakes->clock.current = later;
    timer(u"时钟_非交易日检测"_s)->tick();
    QCOMPARE(label(u"标签_中行状态"_s) == u"非交易时间"_s, closedLater);
    QCOMPARE(timer(u"时钟_中行价格更新"_s)->interval() == 0, closedLater);
}

void MainWindowTest::startupOptions_data() {
    QTest::addColumn<int>("config");
    QTest::addColumn<QString>("layoutFlag");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QString>("icbcFlag");
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<bool>("icbcStopped");
    QTest::newRow("no config.ini") << kNoConfig << u"0"_s << QSize(1280, 800) << u"1"_s << false << false;
    QTest::newRow("oversized config.ini")
        << kOversizedConfig << u"0"_s << QSize(1280, 800) << u"1"_s << false << false;
    QTest::newRow("small screen") << kConfig << u"0"_s << QSize(1440, 1024) << u"0"_s << true << false;
    QTest::newRow("wide screen") << kConfig << u"0"_s << QSize(1441, 900) << u"0"_s << false << false;
    QTest::newRow("tall screen") << kConfig << u""_s << QSize(1280, 1025) << u"0"_s << false << false;
    QTest::newRow("designed layout") << kConfig << u"1"_s << QSize(1024, 768) << u"0"_s << false << false;
    QTest::newRow("ICBC not synchronised")
        << kConfig << u"1"_s << QSize(1920, 1080) << u"1"_s << false << true;
    QTest::newRow("flag 2 is off") << kConfig << u"1"_s << QSize(1920, 1080) << u"2"_s << false << false;
}

void MainWindowTest::startupOptions() {
    QFETCH(int, config);
    QFETCH(QString, layoutFlag);
    QFETCH(QSize, screen);
    QFETCH(QString, icbcFlag);
    QFETCH(bool, maximised);
    QFETCH(bool, icbcStopped);
    const QString path = appPath(u"config.ini"_s);
    if (config != kNoConfig) {
        QVERIFY(settings::writeItem(path, u"常规选项"_s, u"界面"_s, layoutFlag));
        QVERIFY(settings::writeItem(path, u"黄金选项"_s, u"工行数据"_s, icbcFlag));
        QVERIFY(settings::writeItem(path, u"黄金选项"_s, u"中行数据"_s, u"0"_s));
    }
    if (config == kOversizedConfig)
        QVERIFY(QFile::resize(path, settings::kMaxFileBytes + 1));
    fakes->screen.screens = {QRect(QPoint(0, 0), screen)};
    open();
    QCOMPARE(window->windowState().testFlag(Qt::WindowMaximized), maximised);
    QCOMPARE(timer(u"时钟_工行价格更新"_s)->interval() == 0, icbcStopped);
    QCOMPARE(label(u"标签_工行状态"_s) == u"停止状态..."_s, icbcStopped);
    QCOMPARE(timer(u"时钟_中行价格更新"_s)->interval(), 15000);
    QVERIFY(fakes->dialogs.history().isEmpty());
}

void MainWindowTest::layoutFollowsResize() {
    open();
    QWidget* client = window->centralWidget();
    for (const QSize size : {QSize(1015, 688), QSize(1400, 900), QSize(820, 560)}) {
        client->resize(size);
        QCOMPARE(client->size(), size);
        const QRect right = find<QWidget>(u"右侧背景框"_s)->geometry();
        QCOMPARE(right.right() + 1, size.width() - 2);
        QCOMPARE(right.height(), size.height() - 28 - 20);
        const QRect tabs = find<QWidget>(u"高级选择夹"_s)->geometry();
        QCOMPARE(tabs.width(), size.width() - 264 - 6);
        QCOMPARE(tabs.height(), right.height() - 24 - 2);
        QCOMPARE(find<QWidget>(u"超级按钮_银行显示"_s)->y(), tabs.height() - 228);
        QCOMPARE(find<QWidget>(u"新闻背景画板"_s)->width(), size.width() - 106);
        QCOMPARE(find<QStatusBar>(u"状态条_新闻"_s)->geometry(),
                 QRect(0, size.height() - 20, size.width(), 20));
        QCOMPARE(find<QWidget>(u"国际价格背景框"_s)->y(), size.height() - 20 - 70 - 30);
    }
}

void MainWindowTest::foldsAndSplitter() {
    open();
    auto* alertGroup = find<QWidget>(u"分组框_提醒背景"_s);
    auto* intl = find<QWidget>(u"国际价格背景框"_s);
    const int designHeight = alertGroup->height();
    QTest::mouseClick(find<QPushButton>(u"按钮_提醒折叠"_s), Qt::LeftButton);
    QCOMPARE(alertGroup->height(), 0);
    QCOMPARE(intl->y(), alertGroup->y() + 10);
    QTest::mouseClick(find<QPushButton>(u"按钮_提醒折叠"_s), Qt::LeftButton);
    QCOMPARE(alertGroup->height(), 308);
    QTest::mouseClick(find<QPushButton>(u"按钮_提醒折叠"_s), Qt::LeftButton);
    window->centralWidget()->resize(window->centralWidget()->width() + 10, window->centralWidget()->height());
    QCOMPARE(alertGroup->height(), designHeight); // a resize unfolds it again

    QTest::mouseClick(find<QPushButton>(u"按钮_电视折叠"_s), Qt::LeftButton);
    QCOMPARE(find<QWidget>(u"分组框_频道背景"_s)->height(), 0);
    QCOMPARE(find<QWidget>(u"按钮_提醒折叠"_s)->y(), 33);
    QCOMPARE(alertGroup->y(), 13);

    window->centralWidget()->resize(1015, 688);
    auto* splitter = find<QPushButton>(u"超级按钮_银行显示"_s);
    auto* chart = find<QWidget>(u"浏览框_二十四小时黄金图超文本"_s);
    const int shownChart = chart->y();
    QCOMPARE(splitter->y(), 386);
    QTest::mouseClick(splitter, Qt::LeftButton);
    QCOMPARE(splitter->y(), 605);
    QCOMPARE(find<QWidget>(u"银行背景框"_s)->y(), 613);
    QVERIFY(chart->y() > shownChart);
    QTest::mouseClick(splitter, Qt::LeftButton);
    QCOMPARE(splitter->y(), 386);
    QCOMPARE(find<QWidget>(u"银行背景框"_s)->y(), 394);
    QCOMPARE(chart->y(), shownChart);
}

void MainWindowTest::commandsSelectChartPages() {
    open();
    auto* tabs = find<ChartTabs>(u"高级选择夹"_s);
    lookup::command(window, u"历史走势(&A)"_s)->trigger();
    QCOMPARE(tabs->currentIndex(), 1);
    lookup::toolbarButton(window, 4)->trigger();
    QCOMPARE(tabs->currentIndex(), 3);
    lookup::toolbarButton(window, 5)->trigger();
    QCOMPARE(tabs->currentIndex(), 4);
    lookup::command(window, u"实时黄金(&T)"_s)->trigger();
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(find<QWidget>(u"银行背景框"_s)->isVisible());
}

void MainWindowTest::bankLinksOpenTheirSites() {
    open();
    auto* link = find<QPushButton>(u"超级链接框1"_s);
    QCOMPARE(link->text(), u"www.icbc.com.cn"_s);
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(fakes->launcher.opened, QList<QUrl>{QUrl(u"https://www.icbc.com.cn/"_s)});
    // A site missing from endpoints.ini leaves its link disabled.
    QVERIFY(!find<QPushButton>(u"超级链接框2"_s)->isEnabled());
}

void MainWindowTest::closingEndsTheProgram() {
    open();
    window->setAttribute(Qt::WA_DeleteOnClose, true);
    QPointer<MainWindow> guard(window);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!guard);
    window = nullptr;
    QCOMPARE(fakes->quitCodes, QList<int>{0});
}

void MainWindowTest::skinKeepsTheDesignSizeAndBarsStayVisible_data() {
    QTest::addColumn<bool>("skinned");
    QTest::newRow("with the skin") << true;
    QTest::newRow("without the skin") << false;
}

void MainWindowTest::skinKeepsTheDesignSizeAndBarsStayVisible() {
    QFETCH(bool, skinned);
    if (skinned)
        QVERIFY(QFile::copy(QStringLiteral(AURIVEX_SKIN_FILE), appPath(u"CambridgeBlue.she"_s)));
    open();
    // The window is sized after the skin changed the menu bar.
    QCOMPARE(window->centralWidget()->size(), QSize(MainWindow::kClientWidth, MainWindow::kClientHeight));
    // The bank panel's splitter bar shows against its page either way.
    auto* splitter = find<QPushButton>(u"超级按钮_银行显示"_s);
    const QImage page = splitter->parentWidget()->grab().toImage();
    const QPoint inBar = splitter->geometry().center();
    QVERIFY(page.pixelColor(inBar) != page.pixelColor(inBar.x(), splitter->y() - 4));
    qApp->setStyleSheet(QString());
}

void MainWindowTest::dataErrorLetsTheWindowWorkUntilOk() {
    open();
    answerFetch("57.76<", "258.56");
    QCOMPARE(fakes->dialogs.lastText(), u"敬告：服务器数据错误！"_s);
    QCOMPARE(fakes->dialogs.history().last().title, u"数据错误"_s);
    // The box waits for OK without stopping the window.
    QVERIFY(fakes->quitCodes.isEmpty());
    lookup::command(window, u"历史走势(&A)"_s)->trigger();
    QCOMPARE(find<ChartTabs>(u"高级选择夹"_s)->currentIndex(), 1);
    fakes->dialogs.acknowledgeNotices();
    QCOMPARE(fakes->quitCodes, QList<int>{0});
}

void MainWindowTest::standardButtonsReadChinese() {
    installChineseTranslations();
    QMessageBox box(QMessageBox::NoIcon, u"友情提示："_s, u"数据库打开失败，请重新运行软件！"_s,
                    QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), u"确定"_s);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), u"取消"_s);
}

void MainWindowTest::productPageAsWrittenOrNamedWhenUnusable_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("usable");
    QTest::newRow("session and list") << u"http://host/upgrade;jsessionid=AB12?x=1,2"_s << true;
    QTest::newRow("words") << u"upgrade page"_s << false;
}

void MainWindowTest::productPageAsWrittenOrNamedWhenUnusable() {
    QFETCH(QString, value);
    QFETCH(bool, usable);
    QVERIFY(dir->setEndpoint(endpoints::key::productPageUrl, value));
    open();
    QAction* check = lookup::command(window, u"升级检测(&U)"_s);
    QCOMPARE(check->isEnabled(), usable);
    if (usable) {
        check->trigger();
        QCOMPARE(fakes->launcher.opened, QList<QUrl>{QUrl(value)});
        QCOMPARE(fakes->launcher.opened.value(0).toString(), value);
    }
    // The user learns which key to mend, once the window shows.
    QCoreApplication::processEvents();
    QCOMPARE(fakes->dialogs.openNotices.size(), usable ? 0 : 1);
    QCOMPARE(fakes->dialogs.lastText().contains(u"productPageUrl"_s), !usable);
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
