#pragma once

#include "floating/auto_hide.h"

#include <QList>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <optional>

class DesktopChart;
class LedgerCostBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QToolButton;
class QuoteModel;
class Timer;
struct Services;

// "纸小窗口": a strip of one price line that floats over the programs the
// user works in, optionally docking at a screen edge, with a settings area
// that unfolds below it. Its bottom row drives the desktop chart window.
//
// It never takes the keyboard from the program in front, except while the
// user types a buy price into it.
class FloatingStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 432;
    static constexpr int kFoldedHeight = 33;
    static constexpr int kUnfoldedHeight = 169;

    // Reads its settings; the caller shows it (see present()). The desktop
    // chart outlives the strip.
    FloatingStrip(Services& services, const QuoteModel& model, DesktopChart& chart,
                  QWidget* parent = nullptr);

    // Shows the strip and brings it out of an edge it is docked at, without
    // taking the keyboard.
    void present();

    // The handlers, public for the tests that drive them as a click would.
    void buildQuoteStrip();
    void autoHideTick();
    void applyFloatingDefaults();
    void loadFloatingSettings();
    void saveFloatingSettings();
    void toggleAdvanced();
    void chooseFont();
    void openDesktopChart();
    void closeDesktopChart();
    // Where "用记账均价" takes the ledger's average cost from (see LedgerCostBox).
    void setLedgerCost(std::function<std::optional<double>()> averageCost);
    // The ledger changed: "用记账均价", when ticked, takes its new average cost.
    void refreshLedgerCost();

    bool advancedShown() const { return advancedShown_; }
    // Where the strip is as if it were whole, docked or not.
    QRect stripRect() const;
    // Docked at an edge: the window is the sliver that shows.
    bool isDocked() const;
    int floatingAlpha() const { return floatingAlpha_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    // The price line and the buttons beside it; the settings rows below.
    void buildPriceLine();
    void buildSettingsRows();
    void connectControls();
    void buildChartRow();
    void enableChartRow(bool chartOpen);
    void onChartSpeedChanged(int position);
    void attachTooltips();
    void showDemoMark(bool demo);
    void placeDemoMark();
    void applyTransparency();
    void applyOnTop(bool onTop);
    void applyAutoHide(bool on);
    void chooseBank(QCheckBox* clicked);
    void setPriceFont(const QFont& font, const QColor& colour);
    void setAcceptsKeyboard(bool accepts);
    void setWindowFlagInPlace(Qt::WindowType flag, bool on);
    void moveTo(const QPoint& topLeft);
    // Puts the strip at `strip`, the window shrinking to what shows of it when docked.
    void placeStrip(const QRect& strip);
    QList<autohide::ScreenArea> screens() const;

    Services& services_;
    const QuoteModel& model_;
    DesktopChart& chart_;

    QLabel* priceLabel_;
    QLabel* demoMark_;
    QPushButton* exitButton_;
    QToolButton* advancedButton_;
    QToolButton* fontButton_;
    QSlider* opacitySlider_;
    QCheckBox* autoHideBox_;
    QCheckBox* onTopBox_;
    QPushButton* defaultsButton_;
    QPushButton* saveButton_;
    QCheckBox* icbcBox_;
    QCheckBox* ccbBox_;
    QCheckBox* bocBox_;
    QLineEdit* yourBuyPrice_;
    QCheckBox* gainBox_;
    LedgerCostBox* ledgerCost_;

    // The desktop chart's controls.
    QPushButton* openChartButton_;
    QPushButton* closeChartButton_;
    QSlider* chartOpacitySlider_;
    QSlider* chartSpeedSlider_;
    QCheckBox* chartOnTopBox_;
    QCheckBox* chartClickThroughBox_;
    QWidget* dockedEdge_;

    Timer* quoteTimer_;
    Timer* autoHideTimer_;

    int floatingAlpha_ = 255;
    bool advancedShown_ = false;
    // Dragging by hand where the window manager does not move the window.
    bool dragging_ = false;
    QPoint dragOffset_;
    // While docked: the strip's place as if it were whole.
    std::optional<QRect> docked_;
};
