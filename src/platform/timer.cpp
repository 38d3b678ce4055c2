#include "timer.h"

#include "time_scale.h"

Timer::Timer(QObject* parent, const QString& designName, int intervalMs) : QObject(parent) {
    setObjectName(designName);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Timer::timeout);
    setInterval(intervalMs);
}

void Timer::setInterval(int ms) {
    if (ms <= 0) {
        timer_.stop();
        return;
    }
    requestedMs_ = ms;
    timer_.start(timescale::scaled(ms));
}

int Timer::interval() const {
    // The program's own figure, also when a soak runs it faster.
    return timer_.isActive() ? requestedMs_ : 0;
}

void Timer::tick() {
    emit timeout();
}
