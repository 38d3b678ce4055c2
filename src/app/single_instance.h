#pragma once

#include <QList>
#include <QLockFile>
#include <QObject>

class QLocalServer;
class QLocalSocket;

// One program per program directory: two programs on one directory would
// write the same record files. The first start claims the directory; a later
// start asks the running program to come forward and ends. Programs on
// different directories run side by side.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Claimed,    // this is the directory's program; it listens for later starts
        Activated,  // a running program answered and was asked forward
        Unanswered, // a live program holds the lock but did not answer
        Refused,    // the lock or the socket cannot be made; problem() says why
    };
    Q_ENUM(Outcome)

    // Later starts connected at once; beyond this the oldest makes room.
    static constexpr int kMaxConnections = 8;
    // A later start says what it wants at once; a connection is closed after this.
    static constexpr int kConnectionLifeMs = 1000;

    // `runtimeDir` holds the lock and the socket: a folder of the user's own
    // (runtimedir::locate()).
    SingleInstance(const QString& programDir, const QString& runtimeDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Claims the directory, or asks its running program forward. A lock that no
    // program answers for within `answerTimeoutMs` (empty, junk, another
    // host's, a dead program's) is taken over.
    Outcome start(int answerTimeoutMs = 1000);
    // For the user, after Refused.
    QString problem() const { return problem_; }

    // Connections open now (tests).
    int connectionCount() const { return int(connections_.size()); }
    void setConnectionLife(int ms) { connectionLifeMs_ = ms; }

signals:
    // A later start asked for the main window.
    void activationRequested();

private:
    bool activateRunning(int timeoutMs);
    Outcome listen();
    Outcome refuse(const QString& problem);
    void onConnection();
    void serve(QLocalSocket* socket);
    void drop(QLocalSocket* socket);

    QString runtimeDir_;
    QString socketPath_;
    QString lockPath_;
    QLockFile lock_;
    QLocalServer* server_ = nullptr;
    QList<QLocalSocket*> connections_;
    int connectionLifeMs_ = kConnectionLifeMs;
    QString problem_;
};
