#include "qt_tray.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>

namespace {

constexpr int kDockPollMs = 50;
// A notification area that has not taken the icon in by then never will:
// the balloon shows where Qt puts it.
constexpr int kDockWaitMs = 3000;

// Qt's own icon for an XEmbed notification area, a window of its own;
// there is none where a StatusNotifierItem host shows the icon.
const QWidget* embeddedIcon() {
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("QSystemTrayIconSys"))
            return window;
    }
    return nullptr;
}

} // namespace

bool QtTray::isAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTray::show(const QIcon& icon, const QString& toolTip) {
    if (!icon_) {
        icon_ = new QSystemTrayIcon(this);
        icon_->setContextMenu(menu_);
        connect(icon_, &QSystemTrayIcon::activated, this, &QtTray::onActivated);
    }
    icon_->setIcon(icon);
    icon_->setToolTip(toolTip);
    icon_->show();
}

void QtTray::hide() {
    if (icon_)
        icon_->hide();
}

bool QtTray::isShown() const {
    return icon_ && icon_->isVisible();
}

bool QtTray::reportsDoubleClicks() const {
    return isShown() && embeddedIcon();
}

void QtTray::showMessage(const QString& title, const QString& text) {
    if (!isShown())
        return;
    pendingMessage_ = {title, text};
    dockWait_.start();
    showMessageWhenDocked();
}

void QtTray::showMessageWhenDocked() {
    if (!pendingMessage_ || !isShown()) {
        pendingMessage_.reset();
        return;
    }
    // An XEmbed icon starts as a window of its own at the screen's corner;
    // the balloon, placed at the icon, waits until the notification area
    // has taken the icon in and it stands where the user sees it.
    const bool docked = !embeddedIcon() || icon_->geometry().topLeft() != QPoint(0, 0);
    if (!docked && !dockWait_.hasExpired(kDockWaitMs)) {
        if (!dockPoll_) {
            dockPoll_ = new QTimer(this);
            dockPoll_->setSingleShot(true);
            connect(dockPoll_, &QTimer::timeout, this, &QtTray::showMessageWhenDocked);
        }
        dockPoll_->start(kDockPollMs);
        return;
    }
    const auto [title, text] = *std::exchange(pendingMessage_, std::nullopt);
    icon_->showMessage(title, text, QSystemTrayIcon::NoIcon);
}

void QtTray::setContextMenu(QMenu* menu) {
    menu_ = menu;
    if (icon_)
        icon_->setContextMenu(menu);
}

void QtTray::onActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        emit activated(Activation::Click);
        return;
    case QSystemTrayIcon::DoubleClick:
        emit activated(Activation::DoubleClick);
        return;
    case QSystemTrayIcon::Context:
        emit activated(Activation::ContextMenu);
        return;
    case QSystemTrayIcon::MiddleClick:
        emit activated(Activation::MiddleClick);
        return;
    case QSystemTrayIcon::Unknown:
        return;
    }
}
