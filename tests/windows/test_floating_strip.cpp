// The floating quote strip on the real main window with fake services: how
// it opens, its price line, its settings in "config.ini", auto-hide against
// the fake screens, the font dialog and the desktop chart it drives; and the
// demo mark it wears with the main window and the alert pop-up.
#include "alerts/alert_panel.h"
#include "alerts/alert_popup.h"
#include "app/main_window.h"
#include "charts/chart_panel.h"
#include "core/app_dir.h"
#include "core/demo_feed.h"
#include "core/endpoints.h"
#include "floating/desktop_chart_window.h"
#include "floating/floating_strip.h"
#include "platform/timer.h"
#include "provisioner.h"
#include "quotes/quote_model.h"
#include "quotes/quote_page.h"
#include "settings/settings_store.h"
#include "support/main_window_lookup.h"
#include "support/program_test.h"
#include "ui/window_alpha.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QWindow>

using namespace Qt::StringLiterals;
namespace key = settings::key;

namespace {

FloatingStrip* openStrip() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == u"纸小窗口"_s && window->isVisible())
            return qobject_cast<FloatingStrip*>(window);
    }
    return nullptr;
}

int openStrips() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += qobject_cast<FloatingStrip*>(window) != nullptr;
    return count;
}

template <typename T> T* control(const QString& name) {
    FloatingStrip* strip = openStrip();
    return strip ? strip->findChild<T*>(name) : nullptr;
}

Timer* timer(const QString& name) {
    return control<Timer>(name);
}

DesktopChartWindow* desktopChart() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* chart = qobject_cast<DesktopChartWindow*>(window))
            return chart;
    }
    return nullptr;
}

QByteArray pngImage(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QString priceLine() {
    timer(u"取行情时钟"_s)->tick();
    return control<QLabel>(u"标签_价格显示"_s)->text();
}

} // namespace

class FloatingStripTest : public ProgramTest {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensFromTheToolbarAsDesigned();
    void priceLineFollowsTheModelAndTheBankBoxes();
    void settingsSaveAndLoad();
    void withoutConfigNothingIsWritten();
    void autoHideOnTwoScreens();
    void fontDialogSetsFontAndColour();
    void opensAtStartWhenAsked();
    void desktopChartFromTheBottomRow();
    void demoPricesAreMarkedWhereverTheyShow_data();
    void demoPricesAreMarkedWhereverTheyShow();
};

void FloatingStripTest::init() {
    startProgram();
    QVERIFY(provision::run({dir->path(), u"127.0.0.1:9"_s, true, false}).isEmpty());
}

void FloatingStripTest::cleanup() {
    delete window;
    window = nullptr;
    QCOMPARE(openStrips(), 0); // the strip goes with the main window
    endProgram();
}

void FloatingStripTest::opensFromTheToolbarAsDesigned() {
    QVERIFY(QFile::remove(config())); // the defaults alone
    open();
    QVERIFY(!openStrip());
    QCOMPARE(lookup::toolbarButton(window, 0)->iconText(), u"小窗口"_s);
    lookup::toolbarButton(window, 0)->trigger();
    FloatingStrip* strip = openStrip();
    QVERIFY(strip);
    QCOMPARE(strip->windowTitle(), u"纸小窗口"_s);
    // Floats without a task-bar entry and never takes the keyboard when it shows.
    QCOMPARE(strip->windowType(), Qt::Tool);
    QVERIFY(strip->windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                                           Qt::WindowStaysOnTopHint));
    QVERIFY(strip->testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(!strip->isActiveWindow());
    // Folded, centred at the top of the primary screen.
    QCOMPARE(strip->geometry(), QRect(744, 0, 432, 33));
    QCOMPARE(control<QLabel>(u"标签_价格显示"_s)->text(), u"请稍后......"_s);
    QCOMPARE(control<QSlider>(u"滑块条_透明度控制"_s)->value(), 98);
    QCOMPARE(windowAlpha(strip), 235);
    QVERIFY(control<QCheckBox>(u"选择框_窗口置前"_s)->isChecked());
    QCOMPARE(timer(u"取行情时钟"_s)->interval(), 1000);
    QCOMPARE(timer(u"时钟_窗口自动隐藏判断"_s)->interval(), 0);
    QCOMPARE(control<QPushButton>(u"按钮_退出"_s)->toolTip(), u"退出小窗口！"_s);

    // The slider sets the opacity; the keep-on-top box takes the strip off the top in place.
    control<QSlider>(u"滑块条_透明度控制"_s)->setValue(60);
    QCOMPARE(windowAlpha(strip), 150);
    control<QCheckBox>(u"选择框_窗口置前"_s)->click();
    QVERIFY(strip->isVisible());
    QVERIFY(!strip->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!strip->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));

    // The settings area unfolds below the strip and folds again.
    control<QToolButton>(u"按钮_高级设置"_s)->click();
    QCOMPARE(strip->size(), QSize(432, 169));
    control<QToolButton>(u"按钮_高级设置"_s)->click();
    QCOMPARE(strip->size(), QSize(432, 33));

    // The menu item is the same command; a second opening keeps the one strip.
    trigger(u"小窗口(&S)"_s);
    QCOMPARE(openStrips(), 1);
    QCOMPARE(windowAlpha(strip), 150);

    // Exit destroys it; opening again starts from the defaults.
    QPointer<FloatingStrip> closed = strip;
    control<QPushButton>(u"按钮_退出"_s)->click();
    QTRY_VERIFY(!closed);
    trigger(u"小窗口(&S)"_s);
    QVERIFY(openStrip());
    QCOMPARE(windowAlpha(openStrip()), 235);
}

void FloatingStripTest::priceLineFollowsTheModelAndTheBankBoxes() {
    open();
    QuoteModel& model = window->quoteModel();
    lookup::toolbarButton(window, 0)->trigger();
    QCOMPARE(priceLine(), u"国际买入:  国际卖出:"_s);
    model.setShown(QuoteModel::Shown::IntlBuy, u"900.01"_s);
    model.setShown(QuoteModel::Shown::IntlSell, u"901.22"_s);
    model.setShown(QuoteModel::Shown::IcbcBuy, u"899.95"_s);
    model.setShown(QuoteModel::Shown::IcbcSell, u"900.75"_s);
    model.setShown(QuoteModel::Shown::CcbBuy, u"301.25"_s);
    model.setShown(QuoteModel::Shown::CcbSell, u"302.05"_s);
    QCOMPARE(priceLine(), u"国际买入:900.01  国际卖出:901.22"_s);

    auto* icbc = control<QCheckBox>(u"选择框_工行价格"_s);
    auto* ccb = control<QCheckBox>(u"选择框_建行价格"_s);
    auto* boc = control<QCheckBox>(u"选择框_中行价格"_s);
    icbc->click();
    QCOMPARE(priceLine(), u"工行买入:899.95  工行卖出:900.75"_s);
    // One bank at a time: a click unticks the other two.
    ccb->click();
    QVERIFY(!icbc->isChecked() && ccb->isChecked() && !boc->isChecked());
    control<QLineEdit>(u"编辑框_您的买入价"_s)->setText(u"300"_s);
    control<QCheckBox>(u"选择框_涨跌情况显示"_s)->click();
    QCOMPARE(priceLine(), u"建行买入:301.25  建行卖出:302.05  您的涨跌:1.25"_s);
    // Unticking the bank shows the international price again, without a gain.
    ccb->click();
    QVERIFY(!icbc->isChecked() && !ccb->isChecked() && !boc->isChecked());
    QCOMPARE(priceLine(), u"国际买入:900.01  国际卖出:901.22"_s);
}

void FloatingStripTest::settingsSaveAndLoad() {
    QVERIFY(settings::writeItem(config(), key::stripOpacity, u"0"_s));
    // The desktop chart's keys belong to the strip's settings too.
    QVERIFY(settings::writeItem(config(), key::chartOpacity, u"80"_s));
    QVERIFY(settings::writeItem(config(), key::chartRefreshSeconds, u"20"_s));
    QVERIFY(settings::writeItem(config(), key::chartOnTop, u"1"_s));
    QVERIFY(settings::writeItem(config(), key::gainBuyPrice, u"288.8"_s));
    open();
    lookup::toolbarButton(window, 0)->trigger();
    // A stored position of 0 is below the slider's range: it reads as its lowest.
    QCOMPARE(control<QSlider>(u"滑块条_透明度控制"_s)->value(), 35);
    QCOMPARE(windowAlpha(openStrip()), 87);
    QVERIFY(control<QCheckBox>(u"选择框_窗口置前"_s)->isChecked()); // "0" stored: on top all the same
    QCOMPARE(control<QSlider>(u"滑块条_桌面行情透明度"_s)->value(), 80);
    QCOMPARE(control<QSlider>(u"滑块条_桌面行情刷新速度"_s)->value(), 20);
    QVERIFY(control<QCheckBox>(u"选择框_桌面行情置前"_s)->isChecked());
    QCOMPARE(control<QLineEdit>(u"编辑框_您的买入价"_s)->text(), QString()); // gain off: not read

    control<QSlider>(u"滑块条_透明度控制"_s)->setValue(60);
    control<QCheckBox>(u"选择框_窗口自动隐藏"_s)->click();
    control<QCheckBox>(u"选择框_中行价格"_s)->click();
    control<QPushButton>(u"按钮_保存"_s)->click();
    const settings::Snapshot saved = settings::Snapshot::load(config());
    QCOMPARE(saved.item(key::stripOpacity), u"60"_s);
    QCOMPARE(saved.item(key::chartOpacity), u"80"_s);
    QCOMPARE(saved.item(key::chartRefreshSeconds), u"20"_s);
    QCOMPARE(saved.item(key::autoHide), u"1"_s);
    QCOMPARE(saved.item(key::stripOnTop), u"1"_s);
    QCOMPARE(saved.item(key::showIcbc), u"0"_s);
    QCOMPARE(saved.item(key::showBoc), u"1"_s);
    QCOMPARE(saved.item(key::showGain), u"0"_s);
    QCOMPARE(saved.item(key::gainBuyPrice), u"288.8"_s); // kept while the gain is off
    QCOMPARE(saved.item(key::chartOnTop), u"1"_s);

    control<QLineEdit>(u"编辑框_您的买入价"_s)->setText(u"300.5"_s);
    control<QCheckBox>(u"选择框_涨跌情况显示"_s)->click();
    control<QPushButton>(u"按钮_保存"_s)->click();
    QCOMPARE(settings::readItem(config(), key::gainBuyPrice), u"300.5"_s);
    QVERIFY(fakes->dialogs.history().isEmpty()); // saving says nothing

    // Reopened, the strip comes back as saved, auto-hide running.
    control<QPushButton>(u"按钮_退出"_s)->click();
    QTRY_COMPARE(openStrips(), 0);
    lookup::toolbarButton(window, 0)->trigger();
    QCOMPARE(control<QSlider>(u"滑块条_透明度控制"_s)->value(), 60);
    QCOMPARE(windowAlpha(openStrip()), 150);
    QVERIFY(control<QCheckBox>(u"选择框_窗口自动隐藏"_s)->isChecked());
    QCOMPARE(timer(u"时钟_窗口自动隐藏判断"_s)->interval(), 100);
    QVERIFY(control<QCheckBox>(u"选择框_中行价格"_s)->isChecked());
    QVERIFY(control<QCheckBox>(u"选择框_涨跌情况显示"_s)->isChecked());
    QCOMPARE(control<QLineEdit>(u"编辑框_您的买入价"_s)->text(), u"300.5"_s);

    // A price the file cannot hold is refused with a message; the rest is saved.
    control<QLineEdit>(u"编辑框_您的买入价"_s)->setText(u"300\U0001F600"_s);
    control<QSlider>(u"滑块条_透明度控制"_s)->setValue(70);
    control<QPushButton>(u"按钮_保存"_s)->click();
    QCOMPARE(fakes->dialogs.lastText(), u"系统配置文件出错"_s);
    QCOMPARE(settings::readItem(config(), key::gainBuyPrice), u"300.5"_s);
    QCOMPARE(settings::readItem(config(), key::stripOpacity), u"70"_s);
    QCOMPARE(control<QLineEdit>(u"编辑框_您的买入价"_s)->text(), u"300\U0001F600"_s);
}

void FloatingStripTest::withoutConfigNothingIsWritten() {
    QVERIFY(QFile::remove(config()));
    open();
    lookup::toolbarButton(window, 0)->trigger();
    control<QPushButton>(u"按钮_保存"_s)->click();
    QVERIFY(!QFile::exists(config()));
    QVERIFY(fakes->dialogs.history().isEmpty());
}

void FloatingStripTest::autoHideOnTwoScreens() {
    // The primary and, to its right, a smaller screen; the fake's work areas
    // lose a panel at their bottoms.
    fakes->screen.screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    fakes->screen.cursor = {960, 500};
    open();
    lookup::toolbarButton(window, 0)->trigger();
    FloatingStrip* strip = openStrip();
    control<QCheckBox>(u"选择框_窗口自动隐藏"_s)->click();
    Timer* tick = timer(u"时钟_窗口自动隐藏判断"_s);
    QCOMPARE(tick->interval(), 100);

    // At the top of the primary, away from the mouse: up, 2 pixels left.
    tick->tick();
    QCOMPARE(strip->stripRect().topLeft(), QPoint(744, -31));
    // The window is what shows of it: window managers keep windows on screen.
    QCOMPARE(strip->geometry(), QRect(744, 0, 432, 2));
    fakes->screen.cursor = {800, 0};
    tick->tick();
    QCOMPARE(strip->stripRect().topLeft(), QPoint(744, 0));

    // At the edge between the screens it stays in sight.
    strip->move(1920 - 432, 300);
    fakes->screen.cursor = {100, 900};
    tick->tick();
    QCOMPARE(strip->stripRect().topLeft(), QPoint(1488, 300));

    // At the outer right edge of the second screen it docks and comes back.
    strip->move(3200 - 432, 300);
    tick->tick();
    QCOMPARE(strip->stripRect().topLeft(), QPoint(3198, 300));
    QCOMPARE(strip->geometry(), QRect(3198, 300, 2, 33));
    fakes->screen.cursor = {3199, 310};
    tick->tick();
    QCOMPARE(strip->stripRect().topLeft(), QPoint(2768, 300));

    // Docked again, then the toolbar brings it out whatever the mouse does.
    fakes->screen.cursor = {100, 900};
    tick->tick();
    QCOMPARE(strip->stripRect().topLeft(), QPoint(3198, 300));
    lookup::toolbarButton(window, 0)->trigger();
    QCOMPARE(strip->stripRect().topLeft(), QPoint(2768, 300));

    // The second screen goes away: the strip comes home to the primary.
    fakes->screen.screens = {QRect(0, 0, 1920, 1080)};
    tick->tick();
    QCOMPARE(strip->stripRect().topLeft(), QPoint(744, 0));

    control<QCheckBox>(u"选择框_窗口自动隐藏"_s)->click();
    QCOMPARE(tick->interval(), 0);
}

void FloatingStripTest::fontDialogSetsFontAndColour() {
    open();
    lookup::toolbarButton(window, 0)->trigger();
    auto* label = control<QLabel>(u"标签_价格显示"_s);
    QCOMPARE(label->font().family(), u"黑体"_s);
    QCOMPARE(label->font().pointSize(), 12);
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // Cancelled: nothing changes.
    control<QToolButton>(u"按钮_字体设置"_s)->click();
    QCOMPARE(label->font().pointSize(), 12);

    QFont chosen(u"宋体"_s, 10);
    chosen.setBold(true);
    chosen.setItalic(true);
    chosen.setUnderline(true);
    fakes->dialogs.fonts.enqueue(chosen);
    fakes->dialogs.colours.enqueue(QColor(0, 0, 255));
    control<QToolButton>(u"按钮_字体设置"_s)->click();
    QCOMPARE(label->font().family(), u"宋体"_s);
    QCOMPARE(label->font().pointSize(), 10);
    QVERIFY(label->font().bold() && label->font().italic() && label->font().underline());
    QVERIFY(!label->font().strikeOut());
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    // The defaults bring the red 黑体 back.
    control<QPushButton>(u"按钮_默认设置"_s)->click();
    QCOMPARE(label->font().family(), u"黑体"_s);
    QVERIFY(!label->font().bold());
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

void FloatingStripTest::opensAtStartWhenAsked() {
    open();
    QVERIFY(!openStrip());
    delete window;
    window = nullptr;
    QVERIFY(settings::writeItem(config(), key::floatingAtStart, u"1"_s));
    open();
    QVERIFY(openStrip());
    QVERIFY(window->isVisible());
}

void FloatingStripTest::desktopChartFromTheBottomRow() {
    QVERIFY(QFile::remove(config())); // the form's positions
    open();
    lookup::toolbarButton(window, 0)->trigger();
    control<QToolButton>(u"按钮_高级设置"_s)->click();
    const QStringList row{u"滑块条_桌面行情透明度"_s, u"滑块条_桌面行情刷新速度"_s, u"选择框_桌面行情置前"_s,
                          u"选择框_桌面行情穿透"_s};
    const auto rowEnabled = [&] {
        int enabled = 0;
        for (const QString& name : row)
            enabled += control<QWidget>(name)->isEnabled();
        return enabled == row.size() ? 1 : enabled == 0 ? 0 : -1;
    };
    QCOMPARE(rowEnabled(), 0);
    QCOMPARE(control<QPushButton>(u"按钮_打开桌面行情"_s)->text(), u"打\n开\n势\n图"_s);
    QVERIFY(!desktopChart());

    // Opened at the form's positions: on top, opacity 75 × 2.5, a reload every 15 s.
    const int clearsBefore = fakes->webCache.clears;
    control<QPushButton>(u"按钮_打开桌面行情"_s)->click();
    DesktopChartWindow* chart = desktopChart();
    QVERIFY(chart && chart->isVisible());
    QCOMPARE(chart->windowTitle(), u"黄金行情小窗口hj"_s);
    QCOMPARE(chart->size(), QSize(492, 310));
    QVERIFY(chart->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!control<QCheckBox>(u"选择框_桌面行情置前"_s)->isChecked());
    QCOMPARE(windowAlpha(chart), 187);
    Timer* reload = chart->findChild<Timer*>(u"时钟_桌行行情更新"_s);
    QCOMPARE(reload->interval(), 15000);
    QCOMPARE(rowEnabled(), 1);
    QCOMPARE(control<QSlider>(u"滑块条_桌面行情刷新速度"_s)->toolTip(), u"调节刷新速度！"_s);
    QCOMPARE(control<QCheckBox>(u"选择框_桌面行情置前"_s)->toolTip(), u"设置到窗口最前面！"_s);

    // The chart comes through the panel, the web cache emptied first.
    const auto answerChart = [&](const std::optional<QByteArray>& body) {
        for (qsizetype i = 0; i < fakes->http.pending.size(); ++i) {
            // The panel asks through a context object of its own per download.
            const QObject* context = fakes->http.pending[i].context;
            if (!context || context->parent() != chart->panel())
                continue;
            FakeHttp::Request request = fakes->http.pending.takeAt(i);
            QCOMPARE(request.url.toString(),
                     u"http://127.0.0.1:9/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s);
            request.reply(body);
            return;
        }
        QFAIL("no chart asked for");
    };
    auto* panel = chart->findChild<ChartPanel*>(u"超文本浏览框_行情显示"_s);
    QCOMPARE(panel->geometry(), QRect(0, 0, 492, 310));
    QVERIFY(fakes->webCache.clears > clearsBefore);
    answerChart(pngImage({450, 275}));
    QCOMPARE(panel->property("image").toString(), u"450x275"_s);

    // Each tick empties the cache and fetches anew; a failed fetch leaves the panel empty.
    const int clearsShown = fakes->webCache.clears;
    reload->tick();
    QCOMPARE(fakes->webCache.clears, clearsShown + 1);
    answerChart(std::nullopt);
    QVERIFY(panel->property("image").toString().isEmpty());

    control<QSlider>(u"滑块条_桌面行情刷新速度"_s)->setValue(20);
    QCOMPARE(reload->interval(), 20000);
    QCOMPARE(control<QSlider>(u"滑块条_桌面行情刷新速度"_s)->toolTip(), u"自动刷新速度20秒"_s);
    control<QSlider>(u"滑块条_桌面行情透明度"_s)->setValue(40);
    QCOMPARE(windowAlpha(chart), 100);

    // Off the top and back, in place.
    control<QCheckBox>(u"选择框_桌面行情置前"_s)->click();
    control<QCheckBox>(u"选择框_桌面行情置前"_s)->click();
    QVERIFY(chart->isVisible());
    QVERIFY(!chart->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));

    // Click-through stays when the box is unticked, and survives another flag's change.
    control<QCheckBox>(u"选择框_桌面行情穿透"_s)->click();
    QVERIFY(chart->isClickThrough());
    control<QCheckBox>(u"选择框_桌面行情穿透"_s)->click();
    control<QCheckBox>(u"选择框_桌面行情置前"_s)->click();
    QVERIFY(chart->isVisible());
    QVERIFY(chart->isClickThrough());
    QVERIFY(chart->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));

    // The strip goes, the chart stays; a new strip finds its row enabled.
    control<QPushButton>(u"按钮_退出"_s)->click();
    QTRY_COMPARE(openStrips(), 0);
    QCOMPARE(desktopChart(), chart);
    lookup::toolbarButton(window, 0)->trigger();
    QCOMPARE(rowEnabled(), 1);

    // Closed, then opened anew: on top again and taking clicks.
    QPointer<DesktopChartWindow> closed = chart;
    control<QPushButton>(u"按钮_关闭桌面行情"_s)->click();
    QVERIFY(!closed);
    QCOMPARE(rowEnabled(), 0);
    control<QPushButton>(u"按钮_打开桌面行情"_s)->click();
    chart = desktopChart();
    QVERIFY(chart && !chart->isClickThrough());
    QVERIFY(chart->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // Closed from its own frame, the row follows.
    chart->close();
    QTRY_COMPARE(rowEnabled(), 0);
    control<QPushButton>(u"按钮_关闭桌面行情"_s)->click(); // nothing to close
    QVERIFY(!desktopChart());
}

void FloatingStripTest::demoPricesAreMarkedWhereverTheyShow_data() {
    QTest::addColumn<QString>("portal");
    QTest::addColumn<bool>("markedPage");
    QTest::addColumn<bool>("demo");
    QTest::newRow("a bank's feed") << u"127.0.0.1:9"_s << false << false;
    QTest::newRow("a page the demo portal marked") << u"127.0.0.1:9"_s << true << true;
    QTest::newRow("whatever answers at the demo address") << demofeed::defaultAddress() << false << true;
}

void FloatingStripTest::demoPricesAreMarkedWhereverTheyShow() {
    QFETCH(QString, portal);
    QFETCH(bool, markedPage);
    QFETCH(bool, demo);
    QVERIFY(dir->setEndpoint(endpoints::key::quotePortalHost, portal));
    open();
    lookup::toolbarButton(window, 0)->trigger();
    QByteArray row = quotepage::rowMarker() + QByteArray(400, ' ');
    row.replace(quotepage::kBuyOffset, 6, "257.76");
    row.replace(quotepage::kSellOffset, 6, "258.56");
    const QByteArray page = (markedPage ? quotepage::demoMarker() : QByteArray()) + "<table><tr><td>" + row;
    while (fakes->http.answer(page)) {
    }
    window->findChild<Timer*>(u"时钟_连接服务器检测"_s)->tick();
    QCOMPARE(window->quoteModel().demoFeed(), demo);

    auto* mainMark = window->findChild<QLabel*>(u"标签_演示行情"_s);
    QCOMPARE(mainMark->isVisible(), demo);
    QCOMPARE(mainMark->text(), u"演示行情"_s);
    // At the right end of the clock bar, also when a narrow window cuts the clock off.
    for (const int width : {MainWindow::kClientWidth, 820}) {
        window->centralWidget()->resize(width, MainWindow::kClientHeight);
        auto* bar = window->findChild<QWidget*>(u"时间背景框"_s);
        const QRect mark(mainMark->mapTo(bar, QPoint(0, 0)), mainMark->size());
        QVERIFY(bar->rect().contains(mark));
        QVERIFY(mark.right() > bar->width() - 10);
    }

    // Beside the strip's line, which stays the prices alone, and clear of its buttons.
    const QString line = priceLine();
    QCOMPARE(line, u"国际买入:257.76  国际卖出:258.56"_s);
    auto* label = control<QLabel>(u"标签_价格显示"_s);
    auto* stripMark = control<QLabel>(u"标签_演示行情"_s);
    QCOMPARE(stripMark->isVisible(), demo);
    QVERIFY(stripMark->x() >= label->x() + label->fontMetrics().horizontalAdvance(line));
    QVERIFY(stripMark->geometry().right() < control<QPushButton>(u"按钮_退出"_s)->x());
    QCOMPARE(label->toolTip().isEmpty(), !demo);

    window->findChild<AlertPanel*>()->showAlertPopup(u"速度啊，国际买入价低于达到标准了！"_s);
    auto* popup = window->findChild<AlertPopup*>();
    QCOMPARE(popup->message(), u"速度啊，国际买入价低于达到标准了！"_s);
    QCOMPARE(popup->findChild<QLabel*>(u"标签_演示行情"_s)->isVisible(), demo);
}

QTEST_MAIN(FloatingStripTest)
#include "test_floating_strip.moc"
