#pragma once

#include "diagnostics/snapshot_file.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <vector>

// A 5 ms timer on the user-interface
// thread measures how late each of its ticks runs once start-up is over, and
// writes the figures to that file (JSON: ticks, longestStallMs, p99Ms, and
// when the longest stall ended and how much of it the thread spent running,
// to tell its own work from waits) every second and at exit, for the
// benchmark.
class UiWatchdog : public QObject {
public:
    UiWatchdog(const QString& path, QObject* parent);
    // Start-up is over: lateness counts from here.
    void startCounting();
    // Writes the figures here and now.
    void write();

private:
    void timerEvent(QTimerEvent* event) override;
    QByteArray figures() const;

    SnapshotWriter writer_;
    QElapsedTimer clock_;
    qint64 lastTickNs_ = 0;
    qint64 lastCpuNs_ = 0;
    qint64 countingSinceNs_ = 0;
    bool counting_ = false;
    int tickTimer_ = 0;
    int writeTimer_ = 0;
    // Ticks by lateness in 0.1 ms steps; the last bucket holds everything later.
    std::vector<qint64> buckets_;
    qint64 ticks_ = 0;
    double longestMs_ = 0;
    double longestAtMs_ = 0;
    double longestCpuMs_ = 0;
};
