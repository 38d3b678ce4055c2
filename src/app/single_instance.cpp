#include "single_instance.h"

#include "app/desktop_rules.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

const QByteArray kActivate = "activate\n";
constexpr qint64 kMaxRequestBytes = 64;

} // namespace

SingleInstance::SingleInstance(const QString& programDir, const QString& runtimeDir, QObject* parent)
    : QObject(parent),
      socketPath_(runtimeDir + u'/' + desktop::instanceKey(programDir) + QStringLiteral(".socket")),
      lock_(runtimeDir + u'/' + desktop::instanceKey(programDir) + QStringLiteral(".lock")) {
    QDir().mkpath(runtimeDir);
    // A program that runs for days keeps its lock however old it grows.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (server_)
        server_->close();
}

bool SingleInstance::claim() {
    // The lock, not the socket, decides: two programs starting at the same
    // moment cannot both take it, while either could remove the other's socket.
    if (!lock_.tryLock(0))
        return false;
    QLocalServer::removeServer(socketPath_); // left behind by a program that died
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
    // Without the socket the program still runs; a later start then only finds the lock.
    server_->listen(socketPath_);
    return true;
}

bool SingleInstance::activateRunning(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    // The running program may hold the lock a moment before it listens.
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(socketPath_);
        if (socket.waitForConnected(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) {
            socket.write(kActivate);
            const bool sent =
                socket.waitForBytesWritten(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
            socket.disconnectFromServer();
            return sent;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
}

void SingleInstance::onConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // Only the one request is understood; anything longer is no request of ours.
            if (socket->bytesAvailable() > kMaxRequestBytes) {
                socket->abort();
                return;
            }
            if (!socket->canReadLine())
                return;
            if (socket->readLine(kMaxRequestBytes) == kActivate)
                emit activationRequested();
            socket->disconnectFromServer();
        });
    }
}
