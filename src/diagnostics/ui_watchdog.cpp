#include "ui_watchdog.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTimerEvent>
#include <algorithm>
#include <ctime>

namespace {
constexpr int kPeriodMs = 5;
constexpr int kBuckets = 10000; // 0.1 ms each: up to one second

// CPU time of the calling thread.
qint64 threadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}
} // namespace

UiWatchdog::UiWatchdog(const QString& path, QObject* parent)
    : QObject(parent), writer_(path), buckets_(kBuckets + 1, 0) {
    clock_.start();
    tickTimer_ = startTimer(kPeriodMs, Qt::PreciseTimer);
    writeTimer_ = startTimer(1000);
}

void UiWatchdog::startCounting() {
    counting_ = true;
    lastTickNs_ = countingSinceNs_ = clock_.nsecsElapsed();
    lastCpuNs_ = threadCpuNs();
}

void UiWatchdog::timerEvent(QTimerEvent* event) {
    if (event->timerId() == writeTimer_) {
        writer_.replaceLater(figures());
        return;
    }
    if (event->timerId() != tickTimer_)
        return;
    const qint64 now = clock_.nsecsElapsed();
    const qint64 cpu = threadCpuNs();
    if (counting_) {
        const double lateMs = std::max(0.0, (now - lastTickNs_) / 1e6 - kPeriodMs);
        if (lateMs > longestMs_) {
            longestMs_ = lateMs;
            longestAtMs_ = (now - countingSinceNs_) / 1e6;
            longestCpuMs_ = (cpu - lastCpuNs_) / 1e6;
        }
        ++buckets_[std::min<qint64>(kBuckets, qint64(lateMs * 10))];
        ++ticks_;
    }
    lastTickNs_ = now;
    lastCpuNs_ = cpu;
}

QByteArray UiWatchdog::figures() const {
    double p99 = 0;
    qint64 seen = 0;
    for (int i = 0; i <= kBuckets && ticks_ > 0; ++i) {
        seen += buckets_[size_t(i)];
        if (seen * 100 >= ticks_ * 99) {
            p99 = i == kBuckets ? longestMs_ : (i + 1) / 10.0;
            break;
        }
    }
    const QJsonObject values{{QStringLiteral("ticks"), ticks_},
                             {QStringLiteral("longestStallMs"), longestMs_},
                             {QStringLiteral("longestStallAtMs"), longestAtMs_},
                             {QStringLiteral("longestStallCpuMs"), longestCpuMs_},
                             {QStringLiteral("p99Ms"), p99}};
    return QJsonDocument(values).toJson(QJsonDocument::Compact);
}

void UiWatchdog::write() {
    writer_.replaceNow(figures());
}
