#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

// A session bus of the test's own: a dbus-daemon on a socket in a private
// folder, with no service files, so nothing on it is ever started on demand
// and the desktop's own bus is never touched. Stopped when destroyed.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();

    // Empty when the bus runs; else why not.
    QString error() const { return error_; }
    // The address to hand a program as DBUS_SESSION_BUS_ADDRESS.
    QString address() const { return address_; }
    // A connection of its own to the bus, named `name` in this process.
    QDBusConnection connect(const QString& name);

private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
    QString error_;
    QStringList connections_;
};

// org.freedesktop.Notifications on a bus, as a notification daemon serves
// it, recording every note it is asked to show and showing none.
class FakeNotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Note {
        uint id;
        QString appName;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int expireTimeout;
        // The urgency hint: 0 low, 1 normal, 2 critical, -1 none.
        int urgency() const;
        // Whether the note carries a picture of its own ("image-data").
        bool hasImage() const;
    };

    // Registers on `bus`; registered() says whether the bus gave the name.
    explicit FakeNotificationService(const QDBusConnection& bus);
    ~FakeNotificationService() override;
    bool registered() const { return registered_; }

    QList<Note> notes;

    // The user chose `key` on note `id`.
    void invoke(uint id, const QString& key);

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout);
    QStringList GetCapabilities();
    void CloseNotification(uint id);
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion);

signals:
    void ActionInvoked(uint id, const QString& actionKey);
    void NotificationClosed(uint id, uint reason);

private:
    QDBusConnection bus_;
    bool registered_ = false;
    uint nextId_ = 1;
};
