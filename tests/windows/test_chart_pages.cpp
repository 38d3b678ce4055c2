// The chart pages in the main window, with fake services: the 24-hour chart's
// refresh, countdown, speed and stop; the manual refresh's alternating cache
// clearing; the history, influence, K-line and technical pages as selected by
// command and button; images beyond the decoding bounds left unseen; the chart
// windows and the partner window "综合看盘".
#include "app/main_window.h"
#include "charts/chart_panel.h"
#include "charts/chart_tabs.h"
#include "charts/chart_window.h"
#include "charts/partner_window.h"
#include "core/app_dir.h"
#include "core/endpoints.h"
#include "platform/timer.h"
#include "support/gif_forge.h"
#include "support/main_window_lookup.h"
#include "support/program_test.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kImages = u"http://img:1"_s;

// A picture larger than any panel, a different colour in each corner.
QByteArray largeImage() {
    QImage image(800, 500, QImage::Format_RGB32);
    image.fill(QColor(250, 240, 200));
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(491, 309, qRgb(0, 0, 255));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// Two frames of 3 by 2 pixels, red then blue, 50 ms each, looping.
const unsigned char kAnimatedGif[] = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x03, 0x00, 0x02, 0x00, 0xf0, 0x00, 0x00, 0xff, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x05, 0x00, 0x00, 0x00, 0x21, 0xff, 0x0b, 0x4e, 0x45,
    0x54, 0x53, 0x43, 0x41, 0x50, 0x45, 0x32, 0x2e, 0x30, 0x03, 0x01, 0x00, 0x00, 0x00, 0x2c, 0x00,
    0x00, 0x00, 0x00, 0x03, 0x00, 0x02, 0x00, 0x00, 0x02, 0x02, 0x84, 0x5f, 0x00, 0x21, 0xf9, 0x04,
    0x00, 0x05, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x02, 0x00, 0x80, 0x00,
    0x00, 0xff, 0x00, 0x00, 0x00, 0x02, 0x02, 0x84, 0x5f, 0x00, 0x3b};

} // namespace

class ChartPagesTest : public ProgramTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startupLoadsTheDayChartFlushAndCountsDown();
    void speedSliderAndStop();
    void manualRefreshClearsTheCacheOnEveryOtherPress();
    void historyPageLoadsFromTheCacheAndEnlarges();
    void influencePageRefreshesByHandAndByTimer();
    void kLineButtonsSetStatusAndAddress();
    void technicalButtonsShareOnePanel();
    void animatedChartPlays();
    void imagesBeyondTheBoundsAreRefusedUnseen_data();
    void imagesBeyondTheBoundsAreRefusedUnseen();
    void chartWindowsOpenOnceAndRefresh();
    void partnerWindowAndItsHelp();

private:
    template <typename T> T* find(const QString& name) const { return window->findChild<T*>(name); }
    Timer* timer(const QString& name) const { return find<Timer>(name); }
    void click(const QString& button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    // The chart requests still waiting, quote fetches left out.
    QStringList pendingCharts() const;
    // Answers the pending request for `url`; false when there is none.
    bool answer(const QString& url, const std::optional<QByteArray>& body);
    template <typename T> static T* topLevel(const QString& title);
    // The windows on screen, the main window included.
    static int shownWindows();
};

void ChartPagesTest::initTestCase() {
    installFontSubstitutions();
}

void ChartPagesTest::init() {
    startProgram();
    for (const auto& [key, value] : {std::pair{endpoints::key::quotePortalHost, u"127.0.0.1:9"_s},
                                     {endpoints::key::chartImageHost, u"img:1"_s},
                                     {endpoints::key::chartImageIntlHost, u"intl:2"_s},
                                     {endpoints::key::klineChartHost, u"kline:3"_s},
                                     {endpoints::key::partnerChartHost, u"partner:4"_s},
                                     {endpoints::key::javaDownloadUrl, u"https://java.example/download/"_s}})
        QVERIFY(dir->setEndpoint(key, value));
}

void ChartPagesTest::cleanup() {
    delete window;
    window = nullptr;
    // The chart windows have no owner, yet they go with the main window.
    for (QWidget* top : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<ChartWindow*>(top) && !qobject_cast<PartnerWindow*>(top));
    endProgram();
}

QStringList ChartPagesTest::pendingCharts() const {
    QStringList urls;
    for (const FakeHttp::Request& request : fakes->http.pending) {
        if (!request.url.path().startsWith(u"/quote/"_s))
            urls << request.url.toString();
    }
    return urls;
}

bool ChartPagesTest::answer(const QString& url, const std::optional<QByteArray>& body) {
    for (qsizetype i = 0; i < fakes->http.pending.size(); ++i) {
        if (fakes->http.pending[i].url.toString() != url)
            continue;
        FakeHttp::Request request = fakes->http.pending.takeAt(i);
        if (request.context)
            request.reply(body);
        return true;
    }
    return false;
}

template <typename T> T* ChartPagesTest::topLevel(const QString& title) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<T*>(widget);
            found && found->isVisible() && found->windowTitle() == title)
            return found;
    }
    return nullptr;
}

int ChartPagesTest::shownWindows() {
    int shown = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
        shown += top->isVisible();
    return shown;
}

void ChartPagesTest::startupLoadsTheDayChartFlushAndCountsDown() {
    open();
    const QString day = kImages + u"/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s;
    QCOMPARE(pendingCharts(), QStringList{day});
    QCOMPARE(fakes->webCache.clears, 1);
    QCOMPARE(timer(u"时钟_二十四小时纸黄金更新"_s)->interval(), 15000);
    QCOMPARE(timer(u"时钟_剩余时间显示"_s)->interval(), 1000);
    QCOMPARE(timer(u"时钟_影响走势自动刷新"_s)->interval(), 0);
    auto* countdown = find<QLabel>(u"标签_二十四小时黄金刷新剩余时间"_s);
    QCOMPARE(countdown->text(), u"15"_s);
    timer(u"时钟_剩余时间显示"_s)->tick();
    QCOMPARE(countdown->text(), u"14"_s);

    // An image larger than its panel sits at the top left, clipped: no scroll bars, no border.
    QVERIFY(answer(day, largeImage()));
    auto* chart = find<ChartPanel>(u"浏览框_二十四小时黄金图超文本"_s);
    QCOMPARE(chart->size(), QSize(492, 310));
    QCOMPARE(chart->property("image").toString(), u"800x500"_s);
    QVERIFY(chart->findChildren<QScrollBar*>().isEmpty());
    const QImage shown = chart->grab().toImage();
    QCOMPARE(shown.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(shown.pixel(491, 309), qRgb(0, 0, 255));

    // Every refresh fetches afresh and sets the countdown back.
    timer(u"时钟_二十四小时纸黄金更新"_s)->tick();
    QCOMPARE(fakes->webCache.clears, 2);
    QCOMPARE(pendingCharts(), QStringList{day});
    QCOMPARE(countdown->text(), u"15"_s);
    // A chart that does not arrive leaves the panel empty.
    QVERIFY(answer(day, std::nullopt));
    QVERIFY(chart->image().isNull());
    QCOMPARE(chart->property("loaded").toBool(), false);

    // Refreshes faster than a stalled server answers end the download before: one at a time.
    timer(u"时钟_二十四小时纸黄金更新"_s)->tick();
    timer(u"时钟_二十四小时纸黄金更新"_s)->tick();
    const auto live =
        std::count_if(fakes->http.pending.begin(), fakes->http.pending.end(), [](const FakeHttp::Request& r) {
            return r.context && r.url.path() != u"/quote/index.html"_s;
        });
    QCOMPARE(live, 1);
}

void ChartPagesTest::speedSliderAndStop() {
    open();
    auto* slider = find<QSlider>(u"滑块条_二十四小时黄金自动刷新速度调节"_s);
    auto* countdown = find<QLabel>(u"标签_二十四小时黄金刷新剩余时间"_s);
    QCOMPARE(slider->minimum(), 10);
    QCOMPARE(slider->maximum(), 30);
    QCOMPARE(slider->value(), 15);
    QCOMPARE(slider->pageStep(), 5);
    const qsizetype requests = fakes->http.requested.size();
    slider->setValue(20);
    QCOMPARE(timer(u"时钟_二十四小时纸黄金更新"_s)->interval(), 20000);
    QCOMPARE(countdown->text(), u"20"_s);
    QCOMPARE(slider->toolTip(), u"自动刷新速度20秒"_s);
    QCOMPARE(fakes->http.requested.size(), requests); // no reload until the timer says so

    auto* stop = find<QPushButton>(u"按钮_二十四小时黄金停止刷新"_s);
    QCOMPARE(stop->toolTip(), u"停止后，必须点击速度调节滑块，才能重新恢复刷新！"_s);
    timer(u"时钟_剩余时间显示"_s)->tick();
    click(u"按钮_二十四小时黄金停止刷新"_s);
    QCOMPARE(timer(u"时钟_二十四小时纸黄金更新"_s)->interval(), 0);
    QCOMPARE(timer(u"时钟_剩余时间显示"_s)->interval(), 0);
    QCOMPARE(countdown->text(), u"19"_s);
    // Showing page 0 by command reloads the chart but starts no countdown while stopped.
    lookup::command(window, u"实时黄金(&T)"_s)->trigger();
    QCOMPARE(timer(u"时钟_剩余时间显示"_s)->interval(), 0);
    QCOMPARE(countdown->text(), u"19"_s);

    slider->setValue(25);
    QCOMPARE(timer(u"时钟_二十四小时纸黄金更新"_s)->interval(), 25000);
    QCOMPARE(timer(u"时钟_剩余时间显示"_s)->interval(), 1000);
    QCOMPARE(countdown->text(), u"25"_s);
}

void ChartPagesTest::manualRefreshClearsTheCacheOnEveryOtherPress() {
    open();
    const QString day = kImages + u"/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s;
    QVERIFY(answer(day, largeImage()));
    auto* chart = find<ChartPanel>(u"浏览框_二十四小时黄金图超文本"_s);
    const int clears = fakes->webCache.clears;
    const int countdownMs = timer(u"时钟_剩余时间显示"_s)->interval();

    click(u"按钮_纸黄金手动刷新"_s); // 1: emptied, fetched anew
    QCOMPARE(fakes->webCache.clears, clears + 1);
    QCOMPARE(pendingCharts(), QStringList{day});
    QVERIFY(answer(day, largeImage()));
    click(u"按钮_纸黄金手动刷新"_s); // 2: from the cache
    QCOMPARE(fakes->webCache.clears, clears + 1);
    QVERIFY(pendingCharts().isEmpty());
    QCOMPARE(chart->property("loaded").toBool(), true);
    click(u"按钮_纸黄金手动刷新"_s); // 3: emptied again
    QCOMPARE(fakes->webCache.clears, clears + 2);
    QCOMPARE(pendingCharts(), QStringList{day});
    QCOMPARE(timer(u"时钟_剩余时间显示"_s)->interval(), countdownMs);
}

void ChartPagesTest::historyPageLoadsFromTheCacheAndEnlarges() {
    open();
    QVERIFY(answer(kImages + u"/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s, std::nullopt));
    const int clears = fakes->webCache.clears;
    lookup::command(window, u"历史走势(&A)"_s)->trigger();
    QCOMPARE(find<ChartTabs>(u"高级选择夹"_s)->currentIndex(), 1);
    QStringList history;
    for (const char* span : {"0030", "0060", "0182", "0365", "1825", "3650"})
        history << kImages + u"/cn/past_charts/au%1lds_cny.gif"_s.arg(QLatin1String(span));
    QCOMPARE(pendingCharts(), history);
    QCOMPARE(fakes->webCache.clears, clears);
    for (const QString& url : history)
        QVERIFY(answer(url, largeImage()));

    // Shown again by command: straight from the cache, nothing fetched.
    lookup::command(window, u"实时黄金(&T)"_s)->trigger();
    QVERIFY(answer(kImages + u"/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s, std::nullopt));
    click(u"按钮_历史金价手动刷新"_s); // the page-0 load emptied the cache: fetched again
    QCOMPARE(pendingCharts(), history);
    for (const QString& url : history)
        QVERIFY(answer(url, largeImage()));
    lookup::toolbarButton(window, 2)->trigger();
    QVERIFY(pendingCharts().isEmpty());
    QVERIFY(!find<ChartPanel>(u"超文本浏览框_十年黄金图"_s)->image().isNull());
    QCOMPARE(find<QPushButton>(u"按钮_历史金价手动刷新"_s)->text(), u"手\n动\n刷\n新"_s);

    click(u"按钮_五年黄金价格图放大"_s);
    QPointer<ChartPanel> big;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* panel = top->findChild<ChartPanel*>(u"黄金历史大图浏览框"_s); panel && top->isVisible())
            big = panel;
    }
    QVERIFY(big);
    QCOMPARE(big->url().toString(), kImages + u"/cn/past_charts/au1825ldb_cny.gif"_s);
    QCOMPARE(big->window()->size(), QSize(506, 338));
    QVERIFY(!big->window()->findChild<QPushButton*>(u"按钮_手动刷新"_s));
    QCOMPARE(big->window()->findChild<QLabel*>(u"标签1"_s)->text(),
             u"如果未正常显示 可能网络正忙 请多试几次"_s);
    big->window()->close();
    QTRY_VERIFY(big.isNull());
    QCOMPARE(shownWindows(), 1);
    click(u"按钮_三十天黄金价格图放大"_s);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* panel = top->findChild<ChartPanel*>(u"黄金历史大图浏览框"_s))
            QCOMPARE(panel->url().toString(), kImages + u"/cn/past_charts/au0030ldb_cny.gif"_s);
    }
    QCOMPARE(shownWindows(), 2);
}

void ChartPagesTest::influencePageRefreshesByHandAndByTimer() {
    open();
    QVERIFY(answer(kImages + u"/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s, std::nullopt));
    const QString crude = kImages + u"/cn/live_charts/t24_crude_cn180x120.gif"_s;
    const QString dollar = kImages + u"/cn/live_charts/t24_usd_cn180x120.gif"_s;
    const QString world = u"http://intl:2/images/live/gold.gif"_s;
    const int clears = fakes->webCache.clears;
    lookup::command(window, u"影响走势(&E)"_s)->trigger();
    QCOMPARE(fakes->webCache.clears, clears + 1);
    QCOMPARE(pendingCharts(), (QStringList{crude, dollar, world}));
    for (const QString& url : {crude, dollar, world})
        QVERIFY(answer(url, largeImage()));
    // Every panel of the page shows whole, world gold's 672 x 434 too: inside
    // its frame, and the frame inside the page.
    auto* tabs = find<ChartTabs>(u"高级选择夹"_s);
    for (const ChartPanel* panel : tabs->page(2)->findChildren<ChartPanel*>()) {
        QVERIFY2(panel->parentWidget()->rect().contains(panel->geometry()), qPrintable(panel->objectName()));
        QVERIFY(panel->mapTo(tabs, QPoint(0, panel->height())).y() < tabs->height());
    }
    QCOMPARE(find<ChartPanel>(u"超文本浏览框_世界黄金图"_s)->size(), QSize(672, 434));

    click(u"影响走势自动刷新按钮"_s);
    Timer* automatic = timer(u"时钟_影响走势自动刷新"_s);
    QCOMPARE(automatic->interval(), 30000);
    automatic->tick();
    QCOMPARE(fakes->webCache.clears, clears + 2);
    QCOMPARE(pendingCharts(), (QStringList{crude, dollar})); // world gold stays
    click(u"影响走势手动刷新按钮"_s);
    QCOMPARE(automatic->interval(), 0);
    QCOMPARE(fakes->webCache.clears, clears + 3);
}

void ChartPagesTest::kLineButtonsSetStatusAndAddress() {
    open();
    QCOMPARE(fakes->webViews.views.size(), 0); // no browser until a page needs one
    lookup::toolbarButton(window, 4)->trigger();
    QCOMPARE(find<ChartTabs>(u"高级选择夹"_s)->currentIndex(), 3);
    QCOMPARE(find<QLabel>(u"标签_K线状态"_s)->text(), u"日K线"_s);
    QCOMPARE(fakes->webViews.views.size(), 1);
    FakeWebView* view = fakes->webViews.views.first();
    QCOMPARE(view->policy, WebView::NewWindowPolicy::Refuse);
    QVERIFY(view->discardWhenHidden());
    QCOMPARE(view->url().toString(), u"http://kline:3/embed.aspx?code=XAUUSD&time=4&type=1"_s);
    QCOMPARE(view->geometry(), QRect(0, 0, 590, 430));
    view->finishLoad(true);
    QCOMPARE(view->scripts, QStringList{ChartPanel::tidyPageScript()});

    click(u"按钮_KDJ"_s);
    QCOMPARE(find<QLabel>(u"标签_K线状态"_s)->text(), u"KDJ"_s);
    QCOMPARE(view->url().query(), u"code=XAUUSD&time=4&type=1&tech=9"_s);
    click(u"按钮_五分钟K线显示"_s); // a period drops the indicator
    QCOMPARE(find<QLabel>(u"标签_K线状态"_s)->text(), u"五分钟K线"_s);
    QCOMPARE(view->url().query(), u"code=XAUUSD&time=0&type=1"_s);
    QCOMPARE(find<QPushButton>(u"按钮_WR"_s)->text(), u"W%R"_s);
    QVERIFY(find<QLabel>(u"透明标签51"_s)->text().startsWith(u"友情提示："_s));
    QCOMPARE(fakes->webViews.views.size(), 1);
}

void ChartPagesTest::technicalButtonsShareOnePanel() {
    open();
    QVERIFY(answer(kImages + u"/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s, std::nullopt));
    lookup::toolbarButton(window, 5)->trigger();
    QCOMPARE(pendingCharts(), QStringList{kImages + u"/cn/tech_charts/au0365lf_ma_cn.gif"_s});
    click(u"按钮_十年黄金价格走势技术分析图"_s);
    // The newer request wins; the older answer, when it comes, is dropped.
    QVERIFY(answer(kImages + u"/cn/tech_charts/au3650lf_ma_cn.gif"_s, largeImage()));
    QVERIFY(answer(kImages + u"/cn/tech_charts/au0365lf_ma_cn.gif"_s, std::nullopt));
    auto* panel = find<ChartPanel>(u"超文本浏览框_势技术分析图"_s);
    QCOMPARE(panel->url().toString(), kImages + u"/cn/tech_charts/au3650lf_ma_cn.gif"_s);
    QVERIFY(!panel->image().isNull());
}

void ChartPagesTest::animatedChartPlays() {
    open();
    QVERIFY(answer(kImages + u"/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s,
                   QByteArray(reinterpret_cast<const char*>(kAnimatedGif), sizeof(kAnimatedGif))));
    auto* chart = find<ChartPanel>(u"浏览框_二十四小时黄金图超文本"_s);
    QCOMPARE(chart->property("image").toString(), u"3x2"_s);
    QTRY_COMPARE(chart->grab().toImage().pixel(0, 0), qRgb(255, 0, 0));
    QTRY_COMPARE(chart->grab().toImage().pixel(0, 0), qRgb(0, 0, 255));
    QCOMPARE(chart->grab().toImage().pixel(3, 0), qRgb(255, 255, 255)); // beside the image: white
}

void ChartPagesTest::imagesBeyondTheBoundsAreRefusedUnseen_data() {
    using gifforge::Frame;
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    const QRect chart(0, 0, 450, 275);
    QTest::newRow("chart") << gifforge::gif({450, 275}, {{chart}}) << u"450x275"_s;
    QTest::newRow("animated chart") << gifforge::gif({450, 275}, {{chart}, {chart}}) << u"450x275"_s;
    const Frame bomb{QRect(0, 0, 5700, 5700)};
    QTest::newRow("5700 square animation") << gifforge::gif({5700, 5700}, {bomb, bomb, bomb}) << QString();
    // The reader reports the frame's size here; the decoder allocates the screen's.
    QTest::newRow("large screen, small frame")
        << gifforge::gif({5700, 5700}, {{QRect(0, 0, 100, 100)}}) << QString();
    QTest::newRow("unpacking past its frame")
        << gifforge::gif({450, 275}, {{chart, 20'000'000}}) << QString();
    QByteArray wide;
    QBuffer buffer(&wide);
    buffer.open(QIODevice::WriteOnly);
    QImage(4097, 1, QImage::Format_Mono).save(&buffer, "PNG");
    QTest::newRow("PNG beyond the side bound") << wide << QString();
}

void ChartPagesTest::imagesBeyondTheBoundsAreRefusedUnseen() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    open();
    QVERIFY(answer(kImages + u"/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s, bytes));
    auto* chart = find<ChartPanel>(u"浏览框_二十四小时黄金图超文本"_s);
    QCOMPARE(chart->property("image").toString(), shown);
    QCOMPARE(chart->property("loaded").toBool(), !shown.isEmpty());
    // A refused image is never drawn: the panel is as for a chart that did not
    // arrive, where the day this computer recorded stands in.
    if (shown.isEmpty())
        QVERIFY(chart->property("recorded").toBool() && chart->grab().toImage().pixel(0, 0) != qRgb(0, 0, 0));
    else
        QCOMPARE(chart->grab().toImage().pixel(0, 0), qRgb(0, 0, 0));
}

void ChartPagesTest::chartWindowsOpenOnceAndRefresh() {
    open();
    int clears = fakes->webCache.clears;
    click(u"按钮_纽约黄金价格走势图"_s);
    QWidget* newYork = topLevel<QWidget>(u"纽约黄金价格走势图"_s);
    QVERIFY(newYork);
    QCOMPARE(newYork->size(), QSize(682, 315));
    QCOMPARE(fakes->webCache.clears, ++clears);
    QVERIFY(pendingCharts().contains(kImages + u"/cn/live_charts/nygoldcn.gif"_s));
    QCOMPARE(newYork->findChild<ChartPanel*>(u"纽约黄金价格走势图超文本浏览框"_s)->size(), QSize(674, 285));
    QTest::mouseClick(newYork->findChild<QPushButton*>(u"按钮_手动刷新"_s), Qt::LeftButton);
    QCOMPARE(fakes->webCache.clears, ++clears);
    QCOMPARE(newYork->findChild<QLabel*>(u"标签1"_s)->text(), u"如果未显示 可能网络未连接或忙 请重试"_s);
    click(u"按钮_纽约黄金价格走势图"_s); // open already: brought forward, not doubled
    QCOMPARE(shownWindows(), 2);

    lookup::command(window, u"影响走势(&E)"_s)->trigger();
    clears = fakes->webCache.clears;
    click(u"按钮_美元指数放大"_s);
    QWidget* dollar = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->findChild<ChartPanel*>(u"美指走势大图浏览框"_s))
            dollar = top;
    }
    QVERIFY(dollar);
    QCOMPARE(fakes->webCache.clears, clears);
    QTest::mouseClick(dollar->findChild<QPushButton*>(u"按钮_手动刷新"_s), Qt::LeftButton);
    QCOMPARE(fakes->webCache.clears, clears);
    QCOMPARE(pendingCharts().count(kImages + u"/cn/past_charts/usd_30d_cn450x275.gif"_s), 2);

    lookup::command(window, u"实时黄金(&T)"_s)->trigger();
    click(u"按钮_三天黄金走势图"_s);
    QWidget* threeDays = topLevel<QWidget>(u"三天黄金走势图人民币"_s);
    QVERIFY(threeDays);
    QCOMPARE(threeDays->findChild<QLabel*>(u"标签14"_s)->text(), u"绿线为当前即时价格走势图"_s);
    QCOMPARE(threeDays->findChild<QWidget*>(u"画板3"_s)->palette().color(QPalette::Window),
             QColor(255, 0, 0));
    QVERIFY(pendingCharts().contains(kImages + u"/cn/live_charts/goldcny.gif"_s));
    QVERIFY(!QApplication::overrideCursor()); // the wait cursor went with the load's start
    click(u"按钮_三天黄金走势图美元"_s);
    QVERIFY(topLevel<QWidget>(u"三天黄金走势图美元"_s));
}

void ChartPagesTest::partnerWindowAndItsHelp() {
    open();
    QAction* overview = lookup::command(window, u"综合看盘(&G)"_s);
    QVERIFY(overview->isEnabled());
    const int clears = fakes->webCache.clears;
    overview->trigger();
    QWidget* partner = topLevel<QWidget>(u"综合看盘"_s);
    QVERIFY(partner);
    QCOMPARE(partner->size(), QSize(859, 647));
    QCOMPARE(fakes->webViews.views.size(), 1);
    FakeWebView* view = fakes->webViews.views.first();
    QCOMPARE(view->objectName(), u"超文本浏览框_看盘程序一"_s);
    QCOMPARE(view->policy, WebView::NewWindowPolicy::Refuse);
    QCOMPARE(view->loads.size(), 1);
    QCOMPARE(view->url().toString(), u"http://partner:4/"_s);
    QCOMPARE(view->loads.first().cacheClearsBefore, clears + 1);
    view->finishLoad(true);
    QVERIFY(view->scripts.isEmpty()); // the partner page is left as it is

    QTest::mouseClick(partner->findChild<QPushButton*>(u"按钮_看盘程序一重启"_s), Qt::LeftButton);
    QCOMPARE(view->loads.size(), 2);
    QCOMPARE(view->loads.last().cacheClearsBefore, clears + 2);

    auto* onTop = partner->findChild<QCheckBox*>(u"选择框_置前"_s);
    QTest::mouseClick(onTop, Qt::LeftButton);
    QVERIFY(partner->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(partner->isVisible());
    QTest::mouseClick(onTop, Qt::LeftButton);
    QVERIFY(!partner->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    auto* link = partner->findChild<QPushButton*>(u"超级链接框1"_s);
    QCOMPARE(link->text(), u"下载"_s);
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(fakes->launcher.opened, QList<QUrl>{QUrl(u"https://java.example/download/"_s)});

    QTest::mouseClick(partner->findChild<QPushButton*>(u"按钮_看盘帮助"_s), Qt::LeftButton);
    QWidget* help = topLevel<QWidget>(u"综合看盘帮助"_s);
    QVERIFY(help);
    auto* text = help->findChild<QPlainTextEdit*>(u"编辑框_综合看盘帮助"_s);
    QCOMPARE(text->size(), QSize(760, 530));
    for (const QString& heading :
         {u"一、趋向指标"_s, u"七、压力支撑指标"_s, u"KDJ"_s, u"布林线"_s, u"买卖原则"_s})
        QVERIFY2(text->toPlainText().contains(heading), qPrintable(heading));
    help->resize(600, 400);
    QCOMPARE(text->size(), QSize(600, 400));

    overview->trigger(); // open already: brought forward
    QCOMPARE(fakes->webViews.views.size(), 1);
    QCOMPARE(view->loads.size(), 2);
}

QTEST_MAIN(ChartPagesTest)
#include "test_chart_pages.moc"
