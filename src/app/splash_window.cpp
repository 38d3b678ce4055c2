#include "splash_window.h"

#include "app/splash_art.h"
#include "app/splash_rules.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "ui/place.h"
#include "ui/window_alpha.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>

SplashWindow::SplashWindow(const Services& services, std::function<void()> openMainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), openMainWindow_(std::move(openMainWindow)) {
    setObjectName(QStringLiteral("启动窗口"));
    setWindowTitle(QStringLiteral("欢迎使用Aurivex"));
    setFixedSize(kWidth, kHeight);
    background_ = paintSplashBackground(kWidth, kHeight);

    versionLabel_ =
        place<QLabel>(this, QStringLiteral("透明标签_版本"), {325, 145, 40, 20}, QStringLiteral("3.0"));
    versionLabel_->setFont(QFont(QStringLiteral("宋体"), 9));
    indicatorLabel_ =
        place<QLabel>(this, QStringLiteral("标签_动画"), {282, 177, 88, 16}, QStringLiteral("■ □ □ □ □"));
    statusLabel_ = place<QLabel>(this, QStringLiteral("标签"), {66, 176, 200, 16},
                                 QStringLiteral("正在进行身份验证并登录 请稍侯..."));

    fadeTimer_ = new Timer(this, QStringLiteral("时钟_窗口透明渐增"), 0);
    indicatorTimer_ = new Timer(this, QStringLiteral("时钟_状态"), splash::kIndicatorIntervalMs);
    connect(fadeTimer_, &Timer::timeout, this, &SplashWindow::onFadeTick);
    connect(indicatorTimer_, &Timer::timeout, this, &SplashWindow::onIndicatorTick);

    // Creation: fully transparent, then fade in.
    setWindowAlpha(this, 0);
    fadeTimer_->setInterval(splash::kFadeIntervalMs);
    centreOnScreen(services);
}

// The whole primary screen, task bar included, as the splash always has.
void SplashWindow::centreOnScreen(const Services& services) {
    if (!services.screen)
        return;
    const QRect area = services.screen->geometry();
    if (area.isEmpty())
        return;
    move(area.x() + (area.width() - kWidth) / 2, area.y() + (area.height() - kHeight) / 2);
}

void SplashWindow::onFadeTick() {
    if (finished_)
        return;
    setWindowAlpha(this, splash::fadeOpacity(fadeCounter_));
    fadeCounter_ += splash::kCounterStep;
    if (fadeCounter_ < splash::kCounterEnd)
        return;
    finished_ = true;
    fadeTimer_->setInterval(0);
    indicatorTimer_->setInterval(0);
    // The splash stays on screen while the main window runs its start-up work.
    if (openMainWindow_)
        openMainWindow_();
    hide();
    deleteLater();
}

void SplashWindow::onIndicatorTick() {
    indicatorLabel_->setText(splash::nextIndicator(indicatorLabel_->text()));
    indicatorLabel_->repaint();
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}

void SplashWindow::closeEvent(QCloseEvent* event) {
    // The only way out of the splash is the end of the fade-in.
    if (!finished_)
        event->ignore();
}
