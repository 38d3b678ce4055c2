#include "ui_watchdog.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTimerEvent>
#include <algorithm>

namespace {
constexpr int kPeriodMs = 5;
constexpr int kBuckets = 10000; // 0.1 ms each: up to one second
} // namespace

UiWatchdog* UiWatchdog::startIfAsked(QObject* parent) {
    const QString path = qEnvironmentVariable("AURIVEX_UI_WATCHDOG");
    return path.isEmpty() ? nullptr : new UiWatchdog(path, parent);
}

UiWatchdog::UiWatchdog(const QString& path, QObject* parent)
    : QObject(parent), path_(path), buckets_(kBuckets + 1, 0) {
    clock_.start();
    tickTimer_ = startTimer(kPeriodMs, Qt::PreciseTimer);
    writeTimer_ = startTimer(1000);
}

void UiWatchdog::startCounting() {
    counting_ = true;
    lastTickNs_ = clock_.nsecsElapsed();
}

void UiWatchdog::timerEvent(QTimerEvent* event) {
    if (event->timerId() == writeTimer_) {
        write();
        return;
    }
    if (event->timerId() != tickTimer_)
        return;
    const qint64 now = clock_.nsecsElapsed();
    if (counting_) {
        const double lateMs = std::max(0.0, (now - lastTickNs_) / 1e6 - kPeriodMs);
        longestMs_ = std::max(longestMs_, lateMs);
        ++buckets_[std::min<qint64>(kBuckets, qint64(lateMs * 10))];
        ++ticks_;
    }
    lastTickNs_ = now;
}

void UiWatchdog::write() const {
    double p99 = 0;
    qint64 seen = 0;
    for (int i = 0; i <= kBuckets && ticks_ > 0; ++i) {
        seen += buckets_[size_t(i)];
        if (seen * 100 >= ticks_ * 99) {
            p99 = i == kBuckets ? longestMs_ : (i + 1) / 10.0;
            break;
        }
    }
    const QJsonObject figures{{QStringLiteral("ticks"), ticks_},
                              {QStringLiteral("longestStallMs"), longestMs_},
                              {QStringLiteral("p99Ms"), p99}};
    QSaveFile file(path_);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(figures).toJson(QJsonDocument::Compact));
        file.commit();
    }
}
