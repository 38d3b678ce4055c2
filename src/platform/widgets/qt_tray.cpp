#include "qt_tray.h"

#include <QMenu>

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

void QtTray::showMessage(const QString& title, const QString& text) {
    if (isShown())
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
