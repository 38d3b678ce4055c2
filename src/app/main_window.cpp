#include "main_window.h"

#include "alerts/alert_log.h"
#include "alerts/alert_log_window.h"
#include "alerts/alert_panel.h"
#include "app/about_window.h"
#include "app/client_layout.h"
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
#include "quotes/quote_model.h"
#include "quotes/world_clock.h"
#include "records/passwords.h"
#include "settings/config_file.h"
#include "trading/account_entry.h"
#include "ui/app_art.h"
#include "ui/demo_mark.h"
#include "ui/open_once.h"
#include "ui/place.h"
#include "ui/skin.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

MainWindow::MainWindow(Services& services, QWidget* parent) : QMainWindow(parent), services_(services) {
    setObjectName(QStringLiteral("主窗口"));
    setWindowTitle(QStringLiteral("Aurivex3.0"));
    setWindowIcon(appart::windowIcon());
    setAttribute(Qt::WA_DeleteOnClose);

    // Read once; the fetcher, the commands and the bank panel all take their addresses from it.
    const endpoints::Endpoints hosts = endpoints::Endpoints::load();
    quotes_ = new QuoteDisplay(this, services_, hosts);
    priceHistory_ =
        new PriceHistory(appPath(QString::fromLatin1(PriceHistory::kFile)), *services_.clock, this);
    desktopChart_ = new DesktopChart(
        services_, DesktopChart::chartAddress(hosts.value(charts::hostKey(charts::Host::Image))), this);
    commands_ = new Commands(this);
    commands_->addMenus(menuBar());
    buildClient(hosts);
    attachPriceHistory();
    tray_ = new TrayController(this, *services_.tray, *commands_, statusBar_);
    // A desktop notification's action brings the window forward, out of the tray too.
    if (services_.notifications)
        connect(services_.notifications, &Notifications::actionInvoked, this, &MainWindow::bringForward);
    tools_ = new ExternalTools(services_, this);
    accountEntry_ = new AccountEntry(services_, quoteModel(), this);
    bindCommands(hosts);
    bindLayout();

    // The skin changes the menu bar's height, so the window is sized after it.
    attachSkin();
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    move(centredOnScreen(this, services_.screen));
    layout_->layOut();
    onCreated();
    // Once the window shows; what needs these keys stays off meanwhile.
    if (const QString text = hosts.unusableKeysMessage(); !text.isEmpty())
        QTimer::singleShot(0, this, [this, text] {
            services_.dialogs->notify(this, text, QStringLiteral("友情提示："), {});
        });
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
    toolbar_ = commands_->placeToolbar(client_);
    worldClock_ = new WorldClock(this, client_, *services_.clock);
    // At the clock's free right end, above everything that shows a price;
    // placed with the layout (bindLayout), so a narrow window keeps it in sight.
    demoMark_ = demomark::place(worldClock_->bar(), QStringLiteral("标签_演示行情"), {0, 3, 58, 18});
    connect(&quoteModel(), &QuoteModel::demoFeedChanged, demoMark_, &QLabel::setVisible);
    chartPages_ = new ChartPages(client_, services_, hosts);
    quotes_->buildBankPanel(chartPages_->page(0),
                            {chartPages_->tabs(), chartPages_->speedPanel(), chartPages_->chart24()}, hosts);
    buildRightColumn(hosts);
    buildStatusBar(hosts);
}

void MainWindow::buildRightColumn(const endpoints::Endpoints& hosts) {
    rightColumn_ = place<QFrame>(client_, QStringLiteral("右侧背景框"), {749, 26, 264, 640});
    tvPanel_ = new TvPanel(rightColumn_, this, services_, hosts);
    alertPanel_ = new AlertPanel(rightColumn_, services_, quoteModel());
    quotes_->buildIntlPanel(rightColumn_);

    tvFold_ = place<QPushButton>(client_, QStringLiteral("按钮_电视折叠"), {973, 22, 35, 10});
    alertFold_ = place<QPushButton>(client_, QStringLiteral("按钮_提醒折叠"), {975, 255, 35, 10});
    for (QPushButton* fold : {tvFold_, alertFold_}) {
        fold->setFocusPolicy(Qt::NoFocus);
        fold->raise();
    }
    connect(tvFold_, &QPushButton::clicked, this, [this] { layout_->toggleTvGroup(); });
    connect(alertFold_, &QPushButton::clicked, this, [this] { layout_->toggleAlertGroup(); });
}

void MainWindow::buildStatusBar(const endpoints::Endpoints& hosts) {
    statusBar_ = new QStatusBar(client_);
    statusBar_->setObjectName(QStringLiteral("状态条_新闻"));
    statusBar_->setSizeGripEnabled(false);
    auto* part0 = new QLabel(QStringLiteral("  系统信息："), statusBar_);
    statusPart1_ = new QLabel(statusBar_);
    statusBar_->addWidget(part0);
    statusBar_->addWidget(statusPart1_);
    statusBar_->setGeometry(0, kClientHeight - MainLayout::kStatusHeight, kClientWidth,
                            MainLayout::kStatusHeight);
    newsTicker_ =
        new NewsTicker(client_, services_, newslist::listUrl(hosts.value(endpoints::key::newsHost)));
    // The news strip lies over the status bar: it steps aside while the bar says something.
    connect(statusBar_, &QStatusBar::messageChanged, newsTicker_->strip(),
            [strip = newsTicker_->strip()](const QString& message) { strip->setVisible(message.isEmpty()); });
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
    commands_->bind(Command::SimulatedTrading, [this] { accountEntry_->enter(); });
    commands_->bind(Command::Ledger, [this] { openLedger(); });
    commands_->bind(Command::Lock, [this] { LockWindow::lock(services_, this); });
    commands_->bindWindow(Command::ReferenceBrowser, referenceBrowser_,
                          [this] { return new ReferenceBrowser(services_, startAddress_, this); });
    commands_->bind(Command::Magnifier, [this] {
        if (Magnifier::screenReadable(services_, this))
            showOnce(magnifier_, [this] { return new Magnifier(services_, this); });
    });
    commands_->bindWindow(Command::UnitConverter, unitConverter_,
                          [this] { return new UnitConverter(services_, this); });
    commands_->bind(Command::Exit, [this] { services_.quit(0); });
    commands_->bind(Command::HideToTray, [this] { tray_->hideToTray(); });
    commands_->bind(Command::ShowMainWindow, [this] { tray_->showFromTray(); });
    commands_->bind(Command::TradingTerminal, [this] { tools_->launchTerminal(); });
    commands_->bind(Command::Notepad, [this] { tools_->openTextEditor(); });
    commands_->bind(Command::Calculator, [this] { tools_->openCalculator(); });
    commands_->bind(Command::Help, [this] { tools_->openHelp(); });
    commands_->bindWindow(Command::SystemSettings, settingsWindow_,
                          [this] { return new SystemSettingsWindow(services_, this); });
    commands_->bindWindow(Command::About, aboutWindow_,
                          [this] { return new AboutWindow(services_, windowTitle(), this); });
    commands_->bindWindow(Command::PriceHistory, historyWindow_,
                          [this] { return new HistoryWindow(services_, *priceHistory_, this); });
    commands_->bindWindow(Command::AlertLog, alertLogWindow_,
                          [this] { return new AlertLogWindow(services_, *alertLog_, this); });
    const QString productPage = hosts.value(endpoints::key::productPageUrl);
    if (!productPage.isEmpty())
        commands_->bind(Command::CheckForUpdates,
                        [this, productPage] { services_.launcher->openUrl(QUrl(productPage)); });
}

void MainWindow::bindLayout() {
    layout_ = new ClientLayout(client_, toolbar_, statusBar_, statusPart1_);
    const quotepanels::BankPanel& bank = quotes_->bankPanel();
    layout_->bind(statusBar_, &MainLayout::statusBar);
    layout_->bind(rightColumn_, &MainLayout::rightColumn);
    layout_->bind(chartPages_->tabs(), &MainLayout::tabs);
    layout_->bind(worldClock_->bar(), &MainLayout::clockBar);
    layout_->bind(worldClock_->panel(), &MainLayout::clockPanel);
    layout_->bind(bank.splitter, &MainLayout::bankSplitter);
    layout_->bind(bank.background, &MainLayout::bankPanel);
    layout_->bind(bank.adaptive, &MainLayout::bankAdaptive);
    layout_->bind(chartPages_->chart24(), &MainLayout::chart24);
    layout_->bind(chartPages_->speedPanel(), &MainLayout::speedPanel);
    layout_->bind(tvFold_, &MainLayout::tvFold);
    layout_->bind(alertFold_, &MainLayout::alertFold);
    layout_->bind(tvPanel_->group(), &MainLayout::tvGroup);
    layout_->bind(alertPanel_->group(), &MainLayout::alertGroup);
    layout_->bind(quotes_->intlPanel().frame, &MainLayout::intlPanel);
    layout_->bind(newsTicker_->strip(), &MainLayout::newsStrip);
    layout_->bind(newsTicker_->link(), &MainLayout::newsLink);
    for (size_t i = 0; i < ChartPages::kPages; ++i) {
        layout_->bind(chartPages_->sidePanel(int(i)), &MainLayout::sidePanels, i);
        if (QFrame* content = chartPages_->contentFrame(int(i)))
            layout_->bind(content, &MainLayout::contentFrames, i);
    }
    layout_->afterPlacing([this](const MainLayout& l) {
        demoMark_->move(l.clockBar.width() - demoMark_->width() - 6, demoMark_->y());
        // What lies beneath the headline may have changed.
        newsTicker_->strip()->refreshBackground();
    });
}

void MainWindow::onCreated() {
    // The skin is attached before the window takes its size (see the constructor).
    quotes_->start();
    chartPages_->load24HourChart();
    alertPanel_->loadAlertSettings();
    applyStartupOptions();
    quotes_->checkTradingDay();
    newsTicker_->fetchNewsList();
}

void MainWindow::applyStartupOptions() {
    // One reading of the file for all the start-up keys.
    const settings::Snapshot config = settings::ConfigFile::program().read();
    if (!config.exists())
        return;
    const QSize screen = services_.screen ? services_.screen->size() : QSize();
    if (MainLayout::maximisedAtStart(config.value(settings::key::designedLayout), screen))
        setWindowState(windowState() | Qt::WindowMaximized);
    if (config.value(settings::key::floatingAtStart))
        openFloatingStrip();
    quotes_->applyHolds(config);
    if (config.value(settings::key::alertsAtStart))
        alertPanel_->startAlerts();
}

void MainWindow::openLedger() {
    LedgerWindow* opened = openOnce(ledgerWindow_, [this] { return new LedgerWindow(services_, this); });
    if (!opened || !opened->ready())
        return;
    auto* valuation = new ValuationPanel(
        opened, [this](int bank) { return quoteModel().shown(static_cast<QuoteModel::Shown>(bank * 2)); });
    connect(&quoteModel(), &QuoteModel::shownChanged, valuation, &ValuationPanel::pricesChanged);
    // The strip's buy price may follow the ledger's average cost.
    connect(opened, &LedgerWindow::refreshed, this, [this] {
        if (floatingStrip_)
            floatingStrip_->refreshLedgerCost();
    });
    opened->show();
}

void MainWindow::openFloatingStrip() {
    // Without a parent: window managers hide a minimised window's transients,
    // and the strip is for when the main window is out of the way. Not
    // openOnce(): the strip must not take the keyboard when it comes forward.
    if (!floatingStrip_) {
        floatingStrip_ = new FloatingStrip(services_, quoteModel(), *desktopChart_);
        floatingStrip_->setLedgerCost(
            [] { return ledger::heldAverageCost(appPath(recordpasswords::kLedgerFile)); });
    }
    floatingStrip_->present();
    update();
}

void MainWindow::attachPriceHistory() {
    priceHistory_->follow(quoteModel(), quotes_->fetcher());
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

void MainWindow::bringForward() {
    tray_->bringForward();
}
