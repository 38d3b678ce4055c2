#include "main_window.h"

#include "alerts/alert_log.h"
#include "alerts/alert_log_window.h"
#include "alerts/alert_panel.h"
#include "app/about_window.h"
#include "app/commands.h"
#include "app/external_tools.h"
#include "app/lock_window.h"
#include "app/system_settings_window.h"
#include "app/tray_controller.h"
#include "charts/chart_catalogue.h"
#include "charts/chart_pages.h"
#include "charts/chart_panel.h"
#include "charts/chart_tabs.h"
#include "core/app_dir.h"
#include "core/demo_feed.h"
#include "core/endpoints.h"
#include "floating/desktop_chart.h"
#include "floating/desktop_chart_window.h"
#include "floating/floating_strip.h"
#include "history/history_window.h"
#include "history/price_history.h"
#include "history/recorded_chart_fallback.h"
#include "ledger/holding_valuation.h"
#include "ledger/ledger_window.h"
#include "ledger/valuation_panel.h"
#include "media/magnifier.h"
#include "media/reference_browser.h"
#include "media/tv_panel.h"
#include "media/unit_converter.h"
#include "news/news_list.h"
#include "news/news_strip.h"
#include "news/news_ticker.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "platform/notifications.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "quotes/quote_cycle.h"
#include "quotes/quote_fetcher.h"
#include "quotes/quote_model.h"
#include "quotes/world_clock.h"
#include "records/open_failure.h"
#include "records/passwords.h"
#include "settings/settings_store.h"
#include "trading/account_book.h"
#include "trading/new_simulation_window.h"
#include "trading/trading_window.h"
#include "ui/app_art.h"
#include "ui/demo_mark.h"
#include "ui/open_once.h"
#include "ui/place.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

constexpr int kFetchIntervalMs = 60000;

} // namespace

MainWindow::MainWindow(Services& services, QWidget* parent) : QMainWindow(parent), services_(services) {
    setObjectName(QStringLiteral("主窗口"));
    setWindowTitle(QStringLiteral("Aurivex3.0"));
    setWindowIcon(appart::windowIcon());
    setAttribute(Qt::WA_DeleteOnClose);

    // Read once; the fetcher, the commands and the bank panel all take their addresses from it.
    const endpoints::Endpoints hosts = endpoints::Endpoints::load();
    quoteModel_ = new QuoteModel(this);
    const QString quoteHost = hosts.value(endpoints::key::quotePortalHost);
    quoteFetcher_ = new QuoteFetcher(*quoteModel_, *services_.http, QuoteFetcher::pageUrl(quoteHost), this);
    quoteFetcher_->setDemoAddress(demofeed::isDemo(quoteHost));
    connect(quoteFetcher_, &QuoteFetcher::dataError, this, &MainWindow::showDataError);
    priceHistory_ =
        new PriceHistory(appPath(QString::fromLatin1(PriceHistory::kFile)), *services_.clock, this);
    fetchTimer_ = new Timer(this, QStringLiteral("时钟_取价格数据"), kFetchIntervalMs);
    connect(fetchTimer_, &Timer::timeout, quoteFetcher_, &QuoteFetcher::startQuoteFetch);

    desktopChart_ = new DesktopChart(
        services_, DesktopChart::chartAddress(hosts.value(charts::hostKey(charts::Host::Image))), this);
    commands_ = new Commands(this);
    buildMenus();
    buildClient(hosts);
    attachPriceHistory();
    tray_ = new TrayController(this, *services_.tray, *commands_, statusBar_);
    // A desktop notification's action brings the window forward, out of the tray too.
    if (services_.notifications)
        connect(services_.notifications, &Notifications::actionInvoked, this, &MainWindow::bringForward);
    tools_ = new ExternalTools(services_, this);
    bindCommands(hosts);
    bindLayout();
    quoteCycle_ = new QuoteCycle(this, *quoteModel_, *quoteFetcher_, *services_.random, *services_.clock,
                                 bankPanel_, intlPanel_);

    // The skin changes the menu bar's height, so the window is sized after it.
    attachSkin();
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    centreOnScreen();
    layoutMainWindow();
    onCreated();
    reportUnusableEndpoints(hosts.unusableKeys());
}

void MainWindow::reportUnusableEndpoints(const QStringList& keys) {
    if (keys.isEmpty())
        return;
    // Once the window shows; what needs these keys stays off meanwhile.
    const QString text =
        QStringLiteral("endpoints.ini 中这些键的值不是可用的地址，用到它们的功能暂时不能使用：%1。"
                       "请改正后重新运行软件。")
            .arg(keys.join(QStringLiteral("、")));
    QTimer::singleShot(
        0, this, [this, text] { services_.dialogs->notify(this, text, QStringLiteral("友情提示："), {}); });
}

MainWindow::~MainWindow() {
    // The strip has no parent (see openFloatingStrip), so it goes with the window by hand.
    delete floatingStrip_;
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
    // At the clock's free right end, above everything that shows a price;
    // placed with the layout (applyLayout), so a narrow window keeps it in sight.
    demoMark_ = demomark::place(worldClock_->bar(), QStringLiteral("标签_演示行情"), {0, 3, 58, 18});
    connect(quoteModel_, &QuoteModel::demoFeedChanged, demoMark_, &QLabel::setVisible);
    chartPages_ = new ChartPages(client_, services_, hosts);
    bankPanel_ = quotepanels::buildBankPanel(chartPages_->page(0), services_.launcher,
                                             {hosts.value(endpoints::key::icbcSiteUrl),
                                              hosts.value(endpoints::key::ccbSiteUrl),
                                              hosts.value(endpoints::key::bocSiteUrl)});
    connect(bankPanel_.splitter, &QPushButton::clicked, this, &MainWindow::toggleBankPanel);
    buildRightColumn(hosts);
    buildStatusBar(hosts);
}

void MainWindow::buildToolbar() {
    toolbar_ = place<QToolBar>(client_, QStringLiteral("工具条"), {0, 0, 1013, kToolbarHeight});
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize({16, 16});
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar_->setContentsMargins(0, 0, 0, 0);
    toolbar_->layout()->setSpacing(0);
    for (Command command : Commands::toolbar()) {
        QAction* action = commands_->action(command);
        toolbar_->addAction(action);
        // The style's generous margins would push the last buttons off a 1013-pixel bar.
        if (QWidget* widget = toolbar_->widgetForAction(action))
            widget->setMaximumWidth(widget->fontMetrics().horizontalAdvance(action->iconText()) + 16 + 12);
    }
}

void MainWindow::buildMenus() {
    for (const Commands::Menu& entry : Commands::menus()) {
        const QString title = QString::fromUtf8(entry.title);
        QMenu* menu = menuBar()->addMenu(title);
        menu->setObjectName(QStringLiteral("菜单_") + Commands::withoutMnemonic(title));
        for (const std::optional<Command>& item : entry.items) {
            if (item)
                menu->addAction(commands_->action(*item));
            else
                menu->addSeparator();
        }
    }
}

void MainWindow::bindCommands(const endpoints::Endpoints& hosts) {
    // The one place that says what each command does; commands whose windows
    // are not built yet stay unbound, and so visibly disabled.
    const auto page = [this](int index) { return [this, index] { chartPages_->select(index); }; };
    commands_->bind(Command::Chart24, page(0));
    commands_->bind(Command::HistoryCharts, page(1));
    commands_->bind(Command::InfluenceCharts, page(2));
    commands_->bind(Command::KLineChart, page(3));
    commands_->bind(Command::TechnicalChart, page(4));
    commands_->bind(Command::FloatingStrip, [this] { openFloatingStrip(); });
    commands_->bind(Command::Overview, [this] { chartPages_->openOverview(); });
    commands_->bind(Command::SimulatedTrading, [this] { openSimulatedTrading(); });
    commands_->bind(Command::Ledger, [this] { openLedger(); });
    commands_->bind(Command::Lock, [this] { lockProgram(); });
    commands_->bind(Command::ReferenceBrowser, [this] { openReferenceBrowser(); });
    commands_->bind(Command::Magnifier, [this] { openMagnifier(); });
    commands_->bind(Command::UnitConverter, [this] { openUnitConverter(); });
    commands_->bind(Command::Exit, [this] { services_.quit(0); });
    commands_->bind(Command::HideToTray, [this] { tray_->hideToTray(); });
    commands_->bind(Command::TradingTerminal, [this] { tools_->launchTerminal(); });
    commands_->bind(Command::Notepad, [this] { tools_->openTextEditor(); });
    commands_->bind(Command::Calculator, [this] { tools_->openCalculator(); });
    commands_->bind(Command::Help, [this] { tools_->openHelp(); });
    commands_->bind(Command::SystemSettings, [this] { openSystemSettings(); });
    commands_->bind(Command::About, [this] { openAbout(); });
    commands_->bind(Command::PriceHistory, [this] { openPriceHistory(); });
    commands_->bind(Command::AlertLog, [this] { openAlertLog(); });
    const QString productPage = hosts.value(endpoints::key::productPageUrl);
    if (!productPage.isEmpty())
        commands_->bind(Command::CheckForUpdates,
                        [this, productPage] { services_.launcher->openUrl(QUrl(productPage)); });
}

void MainWindow::buildRightColumn(const endpoints::Endpoints& hosts) {
    rightColumn_ = place<QFrame>(client_, QStringLiteral("右侧背景框"), {749, 26, 264, 640});
    tvPanel_ = new TvPanel(rightColumn_, this, services_, hosts);
    alertPanel_ = new AlertPanel(rightColumn_, services_, *quoteModel_);
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

void MainWindow::buildStatusBar(const endpoints::Endpoints& hosts) {
    statusBar_ = new QStatusBar(client_);
    statusBar_->setObjectName(QStringLiteral("状态条_新闻"));
    statusBar_->setSizeGripEnabled(false);
    auto* part0 = new QLabel(QStringLiteral("  系统信息："), statusBar_);
    statusPart1_ = new QLabel(statusBar_);
    statusBar_->addWidget(part0);
    statusBar_->addWidget(statusPart1_);
    statusBar_->setGeometry(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);
    newsTicker_ =
        new NewsTicker(client_, services_, newslist::listUrl(hosts.value(endpoints::key::newsHost)));
    // The news strip lies over the status bar: it steps aside while the bar says something.
    connect(statusBar_, &QStatusBar::messageChanged, newsTicker_->strip(),
            [strip = newsTicker_->strip()](const QString& message) { strip->setVisible(message.isEmpty()); });
}

void MainWindow::bindLayout() {
    using L = MainLayout;
    layout_ = {
        {statusBar_, [](L& l) -> QRect& { return l.statusBar; }},
        {rightColumn_, [](L& l) -> QRect& { return l.rightColumn; }},
        {chartPages_->tabs(), [](L& l) -> QRect& { return l.tabs; }},
        {worldClock_->bar(), [](L& l) -> QRect& { return l.clockBar; }},
        {worldClock_->panel(), [](L& l) -> QRect& { return l.clockPanel; }},
        {bankPanel_.splitter, [](L& l) -> QRect& { return l.bankSplitter; }},
        {bankPanel_.background, [](L& l) -> QRect& { return l.bankPanel; }},
        {bankPanel_.adaptive, [](L& l) -> QRect& { return l.bankAdaptive; }},
        {chartPages_->chart24(), [](L& l) -> QRect& { return l.chart24; }},
        {chartPages_->speedPanel(), [](L& l) -> QRect& { return l.speedPanel; }},
        {tvFold_, [](L& l) -> QRect& { return l.tvFold; }},
        {alertFold_, [](L& l) -> QRect& { return l.alertFold; }},
        {tvPanel_->group(), [](L& l) -> QRect& { return l.tvGroup; }},
        {alertPanel_->group(), [](L& l) -> QRect& { return l.alertGroup; }},
        {intlPanel_.frame, [](L& l) -> QRect& { return l.intlPanel; }},
        {newsTicker_->strip(), [](L& l) -> QRect& { return l.newsStrip; }},
        {newsTicker_->link(), [](L& l) -> QRect& { return l.newsLink; }},
    };
    for (int i = 0; i < ChartPages::kPages; ++i) {
        const auto index = static_cast<size_t>(i);
        layout_.append({chartPages_->sidePanel(i), [index](L& l) -> QRect& { return l.sidePanels[index]; }});
        if (QFrame* content = chartPages_->contentFrame(i))
            layout_.append({content, [index](L& l) -> QRect& { return l.contentFrames[index]; }});
    }
}

MainLayout MainWindow::currentLayout() const {
    MainLayout l;
    l.toolbarHeight = toolbar_->height();
    for (const LayoutBinding& binding : layout_)
        binding.field(l) = binding.widget->geometry();
    l.statusPart1Width = statusPart1_->width();
    return l;
}

void MainWindow::applyLayout(const MainLayout& layout) {
    MainLayout l = layout;
    for (const LayoutBinding& binding : layout_)
        binding.widget->setGeometry(binding.field(l));
    statusPart1_->setFixedWidth(std::max(0, l.statusPart1Width));
    demoMark_->move(l.clockBar.width() - demoMark_->width() - 6, demoMark_->y());
    // What lies beneath the headline may have changed.
    newsTicker_->strip()->refreshBackground();
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

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize)
        layoutMainWindow();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::centreOnScreen() {
    if (!services_.screen)
        return;
    const QRect area = services_.screen->workArea();
    if (area.isEmpty())
        return;
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void MainWindow::toggleBankPanel() {
    QFrame* chart = chartPages_->chart24();
    const quotepanels::SplitterToggle t = quotepanels::toggleBankPanel(
        bankPanel_.splitter->y(), bankPanel_.splitter->height(), chartPages_->tabs()->height(),
        chartPages_->speedPanel()->height(), chart->height());
    bankPanel_.splitter->move(bankPanel_.splitter->x(), t.splitterTop);
    bankPanel_.background->move(bankPanel_.background->x(), t.panelTop);
    chart->move(chart->x(), t.chartTop);
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

void MainWindow::showDataError() {
    // The window keeps working behind the box; OK ends the program.
    services_.dialogs->notify(this, QStringLiteral("敬告：服务器数据错误！"), QStringLiteral("数据错误"),
                              [quit = services_.quit] { quit(0); });
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
    TradingWindow* opened = openOnce(tradingWindow_, [&] {
        auto* window = new TradingWindow(services_, *quoteModel_, reading.account, this);
        connect(window, &TradingWindow::newSimulationRequested, this, &MainWindow::openNewSimulation);
        return window;
    });
    if (opened && opened->ready())
        opened->show();
}

void MainWindow::openNewSimulation() {
    if (NewSimulationWindow* opened =
            openOnce(newSimulationWindow_, [this] { return new NewSimulationWindow(services_, this); }))
        opened->show();
}

void MainWindow::openLedger() {
    LedgerWindow* opened = openOnce(ledgerWindow_, [this] { return new LedgerWindow(services_, this); });
    if (opened && opened->ready()) {
        auto* valuation = new ValuationPanel(opened, [this](int bank) {
            return quoteModel_->shown(static_cast<QuoteModel::Shown>(bank * 2));
        });
        connect(quoteModel_, &QuoteModel::shownChanged, valuation, &ValuationPanel::pricesChanged);
        // The strip's buy price may follow the ledger's average cost.
        connect(opened, &LedgerWindow::refreshed, this, [this] {
            if (floatingStrip_)
                floatingStrip_->refreshLedgerCost();
        });
        opened->show();
    }
}

void MainWindow::lockProgram() {
    // A fresh window every time: nothing typed is remembered between lockings.
    LockWindow lock(services_, this);
    lock.exec();
}

void MainWindow::openReferenceBrowser() {
    if (ReferenceBrowser* opened = openOnce(
            referenceBrowser_, [this] { return new ReferenceBrowser(services_, startAddress_, this); }))
        opened->show();
}

void MainWindow::openMagnifier() {
    if (!services_.screen->canCapture()) {
        // Better said than a black window.
        services_.dialogs->message(this, QStringLiteral("此桌面不允许程序读取屏幕内容，放大镜无法使用。"),
                                   QStringLiteral("友情提示："), Dialogs::Icon::Information);
        return;
    }
    if (Magnifier* opened = openOnce(magnifier_, [this] { return new Magnifier(services_, this); }))
        opened->show();
}

void MainWindow::openUnitConverter() {
    if (UnitConverter* opened =
            openOnce(unitConverter_, [this] { return new UnitConverter(services_, this); }))
        opened->show();
}

void MainWindow::openSystemSettings() {
    if (SystemSettingsWindow* opened =
            openOnce(settingsWindow_, [this] { return new SystemSettingsWindow(services_, this); }))
        opened->show();
}

void MainWindow::openAbout() {
    if (AboutWindow* opened =
            openOnce(aboutWindow_, [this] { return new AboutWindow(services_, windowTitle(), this); }))
        opened->show();
}

void MainWindow::openFloatingStrip() {
    // Without a parent: window managers hide a minimised window's transients,
    // and the strip is for when the main window is out of the way. Not
    // openOnce(): the strip must not take the keyboard when it comes forward.
    if (!floatingStrip_) {
        floatingStrip_ = new FloatingStrip(services_, *quoteModel_, *desktopChart_);
        floatingStrip_->setLedgerCost([]() -> std::optional<double> {
            const auto entries = ledger::readLedger(appPath(recordpasswords::kLedgerFile));
            const ledger::Holding holding = ledger::holdingOf(entries.value_or(QList<ledger::Entry>{}));
            return holding.grams > 0 ? std::optional<double>(holding.averageCost()) : std::nullopt;
        });
    }
    floatingStrip_->present();
    update();
}

void MainWindow::attachPriceHistory() {
    // Every shown price goes to the history as it changes (the series are the
    // quote model's eight, in its order); the quote page's data error ends that.
    static_assert(QuoteModel::kShownCount == history::kSeriesCount);
    connect(quoteModel_, &QuoteModel::shownChanged, priceHistory_,
            [history = priceHistory_](QuoteModel::Shown which, const QString& text) {
                history->offer(static_cast<history::Series>(which), text);
            });
    connect(quoteFetcher_, &QuoteFetcher::dataError, priceHistory_, &PriceHistory::stopForDataError);
    // Every alert that reaches the user is kept beside the prices.
    alertLog_ = new AlertLog(*priceHistory_, this);
    alertPanel_->setLog(alertLog_);
    // The 24-hour charts never go blank: the recorded day stands in for an image that does not load.
    new RecordedChartFallback(chartPages_->chart24(), *priceHistory_);
    connect(desktopChart_, &DesktopChart::openChanged, this, [this](bool open) {
        ChartPanel* panel = open && desktopChart_->window() ? desktopChart_->window()->panel() : nullptr;
        if (panel && !panel->findChild<RecordedChartFallback*>())
            new RecordedChartFallback(panel, *priceHistory_);
    });
}

void MainWindow::openPriceHistory() {
    if (HistoryWindow* opened =
            openOnce(historyWindow_, [this] { return new HistoryWindow(services_, *priceHistory_, this); }))
        opened->show();
}

void MainWindow::openAlertLog() {
    if (AlertLogWindow* opened =
            openOnce(alertLogWindow_, [this] { return new AlertLogWindow(services_, *alertLog_, this); }))
        opened->show();
}

void MainWindow::bringForward() {
    tray_->bringForward();
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
        bankPanel_.rows[i].start->setToolTip(
            QStringLiteral("点击获取%1数据！").arg(QString::fromUtf8(banks[i])));
        bankPanel_.rows[i].stop->setToolTip(
            QStringLiteral("点击停止获取%1数据！").arg(QString::fromUtf8(banks[i])));
    }
}

void MainWindow::applyStartupOptions() {
    // One reading of the file for all the start-up keys.
    const settings::Snapshot config = settings::Snapshot::load(appPath(QStringLiteral("config.ini")));
    if (!config.exists())
        return;
    const QSize screen = services_.screen ? services_.screen->size() : QSize();
    if (!config.isOn(settings::key::designedLayout) && screen.isValid() && screen.width() <= 1440 &&
        screen.height() <= 1024) {
        // A small screen gets the whole of it.
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    if (config.isOn(settings::key::floatingAtStart))
        openFloatingStrip();
    const settings::KeyInfo holds[] = {settings::key::holdIcbc, settings::key::holdCcb,
                                       settings::key::holdBoc};
    for (int i = 0; i < 3; ++i) {
        if (config.isOn(holds[i]))
            quoteCycle_->stopBank(i);
    }
    if (config.isOn(settings::key::alertsAtStart))
        alertPanel_->startAlerts();
}

void MainWindow::onCreated() {
    // The skin is attached before the window takes its size (see the constructor).
    quoteFetcher_->startQuoteFetch();
    attachTooltips();
    chartPages_->load24HourChart();
    alertPanel_->loadAlertSettings();
    applyStartupOptions();
    quoteCycle_->checkTradingDay();
    newsTicker_->fetchNewsList();
}
