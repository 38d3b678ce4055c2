#pragma once

#include "platform/notifications.h"

#include <QDBusConnection>
#include <QList>

class QDBusServiceWatcher;

// Notifications through the freedesktop notification service
// (org.freedesktop.Notifications) on the session bus: the one every desktop
// and notification daemon serves, with its own do-not-disturb.
class DBusNotifications : public Notifications {
    Q_OBJECT
public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";

    // On the user's session bus; tests hand a bus of their own.
    explicit DBusNotifications(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                               QObject* parent = nullptr);

    bool isAvailable() const override { return reason_.isEmpty(); }
    QString unavailableReason() const override { return reason_; }
    bool show(const Note& note) override;

private slots:
    void onActionInvoked(uint id, const QString& key);
    void onClosed(uint id, uint reason);

private:
    // Asks the bus whether the service is there, or can be started.
    void lookUp();
    void setReason(const QString& reason);

    QDBusConnection bus_;
    QDBusServiceWatcher* watcher_ = nullptr;
    QString reason_;
    // Our notes still open, the newest last; others' actions are not ours.
    QList<uint> open_;
};
