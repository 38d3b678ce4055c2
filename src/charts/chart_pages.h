#pragma once

#include "charts/chart_catalogue.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <map>

class ChartPanel;
class ChartTabs;
class ChartWindow;
class PartnerWindow;
class QFrame;
class QLabel;
class QPushButton;
class QSlider;
class QWidget;
class Timer;
struct Services;
namespace endpoints {
class Endpoints;
}

// "高级选择夹": the five chart pages of the main window with their charts,
// side panels, buttons and timers, and the chart windows they open. Page 0
// holds the 24-hour chart above the speed panel; the bank panel is placed on
// it by the quote display.
class ChartPages : public QObject {
    Q_OBJECT
public:
    static constexpr int kPages = 5;

    // Builds the tab control and its pages on `parent`; the chart hosts come
    // from `hosts`.
    ChartPages(QWidget* parent, Services& services, const endpoints::Endpoints& hosts);
    // The chart windows have no owner window; they go with the pages.
    ~ChartPages() override;

    ChartTabs* tabs() const { return tabs_; }
    QWidget* page(int index) const;
    QFrame* sidePanel(int index) const { return sidePanels_.value(index); }
    // Null for page 0, whose content is the 24-hour chart and the bank panel.
    QFrame* contentFrame(int index) const { return contentFrames_.value(index); }
    ChartPanel* chart24() const { return chart24_; }
    QFrame* speedPanel() const { return speedPanel_; }

    // `selectChartPage`: makes page `index` current and runs its load routine.
    void select(int index);
    // `load24HourChart`: reloads the 24-hour chart afresh and restarts the countdown.
    void load24HourChart();
    // Opens the partner chart window "综合看盘", or brings it forward.
    void openOverview();

    // The large history image the enlarge window shows; empty while it is closed.
    QUrl enlargeUrl() const { return enlargeUrl_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPage0();
    void buildHistoryPage();
    void buildInfluencePage();
    void buildKLinePage();
    void buildTechnicalPage();
    QPushButton* sideButton(int page, const QString& name, const QRect& rect, const QString& caption);
    ChartPanel* addPanel(QWidget* parent, const charts::ChartLink& row, const QRect& rect);
    QUrl urlOf(const charts::ChartLink& row) const;
    void loadChart(const charts::ChartLink& row);

    void placeSpeedPanel();
    void countdownTick();
    void refreshSpeedChanged(int seconds);
    void stopRefresh();
    void manualRefresh24();
    void loadHistory();
    void refreshInfluence();
    void autoRefreshInfluence();
    void influenceTick();
    void pressChartButton(const QString& button);
    void enlarge(const charts::ChartLink& row);
    void openChartWindow(charts::ChartWindowKind kind);

    Services& services_;
    std::map<charts::Host, QString> hosts_;
    QString javaDownloadUrl_;

    ChartTabs* tabs_;
    QList<QFrame*> sidePanels_;
    QList<QFrame*> contentFrames_;
    ChartPanel* chart24_ = nullptr;
    QFrame* speedPanel_ = nullptr;
    QSlider* speedSlider_ = nullptr;
    QLabel* countdownLabel_ = nullptr;
    QLabel* kLineStatus_ = nullptr;
    QHash<QString, ChartPanel*> panels_;
    QHash<QString, QPushButton*> chartButtons_;

    Timer* refreshTimer_ = nullptr;
    Timer* countdownTimer_ = nullptr;
    Timer* influenceTimer_ = nullptr;

    // `manualRefreshClearsCache`: the next manual refresh of page 0 empties the web cache first.
    bool manualRefreshClearsCache_ = true;
    QUrl enlargeUrl_;
    std::map<charts::ChartWindowKind, QPointer<ChartWindow>> windows_;
    QPointer<PartnerWindow> partnerWindow_;
};
