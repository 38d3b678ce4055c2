#pragma once

#include "charts/chart_catalogue.h"

#include <QUrl>
#include <QWidget>

class ChartPanel;
struct Services;

// One chart in a window of its own, larger than on the chart pages: the chart
// in a thin frame, a hint under it, the colour legend of the three-day charts
// and, on most, a narrow manual refresh button at the frame's right edge.
class ChartWindow : public QWidget {
    Q_OBJECT
public:
    // The design's outer sizes include a frame and caption this much larger
    // than the client area.
    static constexpr QSize kFrameExtra{8, 30};

    // Loads `url` at once, emptying the web cache first where its design says so.
    ChartWindow(const charts::ChartWindowDesign& design, const QUrl& url, Services& services);

    const charts::ChartWindowDesign& design() const { return design_; }
    ChartPanel* panel() const { return panel_; }
    QUrl url() const { return url_; }
    // Shows another chart: the enlarge window's next image.
    void setUrl(const QUrl& url);
    // The window's load action, also that of its refresh button.
    void refresh();

private:
    void addLegend();

    const charts::ChartWindowDesign& design_;
    Services& services_;
    QUrl url_;
    ChartPanel* panel_ = nullptr;
};
