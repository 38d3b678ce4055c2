#include "dbus_notifications.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

namespace {

constexpr const char* kInterface = "org.freedesktop.Notifications";
// Past this many our oldest notes are no longer followed: the desktop has
// surely closed them, and a lost "closed" signal must not grow the list.
constexpr qsizetype kFollowed = 64;
// What the urgency hint calls critical.
constexpr uchar kCritical = 2;
// The action a click on the note itself invokes.
const QString kDefaultAction = QStringLiteral("default");

// The "image-data" hint: width, height, row stride, alpha, bits per sample,
// channels and the RGBA bytes (iiibiiay).
struct ImageData {
    QImage image;
};

QDBusArgument& operator<<(QDBusArgument& argument, const ImageData& data) {
    const QImage rgba = data.image.convertToFormat(QImage::Format_RGBA8888);
    argument.beginStructure();
    argument << rgba.width() << rgba.height() << int(rgba.bytesPerLine()) << true << 8 << 4
             << QByteArray(reinterpret_cast<const char*>(rgba.constBits()), rgba.sizeInBytes());
    argument.endStructure();
    return argument;
}

// Never received; QtDBus asks for both directions.
const QDBusArgument& operator>>(const QDBusArgument& argument, ImageData&) {
    return argument;
}

QString noBus() {
    return QStringLiteral("没有桌面会话总线（D-Bus），无法显示桌面通知");
}

QString noService() {
    return QStringLiteral("桌面没有通知服务（org.freedesktop.Notifications），无法显示桌面通知");
}

} // namespace

Q_DECLARE_METATYPE(ImageData)

DBusNotifications::DBusNotifications(const QDBusConnection& bus, QObject* parent)
    : Notifications(parent), bus_(bus) {
    qDBusRegisterMetaType<ImageData>();
    if (!bus_.isConnected()) {
        reason_ = noBus();
        return;
    }
    // A notification daemon that starts after the program (an autostarted
    // program often comes first) makes the channel usable then.
    watcher_ = new QDBusServiceWatcher(QString::fromLatin1(kService), bus_,
                                       QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] { lookUp(); });
    bus_.connect(QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
                 QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
    bus_.connect(QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
                 QStringLiteral("NotificationClosed"), this, SLOT(onClosed(uint, uint)));
    lookUp();
}

void DBusNotifications::lookUp() {
    const QString service = QString::fromLatin1(kService);
    QDBusConnectionInterface* bus = bus_.interface();
    // A service the bus starts on demand counts as there.
    const bool there = bus && (bus->isServiceRegistered(service).value() ||
                               bus->activatableServiceNames().value().contains(service));
    setReason(there ? QString() : noService());
}

void DBusNotifications::setReason(const QString& reason) {
    const bool was = isAvailable();
    reason_ = reason;
    if (was != isAvailable())
        emit availabilityChanged(isAvailable());
}

bool DBusNotifications::show(const Note& note) {
    if (!isAvailable())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(note.critical ? kCritical : uchar(1)));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("aurivex"));
    if (!note.icon.isNull())
        hints.insert(QStringLiteral("image-data"), QVariant::fromValue(ImageData{note.icon}));
    QStringList actions;
    if (!note.action.isEmpty())
        actions << kDefaultAction << note.action;
    // No expiry of our own: the desktop keeps a critical note until it is dismissed.
    call << QStringLiteral("Aurivex") << uint(0) << QStringLiteral("aurivex") << note.title << note.body
         << actions << hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, 5000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        const QDBusPendingReply<uint> reply = *done;
        if (reply.isError()) {
            // A daemon that could not be started, or went: the channel says so
            // until one is there again.
            const QDBusError error = reply.error();
            if (error.type() == QDBusError::ServiceUnknown ||
                error.name().startsWith(QLatin1String("org.freedesktop.DBus.Error.Spawn")))
                setReason(noService());
            return;
        }
        open_.append(reply.value());
        if (open_.size() > kFollowed)
            open_.removeFirst();
    });
    return true;
}

void DBusNotifications::onActionInvoked(uint id, const QString&) {
    // Any action of ours, the note itself or its button, brings the program forward.
    if (open_.contains(id))
        emit actionInvoked();
}

void DBusNotifications::onClosed(uint id, uint) {
    open_.removeAll(id);
}
