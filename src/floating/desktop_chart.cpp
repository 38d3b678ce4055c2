#include "desktop_chart.h"

#include "charts/chart_catalogue.h"
#include "floating/desktop_chart_window.h"
#include "floating/quote_line.h"
#include "ui/window_alpha.h"

namespace {
constexpr int kMsPerSecond = 1000;
}

QUrl DesktopChart::chartAddress(const QString& imageHost) {
    return charts::chartUrl(imageHost, QStringLiteral("/cn/metals/gold/t24_au_cny_gram_450x275g.gif"));
}

DesktopChart::DesktopChart(Services& services, const QUrl& chartUrl, QObject* parent)
    : QObject(parent), services_(services), chartUrl_(chartUrl) {}

DesktopChart::~DesktopChart() {
    // A window of its own, without a parent: it goes with the program.
    delete window_;
}

DesktopChartWindow* DesktopChart::window() const {
    return window_;
}

void DesktopChart::openDesktopChart(int opacityPosition, int speedPosition) {
    const bool created = !window_;
    if (created) {
        window_ = new DesktopChartWindow(services_, chartUrl_);
        connect(window_, &QObject::destroyed, this, [this] { emit openChanged(false); });
    }
    window_->show();
    chartAlpha_ = quoteline::alphaOfPosition(opacityPosition);
    setWindowAlpha(window_, chartAlpha_);
    window_->setRefreshInterval(speedPosition * kMsPerSecond);
    if (created)
        emit openChanged(true);
}

void DesktopChart::closeDesktopChart() {
    // The window's destruction says it is closed (see openDesktopChart).
    delete window_;
}

void DesktopChart::setOpacityPosition(int position) {
    if (!window_)
        return;
    chartAlpha_ = quoteline::alphaOfPosition(position);
    setWindowAlpha(window_, chartAlpha_);
}

void DesktopChart::setSpeedPosition(int position) {
    if (!window_)
        return;
    chartRefreshMs_ = position * kMsPerSecond;
    window_->setRefreshInterval(chartRefreshMs_);
}

void DesktopChart::setOnTop(bool onTop) {
    if (window_)
        window_->setOnTop(onTop);
}

void DesktopChart::makeClickThrough() {
    if (window_)
        window_->makeClickThrough();
}
