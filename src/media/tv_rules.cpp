#include "tv_rules.h"

#include "core/text_rules.h"

#include <cmath>
#include <cstdlib>

namespace tvrules {

int volumeLevel(int position) {
    return static_cast<int>(toIntTrunc(std::abs(position - 100) * 655.35));
}

int volumePercent(int position) {
    return static_cast<int>(std::lround(volumeLevel(position) * 100.0 / 65535.0));
}

QString volumeTooltip(int position) {
    return QString::number(101 - position);
}

} // namespace tvrules
