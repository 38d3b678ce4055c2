#pragma once

#include <QObject>
#include <QTimer>

// A timer with the program's semantics: an interval starts it, 0 stops it.
// Every timer carries its design name as objectName so it can be found and
// inspected; tests drive it with tick() instead of waiting.
class Timer : public QObject {
    Q_OBJECT
public:
    Timer(QObject* parent, const QString& designName, int intervalMs = 0);

    // Any positive interval starts (or restarts) the timer; 0 stops it.
    void setInterval(int ms);
    // The running interval, 0 while stopped.
    int interval() const;
    bool isRunning() const { return timer_.isActive(); }

public slots:
    // Runs the handlers at once, as a timeout would.
    void tick();

signals:
    void timeout();

private:
    QTimer timer_;
    int requestedMs_ = 0;
};
