#include "fake_notification_service.h"

#include <QDBusArgument>
#include <QDeadlineTimer>
#include <QFile>

namespace {

constexpr auto kService = "org.freedesktop.Notifications";
constexpr auto kPath = "/org/freedesktop/Notifications";

} // namespace

PrivateBus::PrivateBus() {
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder for the bus");
        return;
    }
    // Anyone on the bus may own any name and call anything: it is the test's alone.
    const QString config = dir_.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN\" "
                   "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n<busconfig>\n"
                   "<type>session</type>\n<listen>unix:dir=" +
                   QFile::encodeName(dir_.path()) +
                   "</listen>\n<auth>EXTERNAL</auth>\n"
                   "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                   "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>\n</busconfig>\n") < 0) {
        error_ = QStringLiteral("cannot write %1").arg(config);
        return;
    }
    file.close();
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                   QStringLiteral("--print-address")});
    if (!daemon_.waitForStarted(5000)) {
        error_ = QStringLiteral("dbus-daemon did not start (scripts/install-deps installs it)");
        return;
    }
    const QDeadlineTimer deadline(10000);
    while (!daemon_.canReadLine() && !deadline.hasExpired() && daemon_.state() == QProcess::Running)
        daemon_.waitForReadyRead(200);
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    if (address_.isEmpty())
        error_ = QStringLiteral("dbus-daemon printed no address: ") +
                 QString::fromUtf8(daemon_.readAllStandardError());
}

PrivateBus::~PrivateBus() {
    for (const QString& name : std::as_const(connections_))
        QDBusConnection::disconnectFromBus(name);
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.terminate();
        if (!daemon_.waitForFinished(5000))
            daemon_.kill();
        daemon_.waitForFinished(5000);
    }
}

QDBusConnection PrivateBus::connect(const QString& name) {
    connections_.append(name);
    return QDBusConnection::connectToBus(address_, name);
}

int FakeNotificationService::Note::urgency() const {
    const QVariant value = hints.value(QStringLiteral("urgency"));
    return value.isValid() ? value.toInt() : -1;
}

bool FakeNotificationService::Note::hasImage() const {
    const QVariant image = hints.value(QStringLiteral("image-data"));
    if (!image.canConvert<QDBusArgument>())
        return false;
    // iiibiiay: width, height, stride, alpha, bits, channels, the bytes.
    const QDBusArgument argument = image.value<QDBusArgument>();
    int width = 0, height = 0, stride = 0, bits = 0, channels = 0;
    bool alpha = false;
    QByteArray bytes;
    argument.beginStructure();
    argument >> width >> height >> stride >> alpha >> bits >> channels >> bytes;
    argument.endStructure();
    return width > 0 && height > 0 && bytes.size() == qsizetype(stride) * height;
}

FakeNotificationService::FakeNotificationService(const QDBusConnection& bus) : bus_(bus) {
    registered_ = bus_.registerObject(QString::fromLatin1(kPath), this,
                                      QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) &&
                  bus_.registerService(QString::fromLatin1(kService));
}

FakeNotificationService::~FakeNotificationService() {
    bus_.unregisterService(QString::fromLatin1(kService));
    bus_.unregisterObject(QString::fromLatin1(kPath));
}

void FakeNotificationService::invoke(uint id, const QString& key) {
    emit ActionInvoked(id, key);
}

uint FakeNotificationService::Notify(const QString& appName, uint replacesId, const QString&,
                                     const QString& summary, const QString& body, const QStringList& actions,
                                     const QVariantMap& hints, int expireTimeout) {
    const uint id = replacesId ? replacesId : nextId_++;
    notes.append({id, appName, summary, body, actions, hints, expireTimeout});
    return id;
}

QStringList FakeNotificationService::GetCapabilities() {
    return {QStringLiteral("actions"), QStringLiteral("body")};
}

void FakeNotificationService::CloseNotification(uint id) {
    emit NotificationClosed(id, 3);
}

QString FakeNotificationService::GetServerInformation(QString& vendor, QString& version,
                                                      QString& specVersion) {
    vendor = QStringLiteral("Aurivex tests");
    version = QStringLiteral("1");
    specVersion = QStringLiteral("1.2");
    return QStringLiteral("fake-notifications");
}
