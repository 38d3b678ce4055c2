#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

class DesktopChartWindow;
struct Services;

// The one desktop chart window of the program, as the floating strip drives
// it. It belongs to the program rather than to the strip: closing the strip
// leaves the chart on the desktop, and a strip opened again finds it.
class DesktopChart : public QObject {
    Q_OBJECT
public:
    // The 24-hour chart in yuan per gram on the chart image host; empty
    // while the host is not configured.
    static QUrl chartAddress(const QString& imageHost);

    DesktopChart(Services& services, const QUrl& chartUrl, QObject* parent);
    ~DesktopChart() override;

    bool isOpen() const { return !window_.isNull(); }
    DesktopChartWindow* window() const;

    // Shows the window, creating it when it is not open, at the opacity and
    // reload period of the two slider positions.
    void openDesktopChart(int opacityPosition, int speedPosition);
    void closeDesktopChart();
    // The bottom row's handlers; nothing happens while the window is closed.
    void setOpacityPosition(int position);
    void setSpeedPosition(int position);
    void setOnTop(bool onTop);
    void makeClickThrough();

    int chartAlpha() const { return chartAlpha_; }
    int chartRefreshMs() const { return chartRefreshMs_; }

signals:
    // The window opened or went away, by the close button or its own frame.
    void openChanged(bool open);

private:
    Services& services_;
    const QUrl chartUrl_;
    QPointer<DesktopChartWindow> window_;
    int chartAlpha_ = 255;
    int chartRefreshMs_ = 0;
};
