#pragma once

#include "platform/tray.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSystemTrayIcon>
#include <optional>
#include <utility>

class QTimer;

// Tray over QSystemTrayIcon, created when the icon is first shown.
class QtTray : public Tray {
    Q_OBJECT
public:
    using Tray::Tray;

    bool isAvailable() const override;
    void show(const QIcon& icon, const QString& toolTip) override;
    void hide() override;
    bool isShown() const override;
    bool reportsDoubleClicks() const override;
    void showMessage(const QString& title, const QString& text) override;
    void setContextMenu(QMenu* menu) override;

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void showMessageWhenDocked();

    QSystemTrayIcon* icon_ = nullptr;
    QPointer<QMenu> menu_;
    // A balloon waiting for the notification area to take the icon in.
    std::optional<std::pair<QString, QString>> pendingMessage_;
    QTimer* dockPoll_ = nullptr;
    QElapsedTimer dockWait_;
};
