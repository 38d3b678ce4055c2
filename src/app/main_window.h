#pragma once

#include "app/main_layout.h"
#include "quotes/quote_panels.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class AboutWindow;
class AlertLog;
class AlertLogWindow;
class AlertPanel;
class ExternalTools;
class HistoryWindow;
class DesktopChart;
class FloatingStrip;
class ChartPages;
class Commands;
class LedgerWindow;
class Magnifier;
class NewsTicker;
class NewSimulationWindow;
class PriceHistory;
class QFrame;
class QLabel;
class QPushButton;
class QStatusBar;
class QToolBar;
class QuoteCycle;
class QuoteFetcher;
class QuoteModel;
class ReferenceBrowser;
class SystemSettingsWindow;
class Timer;
class TradingWindow;
class TrayController;
class TvPanel;
class UnitConverter;
class WorldClock;
struct Services;
namespace endpoints {
class Endpoints;
}

// The program's home window. It owns every other window; destroying it ends
// the program. It is a host: each subsystem's panel builds its own controls
// on the part of the window it is given, and the window places the panels,
// lays its client area out in the design's pixel coordinates on every
// resize, and wires the commands.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The client area below the menu bar: toolbar, tabs and right column, status bar.
    static constexpr int kClientWidth = 1015;
    static constexpr int kClientHeight = 688;
    static constexpr int kToolbarHeight = 28;
    static constexpr int kStatusHeight = 20;

    explicit MainWindow(Services& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The prices of the run, for the windows that show them.
    QuoteModel& quoteModel() { return *quoteModel_; }

    // Lays the client area out for its current size.
    void layoutMainWindow();
    // The address the reference browser opens in its first tab: the
    // program's first command-line argument.
    void setStartAddress(const QString& address) { startAddress_ = address; }

    // The window to the front from wherever it is: the tray, minimised,
    // behind other windows (a second start of the program asks for this).
    void bringForward();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One rectangle of the layout arithmetic and the widget it belongs to.
    struct LayoutBinding {
        QWidget* widget;
        std::function<QRect&(MainLayout&)> field;
    };

    void buildClient(const endpoints::Endpoints& hosts);
    // Tells the user which keys of endpoints.ini hold no address.
    void reportUnusableEndpoints(const QStringList& keys);
    void buildToolbar();
    void buildMenus();
    void buildRightColumn(const endpoints::Endpoints& hosts);
    void buildStatusBar(const endpoints::Endpoints& hosts);
    void bindCommands(const endpoints::Endpoints& hosts);
    void bindLayout();
    void onCreated();
    void attachSkin();
    void attachTooltips();
    void applyStartupOptions();
    void centreOnScreen();
    void toggleBankPanel();
    void toggleTvGroup();
    void toggleAlertGroup();
    void showDataError();
    MainLayout currentLayout() const;
    void applyLayout(const MainLayout& layout);

    // Enters the simulated account: the trading window, or the new-simulation
    // window when the account has no record yet.
    void openSimulatedTrading();
    void openNewSimulation();
    // The ledger of real trades; one window at a time.
    void openLedger();
    // Locks the program behind the lock window until it is unlocked.
    void lockProgram();
    // The tools: each window exists once.
    void openReferenceBrowser();
    void openMagnifier();
    void openUnitConverter();
    void openSystemSettings();
    void openAbout();
    // The floating quote strip; one at a time.
    void openFloatingStrip();
    // Records the shown prices and lets the 24-hour charts fall back on them.
    void attachPriceHistory();
    // "价格记录", the charts of the local price history.
    void openPriceHistory();
    // "提醒记录", every alert that reached the user.
    void openAlertLog();

    Services& services_;
    QuoteModel* quoteModel_;
    QuoteFetcher* quoteFetcher_;
    QuoteCycle* quoteCycle_ = nullptr;
    PriceHistory* priceHistory_;
    WorldClock* worldClock_ = nullptr;
    QLabel* demoMark_ = nullptr;
    Timer* fetchTimer_;
    Commands* commands_;

    QWidget* client_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    ChartPages* chartPages_ = nullptr;
    quotepanels::BankPanel bankPanel_;
    quotepanels::IntlPanel intlPanel_;
    QFrame* rightColumn_ = nullptr;
    TvPanel* tvPanel_ = nullptr;
    AlertPanel* alertPanel_ = nullptr;
    AlertLog* alertLog_ = nullptr;
    QPushButton* tvFold_ = nullptr;
    QPushButton* alertFold_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* statusPart1_ = nullptr;
    NewsTicker* newsTicker_ = nullptr;
    QList<LayoutBinding> layout_;
    TrayController* tray_ = nullptr;
    ExternalTools* tools_ = nullptr;

    QPointer<TradingWindow> tradingWindow_;
    QPointer<NewSimulationWindow> newSimulationWindow_;
    QPointer<LedgerWindow> ledgerWindow_;
    QPointer<ReferenceBrowser> referenceBrowser_;
    QPointer<Magnifier> magnifier_;
    QPointer<UnitConverter> unitConverter_;
    QString startAddress_;
    QPointer<SystemSettingsWindow> settingsWindow_;
    QPointer<AboutWindow> aboutWindow_;
    QPointer<FloatingStrip> floatingStrip_;
    QPointer<HistoryWindow> historyWindow_;
    QPointer<AlertLogWindow> alertLogWindow_;
    // Outlives the strip that opens it.
    DesktopChart* desktopChart_;
};
