#include "single_instance.h"

#include "app/desktop_rules.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

namespace {

const QByteArray kActivate = "activate\n";
constexpr qint64 kMaxRequestBytes = 64;

QString takenByFolder(const QString& path) {
    return QStringLiteral("运行文件夹中的 %1 被一个文件夹占用，请删除它后重新运行软件。").arg(path);
}

} // namespace

SingleInstance::SingleInstance(const QString& programDir, const QString& runtimeDir, QObject* parent)
    : QObject(parent), runtimeDir_(runtimeDir),
      socketPath_(runtimeDir + u'/' + desktop::instanceKey(programDir) + QStringLiteral(".socket")),
      lockPath_(runtimeDir + u'/' + desktop::instanceKey(programDir) + QStringLiteral(".lock")),
      lock_(lockPath_) {
    // A program that runs for days keeps its lock however old it grows.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (server_)
        server_->close();
}

SingleInstance::Outcome SingleInstance::start(int answerTimeoutMs) {
    // The lock, not the socket, decides: two programs starting at the same
    // moment cannot both take it, while either could remove the other's socket.
    if (!lock_.tryLock(0)) {
        if (QFileInfo(lockPath_).isDir())
            return refuse(takenByFolder(lockPath_));
        if (lock_.error() != QLockFile::LockFailedError)
            return refuse(QStringLiteral("无法在运行文件夹 %1 中建立锁文件（没有写入权限或磁盘已满），"
                                         "请检查后重新运行软件。")
                              .arg(runtimeDir_));
        // A lock file alone proves nothing: an empty one, junk, another host's
        // or a dead program's stays on disk. A running program answers.
        if (activateRunning(answerTimeoutMs))
            return Outcome::Activated;
        // Removal fails while a live process still holds the file's own lock,
        // one that has only just taken it or no longer serves its socket.
        if (!lock_.removeStaleLockFile() || !lock_.tryLock(0))
            return Outcome::Unanswered;
    }
    return listen();
}

SingleInstance::Outcome SingleInstance::listen() {
    if (QFileInfo(socketPath_).isDir())
        return refuse(takenByFolder(socketPath_));
    // Whatever else lies there was left by a program that died: the folder is the user's own.
    QLocalServer::removeServer(socketPath_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
    // Without the socket no later start could tell this program from a dead
    // one and would take the directory over.
    if (!server_->listen(socketPath_))
        return refuse(QStringLiteral("无法在运行文件夹 %1 中建立通信文件（%2），请检查后重新运行软件。")
                          .arg(runtimeDir_, server_->errorString()));
    return Outcome::Claimed;
}

SingleInstance::Outcome SingleInstance::refuse(const QString& problem) {
    problem_ = problem;
    delete server_;
    server_ = nullptr;
    if (lock_.isLocked())
        lock_.unlock();
    return Outcome::Refused;
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
        QThread::msleep(50);
    }
}

void SingleInstance::onConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // A later start always gets through: the oldest connection makes room.
        if (connections_.size() >= kMaxConnections)
            drop(connections_.first());
        connections_.append(socket);
        // A request may arrive together with the end of its connection.
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            serve(socket);
            drop(socket);
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { serve(socket); });
        QTimer::singleShot(connectionLifeMs_, socket, [this, socket] {
            // A request that came while the program was too busy to read it still counts.
            socket->waitForReadyRead(0);
            serve(socket);
            drop(socket);
        });
    }
}

void SingleInstance::serve(QLocalSocket* socket) {
    // Only the one request is understood; anything longer is no request of ours.
    if (socket->bytesAvailable() > kMaxRequestBytes) {
        drop(socket);
        return;
    }
    if (!socket->canReadLine())
        return;
    const bool activate = socket->readLine(kMaxRequestBytes) == kActivate;
    drop(socket);
    if (activate)
        emit activationRequested();
}

void SingleInstance::drop(QLocalSocket* socket) {
    if (!connections_.removeOne(socket))
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}
