#include "time_scale.h"

#include <algorithm>

namespace timescale {

namespace {
constexpr int kFastestMs = 500;
int current = 1;
} // namespace

void setSpeed(int speed) {
    current = std::clamp(speed, 1, kMaxSpeed);
}

int speed() {
    return current;
}

bool accelerated() {
    return current > 1;
}

int scaled(int ms) {
    return scaled(ms, current);
}

int scaled(int ms, int speed) {
    if (speed <= 1 || ms <= 0)
        return ms;
    return std::max(ms / speed, std::min(ms, kFastestMs));
}

} // namespace timescale
