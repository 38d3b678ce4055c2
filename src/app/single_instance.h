#pragma once

#include <QLockFile>
#include <QObject>
#include <memory>

class QLocalServer;

// One program per program directory: two programs on one directory would
// write the same record files. The first start claims the directory; a later
// start asks the running program to come forward and ends. Programs on
// different directories run side by side.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `runtimeDir` holds the lock and the socket (the user's runtime folder).
    SingleInstance(const QString& programDir, const QString& runtimeDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the directory's first program; it then listens for
    // later starts. A lock left by a program that died is taken over.
    bool claim();
    // From a later start: asks the running program to come forward. False
    // when it could not be reached within `timeoutMs`.
    bool activateRunning(int timeoutMs = 5000);

signals:
    // A later start asked for the main window.
    void activationRequested();

private:
    void onConnection();

    QString socketPath_;
    QLockFile lock_;
    QLocalServer* server_ = nullptr;
};
