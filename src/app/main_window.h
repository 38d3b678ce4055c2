#pragma once

#include "quotes/quote_display.h"

#include <QMainWindow>
#include <QPointer>

class AboutWindow;
class AccountEntry;
class AlertLog;
class AlertLogWindow;
class AlertPanel;
class ChartPages;
class ClientLayout;
class Commands;
class DesktopChart;
class ExternalTools;
class FloatingStrip;
class HistoryWindow;
class LedgerWindow;
class Magnifier;
class NewsTicker;
class PriceHistory;
class QFrame;
class QLabel;
class QPushButton;
class QStatusBar;
class QToolBar;
class QuoteModel;
class ReferenceBrowser;
class SystemSettingsWindow;
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
// resize (ClientLayout), and wires the commands.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The client area below the menu bar: toolbar, tabs and right column, status bar.
    static constexpr int kClientWidth = 1015;
    static constexpr int kClientHeight = 688;

    explicit MainWindow(Services& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The prices of the run, for the windows that show them.
    QuoteModel& quoteModel() { return quotes_->model(); }

    // The address the reference browser opens in its first tab: the
    // program's first command-line argument.
    void setStartAddress(const QString& address) { startAddress_ = address; }

    // The window to the front from wherever it is: the tray, minimised,
    // behind other windows (a second start of the program asks for this).
    void bringForward();

private:
    // The build steps, in the order the controls are made.
    void buildClient(const endpoints::Endpoints& hosts);
    void buildRightColumn(const endpoints::Endpoints& hosts);
    void buildStatusBar(const endpoints::Endpoints& hosts);
    void bindCommands(const endpoints::Endpoints& hosts);
    void bindLayout();

    // The creation handler, and the start-up options of "config.ini" within it.
    void onCreated();
    void applyStartupOptions();

    // The windows the commands open; each exists once.
    void openLedger();
    void openFloatingStrip();
    // Records the shown prices and lets the 24-hour charts fall back on them.
    void attachPriceHistory();

    Services& services_;
    QuoteDisplay* quotes_;
    PriceHistory* priceHistory_;
    Commands* commands_;
    // Outlives the strip that opens it.
    DesktopChart* desktopChart_;

    QWidget* client_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    WorldClock* worldClock_ = nullptr;
    QLabel* demoMark_ = nullptr;
    ChartPages* chartPages_ = nullptr;
    QFrame* rightColumn_ = nullptr;
    TvPanel* tvPanel_ = nullptr;
    AlertPanel* alertPanel_ = nullptr;
    AlertLog* alertLog_ = nullptr;
    QPushButton* tvFold_ = nullptr;
    QPushButton* alertFold_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* statusPart1_ = nullptr;
    NewsTicker* newsTicker_ = nullptr;
    ClientLayout* layout_ = nullptr;
    TrayController* tray_ = nullptr;
    ExternalTools* tools_ = nullptr;
    AccountEntry* accountEntry_ = nullptr;

    QPointer<LedgerWindow> ledgerWindow_;
    QPointer<ReferenceBrowser> referenceBrowser_;
    QPointer<Magnifier> magnifier_;
    QPointer<UnitConverter> unitConverter_;
    QPointer<SystemSettingsWindow> settingsWindow_;
    QPointer<AboutWindow> aboutWindow_;
    QPointer<FloatingStrip> floatingStrip_;
    QPointer<HistoryWindow> historyWindow_;
    QPointer<AlertLogWindow> alertLogWindow_;
    QString startAddress_;
};
