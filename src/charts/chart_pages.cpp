#include "chart_pages.h"

#include "chart_panel.h"
#include "chart_tabs.h"
#include "chart_window.h"
#include "core/endpoints.h"
#include "partner_window.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "platform/web_cache.h"
#include "ui/open_once.h"
#include "ui/place.h"
#include "vertical_label.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

using charts::ChartLink;
using charts::ChartWindowKind;
using charts::Host;

namespace {

constexpr int kSidePanelWidth = 62;
constexpr int kRefreshStartMs = 15000;
constexpr int kInfluenceRefreshMs = 30000;

const QString kManualRefresh = QStringLiteral("手\n动\n刷\n新");
const QString kWaitHint = QStringLiteral("如果未显示可能网络未连接或忙 请耐心等一下或点击手动刷新");

struct Page {
    const char* caption;
    const char* sidePanel;
    int sideWidth;
    const char* content; // null on page 0
    QSize contentSize;
};

// Content frames hold their charts exactly; the layout centres them beside
// the side panel. The K-line page's buttons need a wider panel for "15分钟K线".
const Page kPageDesigns[ChartPages::kPages] = {
    {"24小时黄金", "一夹侧边控制背景框", kSidePanelWidth, nullptr, {}},
    {"历史黄金走势图", "二夹侧边控制背景框", kSidePanelWidth, "历史走势背景框", {664, 572}},
    {"影响走势图", "三夹侧边控制背景框", kSidePanelWidth, "影响走势背景框", {672, 572}},
    {"K线图", "四夹侧边控制背景框", 76, "K线背景框", {590, 540}},
    {"技术分析", "五夹侧边控制背景框", kSidePanelWidth, "技术分析背景框", {650, 440}},
};

const char* const kKLineHint =
    "友情提示：日K线图的每一根K线代表一个交易日，实体的两端是开盘价和收盘价，上下影线的端点是当日最高价和最低"
    "价；"
    "红色实体表示收盘高于开盘，绿色实体表示收盘低于开盘。MACD指标由快线DIF（12日与26日指数平均线之差）、"
    "慢线DEA（DIF的9日平均）和柱状线（两者之差的两倍）组成：DIF向上穿越DEA为金叉，是买入参考；"
    "DIF向下穿越DEA为死叉，是卖出参考；柱状线由绿转红表示多头力量增强。指标只作参考，请谨慎操作。";

} // namespace

ChartPages::ChartPages(QWidget* parent, Services& services, const endpoints::Endpoints& hosts)
    : QObject(parent), services_(services) {
    for (Host host : {Host::Image, Host::ImageIntl, Host::KLine, Host::Partner})
        hosts_[host] = hosts.value(charts::hostKey(host));
    javaDownloadUrl_ = hosts.value(endpoints::key::javaDownloadUrl);

    tabs_ = new ChartTabs(parent);
    tabs_->setObjectName(QStringLiteral("高级选择夹"));
    tabs_->setGeometry(2, 52, 745, 614);
    tabs_->setFont(QFont(QStringLiteral("宋体"), 9));
    for (const Page& design : kPageDesigns) {
        QWidget* page = tabs_->addPage(QString::fromUtf8(design.caption));
        auto* side = place<QFrame>(page, QString::fromUtf8(design.sidePanel),
                                   {745 - design.sideWidth - 1, 1, design.sideWidth, 611});
        side->setFrameShape(QFrame::StyledPanel);
        sidePanels_.append(side);
        if (!design.content) {
            contentFrames_.append(nullptr);
            continue;
        }
        const QSize size = design.contentSize;
        auto* content = place<QFrame>(page, QString::fromUtf8(design.content),
                                      {(683 - size.width()) / 2, 30, size.width(), size.height()});
        contentFrames_.append(content);
    }

    refreshTimer_ = new Timer(this, QStringLiteral("时钟_二十四小时纸黄金更新"), kRefreshStartMs);
    countdownTimer_ = new Timer(this, QStringLiteral("时钟_剩余时间显示"));
    influenceTimer_ = new Timer(this, QStringLiteral("时钟_影响走势自动刷新"));
    connect(refreshTimer_, &Timer::timeout, this, &ChartPages::load24HourChart);
    connect(countdownTimer_, &Timer::timeout, this, &ChartPages::countdownTick);
    connect(influenceTimer_, &Timer::timeout, this, &ChartPages::influenceTick);

    buildPage0();
    buildHistoryPage();
    buildInfluencePage();
    buildKLinePage();
    buildTechnicalPage();
}

ChartPages::~ChartPages() {
    for (auto& [kind, window] : windows_)
        delete window;
    delete partnerWindow_;
}

QWidget* ChartPages::page(int index) const {
    return tabs_->page(index);
}

QPushButton* ChartPages::sideButton(int page, const QString& name, const QRect& rect,
                                    const QString& caption) {
    auto* button = place<QPushButton>(sidePanels_[page], name, rect, caption);
    chartButtons_.insert(name, button);
    return button;
}

ChartPanel* ChartPages::addPanel(QWidget* parent, const ChartLink& row, const QRect& rect) {
    auto* panel = new ChartPanel(parent, services_);
    panel->setObjectName(row.controlName());
    panel->setGeometry(rect);
    panels_.insert(row.controlName(), panel);
    return panel;
}

QUrl ChartPages::urlOf(const ChartLink& row) const {
    return row.url(hosts_.at(row.host));
}

void ChartPages::loadChart(const ChartLink& row) {
    panels_.value(row.controlName())->load(urlOf(row), row.content);
}

// Page 0: the 24-hour chart, its refresh speed and countdown, and the
// buttons of the three-day and New York windows.
void ChartPages::buildPage0() {
    QWidget* page0 = tabs_->page(0);
    speedPanel_ = place<QFrame>(page0, QStringLiteral("速度调节背景框"), {95, 364, 492, 26});
    place<QLabel>(speedPanel_, QString(), {8, 5, 54, 16}, QStringLiteral("速度调节"));
    place<QLabel>(speedPanel_, QString(), {66, 5, 28, 16}, QStringLiteral("10秒"));
    speedSlider_ = place<QSlider>(speedPanel_, QStringLiteral("滑块条_二十四小时黄金自动刷新速度调节"),
                                  {96, 4, 170, 18});
    speedSlider_->setOrientation(Qt::Horizontal);
    speedSlider_->setRange(10, 30);
    speedSlider_->setValue(15);
    speedSlider_->setPageStep(5);
    speedSlider_->setSingleStep(1);
    place<QLabel>(speedPanel_, QString(), {270, 5, 28, 16}, QStringLiteral("30秒"));
    place<QLabel>(speedPanel_, QStringLiteral("标签4"), {316, 5, 112, 16},
                  QStringLiteral("下次更新剩余时间："));
    countdownLabel_ = place<QLabel>(speedPanel_, QStringLiteral("标签_二十四小时黄金刷新剩余时间"),
                                    {428, 5, 22, 16}, QStringLiteral("0"));
    countdownLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place<QLabel>(speedPanel_, QStringLiteral("标签5"), {452, 5, 16, 16}, QStringLiteral("秒"));
    connect(speedSlider_, &QSlider::valueChanged, this, &ChartPages::refreshSpeedChanged);

    chart24_ = addPanel(page0, charts::chart24(), {95, 52, 492, 310});
    // The speed panel stays right under the chart wherever the layout puts it.
    chart24_->installEventFilter(this);

    struct Opener {
        const char* name;
        const char* caption;
        ChartWindowKind window;
    };
    const Opener openers[] = {
        {"按钮_三天黄金走势图", "三天/￥", ChartWindowKind::ThreeDayCny},
        {"按钮_三天黄金走势图美元", "三天/$", ChartWindowKind::ThreeDayUsd},
        {"按钮_纽约黄金价格走势图", "纽约", ChartWindowKind::NewYorkGold},
    };
    int y = 30;
    for (const Opener& opener : openers) {
        QPushButton* button =
            sideButton(0, QString::fromUtf8(opener.name), {5, y, 52, 24}, QString::fromUtf8(opener.caption));
        connect(button, &QPushButton::clicked, this, [this, kind = opener.window] { openChartWindow(kind); });
        y += 30;
    }
    QPushButton* manual =
        sideButton(0, QStringLiteral("按钮_纸黄金手动刷新"), {5, y + 16, 52, 24}, QStringLiteral("手动刷新"));
    connect(manual, &QPushButton::clicked, this, &ChartPages::manualRefresh24);
    QPushButton* stop = sideButton(0, QStringLiteral("按钮_二十四小时黄金停止刷新"), {5, y + 46, 52, 24},
                                   QStringLiteral("停止刷新"));
    stop->setToolTip(QStringLiteral("停止后，必须点击速度调节滑块，才能重新恢复刷新！"));
    connect(stop, &QPushButton::clicked, this, &ChartPages::stopRefresh);
}

// Page 1: six history images in two columns, an enlarge button beside each.
void ChartPages::buildHistoryPage() {
    QFrame* content = contentFrames_[1];
    const QList<ChartLink> rows = charts::pageCharts(1);
    for (int i = 0; i < rows.size(); ++i) {
        const ChartLink& row = rows[i];
        const int left = (i % 2) * 336;
        const int top = (i / 2) * 191;
        addPanel(content, row, {left, top, 295, 190});
        auto* enlargeButton = place<QPushButton>(content, row.buttonName(),
                                                 {left + 298, top + 190 - 24, 30, 24}, row.captionText());
        chartButtons_.insert(row.buttonName(), enlargeButton);
        connect(enlargeButton, &QPushButton::clicked, this, [this, row] { enlarge(row); });
    }
    place<VerticalLabel>(sidePanels_[1], QString(), {4, 30, 54, 240}, kWaitHint);
    QPushButton* refresh =
        sideButton(1, QStringLiteral("按钮_历史金价手动刷新"), {17, 284, 28, 80}, kManualRefresh);
    connect(refresh, &QPushButton::clicked, this, &ChartPages::loadHistory);
}

// Page 2: crude oil and the dollar index with their 30-day buttons, world gold below.
void ChartPages::buildInfluencePage() {
    QFrame* content = contentFrames_[2];
    const QList<ChartLink> rows = charts::pageCharts(2);
    // World gold is 434 rows high and the frame 572: it starts right under
    // the small charts' images (120 rows), over the empty foot of their
    // panels, so that all of it shows; the 30-day buttons stand beside the
    // images' foot.
    addPanel(content, rows[0], {0, 4, 230, 155});
    addPanel(content, rows[1], {300, 4, 230, 155});
    addPanel(content, rows[2], {0, 126, 672, 434});
    auto* crude30 = place<QPushButton>(content, QStringLiteral("按钮_原油放大"), {234, 100, 40, 24},
                                       QStringLiteral("30天"));
    auto* dollar30 = place<QPushButton>(content, QStringLiteral("按钮_美元指数放大"), {534, 100, 40, 24},
                                        QStringLiteral("30天"));
    chartButtons_.insert(crude30->objectName(), crude30);
    chartButtons_.insert(dollar30->objectName(), dollar30);
    connect(crude30, &QPushButton::clicked, this, [this] { openChartWindow(ChartWindowKind::CrudeOil30); });
    connect(dollar30, &QPushButton::clicked, this,
            [this] { openChartWindow(ChartWindowKind::DollarIndex30); });

    place<VerticalLabel>(sidePanels_[2], QString(), {4, 30, 54, 240}, kWaitHint);
    QPushButton* manual =
        sideButton(2, QStringLiteral("影响走势手动刷新按钮"), {17, 284, 28, 80}, kManualRefresh);
    connect(manual, &QPushButton::clicked, this, &ChartPages::refreshInfluence);
    QPushButton* automatic =
        sideButton(2, QStringLiteral("影响走势自动刷新按钮"), {3, 376, 56, 24}, QStringLiteral("自动刷新"));
    connect(automatic, &QPushButton::clicked, this, &ChartPages::autoRefreshInfluence);
}

// Page 3: the K-line page under its status line, the hint below, and the
// period and indicator buttons at the side.
void ChartPages::buildKLinePage() {
    QFrame* content = contentFrames_[3];
    const QList<ChartLink> rows = charts::pageCharts(3);
    kLineStatus_ = place<QLabel>(content, QStringLiteral("标签_K线状态"), {0, 0, 300, 18});
    addPanel(content, rows.first(), {0, 20, 590, 430});
    auto* hint = place<QLabel>(content, QStringLiteral("透明标签51"), {0, 454, 590, 84},
                               QString::fromUtf8(kKLineHint));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    QFrame* side = sidePanels_[3];
    place<QLabel>(side, QString(), {5, 28, 66, 16}, QStringLiteral("时间段"));
    int y = 46;
    for (int i = 0; i < rows.size(); ++i) {
        if (i == 6) {
            place<QLabel>(side, QString(), {5, y + 6, 66, 16}, QStringLiteral("日线指标"));
            y += 24;
        }
        const ChartLink& row = rows[i];
        QPushButton* button = sideButton(3, row.buttonName(), {4, y, 68, 23}, row.captionText());
        connect(button, &QPushButton::clicked, this,
                [this, name = row.buttonName()] { pressChartButton(name); });
        y += 25;
    }
}

// Page 4: one panel for the four technical charts.
void ChartPages::buildTechnicalPage() {
    const QList<ChartLink> rows = charts::pageCharts(4);
    addPanel(contentFrames_[4], rows.first(), {0, 0, 650, 440});
    int y = 30;
    for (const ChartLink& row : rows) {
        QPushButton* button = sideButton(4, row.buttonName(), {5, y, 52, 24}, row.captionText());
        connect(button, &QPushButton::clicked, this,
                [this, name = row.buttonName()] { pressChartButton(name); });
        y += 30;
    }
    place<VerticalLabel>(sidePanels_[4], QString(), {4, y + 10, 54, 240},
                         QStringLiteral("如果未显示可能网络未连接或忙 请耐心等一下"));
}

bool ChartPages::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chart24_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        // After the layout is done: it sets the speed panel's old place again after the chart's.
        QMetaObject::invokeMethod(this, &ChartPages::placeSpeedPanel, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void ChartPages::placeSpeedPanel() {
    speedPanel_->setGeometry(chart24_->x(), chart24_->geometry().bottom() + 3, chart24_->width(),
                             speedPanel_->height());
}

void ChartPages::select(int index) {
    tabs_->setCurrentIndex(index);
    switch (index) {
    case 0:
        load24HourChart();
        break;
    case 1:
        loadHistory();
        break;
    case 2:
        refreshInfluence();
        break;
    case 3:
        pressChartButton(QStringLiteral("按钮_日K线显示"));
        break;
    case 4:
        pressChartButton(QStringLiteral("按钮_一年黄金价格走势技术分析图"));
        break;
    default:
        break;
    }
}

void ChartPages::load24HourChart() {
    // While the refresh is stopped there is nothing to count down to.
    const int interval = refreshTimer_->interval();
    if (interval > 0) {
        // The refresh waits its whole interval from this load, as the countdown says.
        refreshTimer_->setInterval(interval);
        countdownTimer_->setInterval(1000);
        countdownLabel_->setText(QString::number(interval / 1000));
    }
    if (services_.webCache)
        services_.webCache->clearWebCache();
    loadChart(charts::chart24());
}

void ChartPages::countdownTick() {
    // A refresh that comes late leaves the countdown at 0, never below.
    const int left = std::max(0, countdownLabel_->text().toInt() - 1);
    countdownLabel_->setText(QString::number(left));
}

void ChartPages::refreshSpeedChanged(int seconds) {
    refreshTimer_->setInterval(seconds * 1000);
    countdownTimer_->setInterval(1000);
    countdownLabel_->setText(QString::number(seconds));
    speedSlider_->setToolTip(QStringLiteral("自动刷新速度%1秒").arg(seconds));
}

void ChartPages::stopRefresh() {
    refreshTimer_->setInterval(0);
    countdownTimer_->setInterval(0);
}

void ChartPages::manualRefresh24() {
    // Presses alternate between a reload from the server and one that may come from the cache.
    if (manualRefreshClearsCache_ && services_.webCache)
        services_.webCache->clearWebCache();
    manualRefreshClearsCache_ = !manualRefreshClearsCache_;
    loadChart(charts::chart24());
}

void ChartPages::loadHistory() {
    for (const ChartLink& row : charts::pageCharts(1))
        loadChart(row);
}

void ChartPages::refreshInfluence() {
    if (services_.webCache)
        services_.webCache->clearWebCache();
    for (const ChartLink& row : charts::pageCharts(2))
        loadChart(row);
    influenceTimer_->setInterval(0);
}

void ChartPages::autoRefreshInfluence() {
    influenceTimer_->setInterval(kInfluenceRefreshMs);
}

void ChartPages::influenceTick() {
    // World gold stays as it is; only crude oil and the dollar index follow the timer.
    if (services_.webCache)
        services_.webCache->clearWebCache();
    const QList<ChartLink> rows = charts::pageCharts(2);
    loadChart(rows[0]);
    loadChart(rows[1]);
}

void ChartPages::pressChartButton(const QString& button) {
    const ChartLink* row = charts::chartOfButton(button);
    if (!row)
        return;
    if (*row->status != '\0')
        kLineStatus_->setText(row->statusText());
    loadChart(*row);
}

void ChartPages::enlarge(const ChartLink& row) {
    enlargeUrl_ = row.enlargeUrl(hosts_.at(row.host));
    openChartWindow(ChartWindowKind::HistoryEnlarge);
}

void ChartPages::openChartWindow(ChartWindowKind kind) {
    const charts::ChartWindowDesign& design = charts::chartWindow(kind);
    const QUrl url = kind == ChartWindowKind::HistoryEnlarge
                         ? enlargeUrl_
                         : charts::chartUrl(hosts_.at(Host::Image), QString::fromUtf8(design.path));
    QPointer<ChartWindow>& window = windows_[kind];
    // An open enlarge window shows the chart of the button just pressed.
    if (window && kind == ChartWindowKind::HistoryEnlarge && window->url() != url)
        window->setUrl(url);
    ChartWindow* opened = openOnce(window, [&] { return new ChartWindow(design, url, services_); });
    if (!opened)
        return;
    if (kind == ChartWindowKind::HistoryEnlarge)
        connect(opened, &QObject::destroyed, this, [this] { enlargeUrl_.clear(); });
    opened->show();
}

void ChartPages::openOverview() {
    PartnerWindow* opened = openOnce(partnerWindow_, [this] {
        return new PartnerWindow(charts::partnerUrl(hosts_.at(Host::Partner)), QUrl(javaDownloadUrl_),
                                 services_);
    });
    if (opened)
        opened->show();
}
