#pragma once

#include <QUrl>
#include <QWidget>

class ChartPanel;
class Timer;
struct Services;

// "黄金行情小窗口hj": the 24-hour chart image kept on the desktop, reloaded
// on its timer, on top of other windows and, on request, click-through.
// The floating strip's bottom row drives it (see DesktopChart).
class DesktopChartWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 492;
    static constexpr int kHeight = 310;

    // On top from the start, its chart on the way.
    DesktopChartWindow(Services& services, const QUrl& chartUrl);

    // Fetches the chart anew: the cache is emptied first, so that no stale copy shows.
    void refreshDesktopChart();
    // 0 stops the reloads.
    void setRefreshInterval(int ms);
    int refreshInterval() const;
    void setOnTop(bool onTop);
    // Clicks pass to the windows beneath from now on; only a new window
    // takes them again.
    void makeClickThrough();
    bool isClickThrough() const;

    ChartPanel* panel() const { return panel_; }

private:
    Services& services_;
    const QUrl chartUrl_;
    ChartPanel* panel_;
    Timer* refreshTimer_;
};
