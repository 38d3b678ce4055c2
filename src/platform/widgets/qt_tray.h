#pragma once

#include "platform/tray.h"

#include <QPointer>
#include <QSystemTrayIcon>

// Tray over QSystemTrayIcon, created when the icon is first shown.
class QtTray : public Tray {
    Q_OBJECT
public:
    using Tray::Tray;

    bool isAvailable() const override;
    void show(const QIcon& icon, const QString& toolTip) override;
    void hide() override;
    bool isShown() const override;
    void showMessage(const QString& title, const QString& text) override;
    void setContextMenu(QMenu* menu) override;

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon* icon_ = nullptr;
    QPointer<QMenu> menu_;
};
