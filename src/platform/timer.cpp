#include "timer.h"

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
    timer_.start(ms);
}

int Timer::interval() const {
    return timer_.isActive() ? timer_.interval() : 0;
}

void Timer::tick() {
    emit timeout();
}
