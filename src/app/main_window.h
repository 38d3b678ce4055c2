#pragma once

#include "app/main_layout.h"
#include "ledger/ledger_window.h"
#include "quotes/quote_panels.h"
#include "trading/new_simulation_window.h"
#include "trading/trading_window.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

class ChartTabs;
class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QToolBar;
class QuoteCycle;
class QuoteFetcher;
class QuoteModel;
class Timer;
class WorldClock;
struct Services;
namespace endpoints {
class Endpoints;
}

// The program's home window. It owns every other window; destroying it ends
// the program. Its client area (below the menu bar) is laid out by hand, in
// the design's pixel coordinates, on every resize.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The client area below the menu bar: toolbar, tabs and right column, status bar.
    static constexpr int kClientWidth = 1015;
    static constexpr int kClientHeight = 688;
    static constexpr int kToolbarHeight = 28;
    static constexpr int kStatusHeight = 20;
    static constexpr int kToolbarButtons = 13;

    explicit MainWindow(Services& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    QuoteModel& quoteModel() { return *quoteModel_; }
    QuoteFetcher& quoteFetcher() { return *quoteFetcher_; }
    QuoteCycle& quoteCycle() { return *quoteCycle_; }
    QWidget* client() const { return client_; }
    QToolBar* toolbar() const { return toolbar_; }
    QAction* toolbarButton(int index) const { return toolbarButtons_.value(index); }
    // The menu bar item with this caption, searched through every menu.
    QAction* menuItem(const QString& caption) const;

    // The toolbar's dispatch, by 0-based button index.
    void onToolbarButton(int index);
    // Makes a chart page current.
    void selectChartPage(int index);
    // Lays the client area out for its current size.
    void layoutMainWindow();
    // Enters the simulated account: the trading window, or the new-simulation
    // window when the account has no record yet.
    void openSimulatedTrading();
    void openNewSimulation();
    // The ledger of real trades; one window at a time.
    void openLedger();
    LedgerWindow* ledgerWindow() const { return ledgerWindow_; }
    // Locks the program behind the lock window until it is unlocked.
    void lockProgram();
    TradingWindow* tradingWindow() const { return tradingWindow_; }
    NewSimulationWindow* newSimulationWindow() const { return newSimulationWindow_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildClient(const endpoints::Endpoints& hosts);
    void buildToolbar();
    void buildMenus(const endpoints::Endpoints& hosts);
    void buildChartPages(const endpoints::Endpoints& hosts);
    void buildRightColumn();
    void buildStatusBar();
    void onCreated();
    void attachSkin();
    void attachTooltips();
    void applyStartupOptions();
    void centreOnScreen();
    void toggleBankPanel();
    void toggleTvGroup();
    void toggleAlertGroup();
    MainLayout currentLayout() const;
    void applyLayout(const MainLayout& layout);

    Services& services_;
    QuoteModel* quoteModel_;
    QuoteFetcher* quoteFetcher_;
    QuoteCycle* quoteCycle_ = nullptr;
    WorldClock* worldClock_ = nullptr;
    Timer* fetchTimer_;

    QWidget* client_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QList<QAction*> toolbarButtons_;
    ChartTabs* tabs_ = nullptr;
    QFrame* chart24_ = nullptr;
    QFrame* speedPanel_ = nullptr;
    QList<QFrame*> sidePanels_;
    QList<QFrame*> contentFrames_;
    quotepanels::BankPanel bankPanel_;
    quotepanels::IntlPanel intlPanel_;
    QFrame* rightColumn_ = nullptr;
    QGroupBox* tvGroup_ = nullptr;
    QGroupBox* alertGroup_ = nullptr;
    QPushButton* tvFold_ = nullptr;
    QPushButton* alertFold_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* statusPart1_ = nullptr;
    QWidget* newsStrip_ = nullptr;
    QLabel* newsLink_ = nullptr;
    QMenu* channelMenu_ = nullptr;
    QPointer<TradingWindow> tradingWindow_;
    QPointer<NewSimulationWindow> newSimulationWindow_;
    QPointer<LedgerWindow> ledgerWindow_;
};
