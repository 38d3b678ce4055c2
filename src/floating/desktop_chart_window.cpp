#include "desktop_chart_window.h"

#include "charts/chart_panel.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "platform/web_cache.h"
#include "ui/fixed_size.h"
#include "ui/x11_window.h"

#include <QWindow>

DesktopChartWindow::DesktopChartWindow(Services& services, const QUrl& chartUrl)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint), services_(services), chartUrl_(chartUrl) {
    setObjectName(QStringLiteral("黄金行情小窗口hj"));
    setWindowTitle(QStringLiteral("黄金行情小窗口hj"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Opened from the strip while the user works elsewhere: the keyboard stays there.
    setAttribute(Qt::WA_ShowWithoutActivating);
    x11window::keepOffTaskbar(this);
    makeFixedSize(this, {kWidth, kHeight});

    panel_ = new ChartPanel(this, services_);
    panel_->setObjectName(QStringLiteral("超文本浏览框_行情显示"));
    panel_->setGeometry(0, 0, kWidth, kHeight);

    refreshTimer_ = new Timer(this, QStringLiteral("时钟_桌行行情更新"));
    connect(refreshTimer_, &Timer::timeout, this, &DesktopChartWindow::refreshDesktopChart);
    refreshDesktopChart();
}

void DesktopChartWindow::refreshDesktopChart() {
    if (services_.webCache)
        services_.webCache->clearWebCache();
    // A failed load leaves the panel empty; the next tick tries again.
    panel_->loadImage(chartUrl_);
}

void DesktopChartWindow::setRefreshInterval(int ms) {
    refreshTimer_->setInterval(ms);
}

int DesktopChartWindow::refreshInterval() const {
    return refreshTimer_->interval();
}

void DesktopChartWindow::setOnTop(bool onTop) {
    const Qt::WindowFlags flags = windowFlags().setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (flags == windowFlags())
        return;
    if (QWindow* handle = windowHandle()) {
        // setWindowFlags() would recreate the native window and hide it.
        overrideWindowFlags(flags);
        handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
        if (onTop)
            raise();
    } else {
        setWindowFlags(flags);
    }
}

void DesktopChartWindow::makeClickThrough() {
    // In place on the shown window; the widget's copy of the flags follows so
    // that a later change of another flag keeps this one.
    overrideWindowFlags(windowFlags() | Qt::WindowTransparentForInput);
    if (QWindow* handle = windowHandle())
        handle->setFlag(Qt::WindowTransparentForInput, true);
}

bool DesktopChartWindow::isClickThrough() const {
    const QWindow* handle = windowHandle();
    return handle && handle->flags().testFlag(Qt::WindowTransparentForInput);
}
