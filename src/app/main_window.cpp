#include "main_window.h"

#include "ui/app_art.h"
#include "core/app_dir.h"
#include "charts/chart_tabs.h"
#include "core/endpoints.h"
#include "app/lock_window.h"
#include "ui/place.h"
#include "app/settings/settings_store.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "quotes/quote_cycle.h"
#include "quotes/quote_fetcher.h"
#include "quotes/quote_model.h"
#include "quotes/world_clock.h"
#include "records/open_failure.h"
#include "trading/account_book.h"
#include "trading/new_simulation_window.h"
#include "trading/trading_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr int kFetchIntervalMs = 60000;
constexpr int kSidePanelWidth = 62;

struct ToolbarButton {
    const char* caption;
    int image;
    const char* tooltip;
};

const ToolbarButton kToolbar[MainWindow::kToolbarButtons] = {
    {"小窗口", 0, "启动袖珍价格显示桌面小窗口"},
    {"实时黄金", 9, "纸黄金24小时实时走势"},
    {"历史走势", 6, "纸黄金3天 30天 60天 半年 一年 五年 十年历史走势"},
    {"影响走势", 4, "美国原油 美元指数 国际黄金走势"},
    {"黄金K线", 12, "黄金K5分钟K线 10分钟K线 30分钟K线 60分钟K线 日K线 周K线及日线指标"},
    {"技术分析", 5, "走势技术分析"},
    {"综合看盘", 1, "动态分析黄金K线及贵重金属相关行情"},
    {"MT4工具", 11, "强大的外汇分析软件"},
    {"资料浏览", 8, "黄金相关资料"},
    {"模拟炒金", 2, "模拟炒金 进来先过过瘾"},
    {"交易管理", 3, "记录你每次交易记录"},
    {"锁定系统", 10, "锁定软件"},
    {"隐藏窗口", 7, "将窗口隐藏在托盘处"},
};

// Toolbar buttons whose work is built: the chart pages, simulated trading, the ledger and the lock.
bool toolbarButtonWorks(int index) {
    return (index >= 1 && index <= 5) || (index >= 9 && index <= 11);
}

struct ChartPage {
    const char* caption;
    const char* content;
    QSize contentSize;
};

const ChartPage kPages[MainLayout::kPages] = {
    {"24小时黄金", nullptr, {}},
    {"历史黄金走势图", "历史走势背景框", {600, 560}},
    {"影响走势图", "影响走势背景框", {672, 560}},
    {"K线图", "K线背景框", {600, 540}},
    {"技术分析", "技术分析背景框", {660, 480}},
};

const char* const kSidePanelNames[MainLayout::kPages] = {
    "一夹侧边控制背景框", "二夹侧边控制背景框", "三夹侧边控制背景框",
    "四夹侧边控制背景框", "五夹侧边控制背景框",
};

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

// "文件(&F)" → "文件": a menu caption without its mnemonic.
QString withoutMnemonic(const QString& caption) {
    static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)"));
    return QString(caption).remove(mnemonic).remove(u'&');
}

} // namespace

MainWindow::MainWindow(Services& services, QWidget* parent) : QMainWindow(parent), services_(services) {
    setObjectName(QStringLiteral("主窗口"));
    setWindowTitle(QStringLiteral("Aurivex3.0"));
    setWindowIcon(appart::windowIcon());
    setAttribute(Qt::WA_DeleteOnClose);

    // Read once; the fetcher, the menus and the bank panel all take their addresses from it.
    const endpoints::Endpoints hosts = endpoints::Endpoints::load();
    quoteModel_ = new QuoteModel(this);
    quoteFetcher_ = new QuoteFetcher(
        *quoteModel_, services_, QuoteFetcher::pageUrl(hosts.value(QStringLiteral("quotePortalHost"))), this);
    fetchTimer_ = new Timer(this, QStringLiteral("时钟_取价格数据"), kFetchIntervalMs);
    connect(fetchTimer_, &Timer::timeout, quoteFetcher_, &QuoteFetcher::startQuoteFetch);

    buildMenus(hosts);
    buildClient(hosts);
    quoteCycle_ = new QuoteCycle(this, *quoteModel_, *quoteFetcher_, *services_.random, *services_.clock,
                                 bankPanel_, intlPanel_);

    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    centreOnScreen();
    layoutMainWindow();
    onCreated();
}

MainWindow::~MainWindow() {
    // Closing the main window ends the program, whatever else is open.
    if (services_.quit)
        services_.quit(0);
}

void MainWindow::buildClient(const endpoints::Endpoints& hosts) {
    client_ = new QWidget(this);
    setCentralWidget(client_);
    client_->installEventFilter(this);
    buildToolbar();
    worldClock_ = new WorldClock(this, client_, *services_.clock);
    buildChartPages(hosts);
    buildRightColumn();
    buildStatusBar();
}

void MainWindow::buildToolbar() {
    toolbar_ = place<QToolBar>(client_, QStringLiteral("工具条"), {0, 0, 1013, kToolbarHeight});
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize({16, 16});
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar_->setContentsMargins(0, 0, 0, 0);
    toolbar_->layout()->setSpacing(0);
    for (int i = 0; i < kToolbarButtons; ++i) {
        const ToolbarButton& button = kToolbar[i];
        QAction* action = toolbar_->addAction(appart::toolbarImage(button.image), u8(button.caption));
        action->setObjectName(QStringLiteral("工具条按钮_") + u8(button.caption));
        action->setToolTip(u8(button.tooltip));
        // Buttons whose windows are not there yet stay visibly disabled.
        action->setEnabled(toolbarButtonWorks(i));
        connect(action, &QAction::triggered, this, [this, i] { onToolbarButton(i); });
        toolbarButtons_.append(action);
        // The style's generous margins would push the last buttons off a 1013-pixel bar.
        if (QWidget* widget = toolbar_->widgetForAction(action))
            widget->setMaximumWidth(widget->fontMetrics().horizontalAdvance(action->text()) + 16 + 12);
    }
}

void MainWindow::buildMenus(const endpoints::Endpoints& hosts) {
    QMenuBar* bar = menuBar();
    struct Item {
        const char* caption;
        std::function<void()> action; // empty: not available yet
    };
    const auto addMenu = [&](const char* title, const QList<Item>& items) {
        QMenu* menu = bar->addMenu(u8(title));
        menu->setObjectName(QStringLiteral("菜单_") + withoutMnemonic(u8(title)));
        for (const Item& item : items) {
            if (!item.caption) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(u8(item.caption));
            action->setObjectName(QStringLiteral("菜单项_") + withoutMnemonic(u8(item.caption)));
            action->setEnabled(static_cast<bool>(item.action));
            if (item.action)
                connect(action, &QAction::triggered, this, item.action);
        }
    };
    const auto page = [this](int index) { return [this, index] { selectChartPage(index); }; };

    addMenu("文件(&F)", {{"小窗口(&S)", {}}, {nullptr, {}}, {"退出(&E)", [this] { services_.quit(0); }}});
    addMenu("行情(&M)", {{"实时黄金(&T)", page(0)},
                         {"历史走势(&A)", page(1)},
                         {"影响走势(&E)", page(2)},
                         {nullptr, {}},
                         {"黄金K线(&K)", page(3)},
                         {"综合看盘(&G)", {}},
                         {"MT4(&W)", {}}});
    addMenu("工具(&T)", {{"放大镜（按F12键退出）", {}},
                         {"记事本(&N)", {}},
                         {"计算器(&C)", {}},
                         {"单位换算(&U)", {}},
                         {nullptr, {}},
                         {"资料浏览(&S)", {}},
                         {"模拟炒金(&G)", [this] { openSimulatedTrading(); }},
                         {"交易管理(&D)", [this] { openLedger(); }},
                         {nullptr, {}},
                         {"锁定系统(&L)", [this] { lockProgram(); }}});
    addMenu("设置(&S)", {{"系统设置(&P)", {}}});
    const QString productPage = hosts.value(QStringLiteral("productPageUrl"));
    std::function<void()> openProductPage;
    if (!productPage.isEmpty())
        openProductPage = [this, productPage] { services_.launcher->openUrl(QUrl(productPage)); };
    addMenu("帮助(&H)",
            {{"升级检测(&U)", openProductPage}, {nullptr, {}}, {"软件使用(&B)", {}}, {"关于我们(&A)", {}}});

    // The TV channel menu pops up from the TV panel; it never shows in the menu bar.
    channelMenu_ = new QMenu(QStringLiteral("电视频道"), this);
    channelMenu_->setObjectName(QStringLiteral("电视频道"));
    auto* channels = new QActionGroup(channelMenu_);
    for (const char* channel : {"第一财经一", "第一财经二", "中央电视二台"}) {
        QAction* action = channelMenu_->addAction(u8(channel));
        action->setCheckable(true);
        action->setActionGroup(channels);
    }
    channelMenu_->actions().first()->setChecked(true);
}

void MainWindow::buildChartPages(const endpoints::Endpoints& hosts) {
    tabs_ = new ChartTabs(client_);
    tabs_->setObjectName(QStringLiteral("高级选择夹"));
    tabs_->setGeometry(2, 52, 745, 614);
    tabs_->setFont(QFont(QStringLiteral("宋体"), 9));
    for (int i = 0; i < MainLayout::kPages; ++i) {
        QWidget* page = tabs_->addPage(u8(kPages[i].caption));
        auto* side =
            place<QFrame>(page, u8(kSidePanelNames[i]), {745 - kSidePanelWidth - 1, 1, kSidePanelWidth, 611});
        side->setFrameShape(QFrame::StyledPanel);
        sidePanels_.append(side);
        if (i == 0) {
            contentFrames_.append(nullptr);
            continue;
        }
        const QSize size = kPages[i].contentSize;
        auto* content = place<QFrame>(page, u8(kPages[i].content),
                                      {(683 - size.width()) / 2, 30, size.width(), size.height()});
        content->setFrameShape(QFrame::StyledPanel);
        contentFrames_.append(content);
    }

    QWidget* page0 = tabs_->page(0);
    speedPanel_ = place<QFrame>(page0, QStringLiteral("速度调节背景框"), {2, 24, 660, 26});
    chart24_ = place<QFrame>(page0, QStringLiteral("浏览框_二十四小时黄金图超文本"), {95, 52, 492, 310});
    chart24_->setFrameShape(QFrame::StyledPanel);
    bankPanel_ = quotepanels::buildBankPanel(page0, services_.launcher,
                                             {hosts.value(QStringLiteral("icbcSiteUrl")),
                                              hosts.value(QStringLiteral("ccbSiteUrl")),
                                              hosts.value(QStringLiteral("bocSiteUrl"))});
    connect(bankPanel_.splitter, &QPushButton::clicked, this, &MainWindow::toggleBankPanel);
}

void MainWindow::buildRightColumn() {
    rightColumn_ = place<QFrame>(client_, QStringLiteral("右侧背景框"), {749, 26, 264, 640});
    tvGroup_ = place<QGroupBox>(rightColumn_, QStringLiteral("分组框_频道背景"), {1, 1, 260, 228},
                                QStringLiteral("财经频道"));
    alertGroup_ = place<QGroupBox>(rightColumn_, QStringLiteral("分组框_提醒背景"), {1, 232, 260, 318},
                                   QStringLiteral("提醒设置"));
    // The TV player and the alert settings are not built yet: their groups stay disabled.
    tvGroup_->setEnabled(false);
    alertGroup_->setEnabled(false);
    intlPanel_ = quotepanels::buildIntlPanel(rightColumn_);

    tvFold_ = place<QPushButton>(client_, QStringLiteral("按钮_电视折叠"), {973, 22, 35, 10});
    alertFold_ = place<QPushButton>(client_, QStringLiteral("按钮_提醒折叠"), {975, 255, 35, 10});
    for (QPushButton* fold : {tvFold_, alertFold_}) {
        fold->setFocusPolicy(Qt::NoFocus);
        fold->raise();
    }
    connect(tvFold_, &QPushButton::clicked, this, &MainWindow::toggleTvGroup);
    connect(alertFold_, &QPushButton::clicked, this, &MainWindow::toggleAlertGroup);
}

void MainWindow::buildStatusBar() {
    statusBar_ = new QStatusBar(client_);
    statusBar_->setObjectName(QStringLiteral("状态条_新闻"));
    statusBar_->setSizeGripEnabled(false);
    auto* part0 = new QLabel(QStringLiteral("  系统信息："), statusBar_);
    statusPart1_ = new QLabel(statusBar_);
    statusBar_->addWidget(part0);
    statusBar_->addWidget(statusPart1_);
    statusBar_->setGeometry(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);

    newsStrip_ = place<QWidget>(client_, QStringLiteral("新闻背景画板"), {502, 668, 250, 16});
    newsLink_ = place<QLabel>(newsStrip_, QStringLiteral("新闻显示链接框"), {250, 0, 400, 16});
    newsStrip_->raise();
}

void MainWindow::centreOnScreen() {
    if (!services_.screen)
        return;
    const QRect area = services_.screen->workArea();
    if (area.isEmpty())
        return;
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

QAction* MainWindow::menuItem(const QString& caption) const {
    for (QAction* top : menuBar()->actions()) {
        if (!top->menu())
            continue;
        for (QAction* item : top->menu()->actions()) {
            if (item->text() == caption)
                return item;
        }
    }
    return nullptr;
}

void MainWindow::onToolbarButton(int index) {
    if (index >= 1 && index <= 5)
        selectChartPage(index - 1);
    else if (index == 9)
        openSimulatedTrading();
    else if (index == 10)
        openLedger();
    else if (index == 11)
        lockProgram();
}

void MainWindow::openSimulatedTrading() {
    if (quoteModel_->baseBuy().isEmpty() || quoteModel_->baseSell().isEmpty()) {
        services_.dialogs->message(this, QStringLiteral("服务器还未连接，请稍后在进入！"), QString());
        return;
    }
    const accountbook::Reading reading = accountbook::readAccount();
    if (reading.status == accountbook::Status::Failed) {
        showRecordOpenFailure(*services_.dialogs, this);
        services_.quit(0);
        return;
    }
    if (reading.status == accountbook::Status::NoAccount) {
        openNewSimulation();
        return;
    }
    if (tradingWindow_) {
        // One trading window at a time.
        tradingWindow_->raise();
        tradingWindow_->activateWindow();
        return;
    }
    tradingWindow_ = new TradingWindow(services_, *quoteModel_, reading.account, this);
    connect(tradingWindow_, &TradingWindow::newSimulationRequested, this, &MainWindow::openNewSimulation);
    if (tradingWindow_->ready())
        tradingWindow_->show();
}

void MainWindow::openNewSimulation() {
    if (newSimulationWindow_) {
        newSimulationWindow_->raise();
        newSimulationWindow_->activateWindow();
        return;
    }
    newSimulationWindow_ = new NewSimulationWindow(services_, this);
    newSimulationWindow_->show();
}

void MainWindow::openLedger() {
    if (ledgerWindow_) {
        ledgerWindow_->raise();
        ledgerWindow_->activateWindow();
        return;
    }
    ledgerWindow_ = new LedgerWindow(services_, this);
    if (ledgerWindow_->ready())
        ledgerWindow_->show();
}

void MainWindow::lockProgram() {
    // A fresh window every time: nothing typed is remembered between lockings.
    LockWindow lock(services_, this);
    lock.exec();
}

void MainWindow::selectChartPage(int index) {
    tabs_->setCurrentIndex(index);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize)
        layoutMainWindow();
    return QMainWindow::eventFilter(watched, event);
}

MainLayout MainWindow::currentLayout() const {
    MainLayout l;
    l.toolbarHeight = toolbar_->height();
    l.statusBar = statusBar_->geometry();
    l.rightColumn = rightColumn_->geometry();
    l.tabs = tabs_->geometry();
    l.clockBar = worldClock_->bar()->geometry();
    l.clockPanel = worldClock_->panel()->geometry();
    l.bankSplitter = bankPanel_.splitter->geometry();
    l.bankPanel = bankPanel_.background->geometry();
    l.bankAdaptive = bankPanel_.adaptive->geometry();
    l.chart24 = chart24_->geometry();
    l.speedPanel = speedPanel_->geometry();
    for (int i = 0; i < MainLayout::kPages; ++i) {
        l.sidePanels[static_cast<size_t>(i)] = sidePanels_[i]->geometry();
        if (contentFrames_[i])
            l.contentFrames[static_cast<size_t>(i)] = contentFrames_[i]->geometry();
    }
    l.tvFold = tvFold_->geometry();
    l.alertFold = alertFold_->geometry();
    l.tvGroup = tvGroup_->geometry();
    l.alertGroup = alertGroup_->geometry();
    l.intlPanel = intlPanel_.frame->geometry();
    l.newsStrip = newsStrip_->geometry();
    l.newsLink = newsLink_->geometry();
    l.statusPart1Width = statusPart1_->width();
    return l;
}

void MainWindow::applyLayout(const MainLayout& l) {
    rightColumn_->setGeometry(l.rightColumn);
    tabs_->setGeometry(l.tabs);
    worldClock_->bar()->setGeometry(l.clockBar);
    worldClock_->panel()->setGeometry(l.clockPanel);
    bankPanel_.splitter->setGeometry(l.bankSplitter);
    bankPanel_.background->setGeometry(l.bankPanel);
    bankPanel_.adaptive->setGeometry(l.bankAdaptive);
    chart24_->setGeometry(l.chart24);
    speedPanel_->setGeometry(l.speedPanel);
    for (int i = 0; i < MainLayout::kPages; ++i) {
        sidePanels_[i]->setGeometry(l.sidePanels[static_cast<size_t>(i)]);
        if (contentFrames_[i])
            contentFrames_[i]->setGeometry(l.contentFrames[static_cast<size_t>(i)]);
    }
    tvFold_->setGeometry(l.tvFold);
    alertFold_->setGeometry(l.alertFold);
    tvGroup_->setGeometry(l.tvGroup);
    alertGroup_->setGeometry(l.alertGroup);
    intlPanel_.frame->setGeometry(l.intlPanel);
    newsStrip_->setGeometry(l.newsStrip);
    newsLink_->setGeometry(l.newsLink);
    statusPart1_->setFixedWidth(std::max(0, l.statusPart1Width));
    newsStrip_->update();
}

void MainWindow::layoutMainWindow() {
    const int w = client_->width();
    const int h = client_->height();
    // The docked bars first: toolbar along the top, status bar along the bottom.
    toolbar_->setGeometry(0, 0, w, kToolbarHeight);
    statusBar_->setGeometry(0, h - kStatusHeight, w, kStatusHeight);
    MainLayout layout = currentLayout();
    layout.apply(w, h);
    applyLayout(layout);
}

void MainWindow::toggleBankPanel() {
    const quotepanels::SplitterToggle t =
        quotepanels::toggleBankPanel(bankPanel_.splitter->y(), bankPanel_.splitter->height(), tabs_->height(),
                                     speedPanel_->height(), chart24_->height());
    bankPanel_.splitter->move(bankPanel_.splitter->x(), t.splitterTop);
    bankPanel_.background->move(bankPanel_.background->x(), t.panelTop);
    chart24_->move(chart24_->x(), t.chartTop);
}

void MainWindow::toggleTvGroup() {
    MainLayout layout = currentLayout();
    folds::toggleTvGroup(layout);
    applyLayout(layout);
}

void MainWindow::toggleAlertGroup() {
    MainLayout layout = currentLayout();
    folds::toggleAlertGroup(layout);
    applyLayout(layout);
}

void MainWindow::attachSkin() {
    // The skin is a style sheet beside the program; without it the system look stays.
    QFile skin(appPath(QStringLiteral("CambridgeBlue.she")));
    if (skin.open(QIODevice::ReadOnly))
        qApp->setStyleSheet(QString::fromUtf8(skin.readAll()));
}

void MainWindow::attachTooltips() {
    static const char* const banks[] = {"工行", "建行", "中行"};
    for (size_t i = 0; i < bankPanel_.rows.size(); ++i) {
        bankPanel_.rows[i].start->setToolTip(QStringLiteral("点击获取%1数据！").arg(u8(banks[i])));
        bankPanel_.rows[i].stop->setToolTip(QStringLiteral("点击停止获取%1数据！").arg(u8(banks[i])));
    }
}

void MainWindow::applyStartupOptions() {
    // One reading of the file for all the start-up keys.
    const settings::Snapshot config = settings::Snapshot::load(appPath(QStringLiteral("config.ini")));
    if (!config.exists())
        return;
    const QString general = QStringLiteral("常规选项");
    const QString gold = QStringLiteral("黄金选项");
    const QSize screen = services_.screen ? services_.screen->size() : QSize();
    if (!settings::isOn(config.item(general, QStringLiteral("界面"))) && screen.isValid() &&
        screen.width() <= 1440 && screen.height() <= 1024) {
        // A small screen gets the whole of it.
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    const QString bankKeys[] = {QStringLiteral("工行数据"), QStringLiteral("建行数据"),
                                QStringLiteral("中行数据")};
    for (int i = 0; i < 3; ++i) {
        if (settings::isOn(config.item(gold, bankKeys[i])))
            quoteCycle_->stopBank(i);
    }
}

void MainWindow::onCreated() {
    attachSkin();
    quoteFetcher_->startQuoteFetch();
    attachTooltips();
    applyStartupOptions();
    quoteCycle_->checkTradingDay();
}
