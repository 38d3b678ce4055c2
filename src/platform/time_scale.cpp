#include "time_scale.h"

#include <QtGlobal>
#include <algorithm>

namespace timescale {

namespace {
constexpr int kFastestMs = 500;
constexpr int kMaxSpeed = 1000;
} // namespace

int speed() {
    static const int value = [] {
        bool valid = false;
        const int given = qEnvironmentVariableIntValue("AURIVEX_SOAK_SPEED", &valid);
        return valid ? std::clamp(given, 1, kMaxSpeed) : 1;
    }();
    return value;
}

bool accelerated() {
    return speed() > 1;
}

int scaled(int ms) {
    return scaled(ms, speed());
}

int scaled(int ms, int speed) {
    if (speed <= 1 || ms <= 0)
        return ms;
    return std::max(ms / speed, std::min(ms, kFastestMs));
}

} // namespace timescale
