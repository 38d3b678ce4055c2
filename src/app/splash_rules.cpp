#include "splash_rules.h"

#include "core/text_rules.h"

#include <algorithm>
#include <array>

namespace splash {

int fadeOpacity(int counter) {
    return static_cast<int>(std::clamp<qint64>(toIntTrunc(counter * 5.0), 0, 255));
}

QString nextIndicator(const QString& caption) {
    static const std::array<QString, 5> cycle = {
        QStringLiteral("■ □ □ □ □"), QStringLiteral("□ ■ □ □ □"), QStringLiteral("□ □ ■ □ □"),
        QStringLiteral("□ □ □ ■ □"), QStringLiteral("□ □ □ □ ■"),
    };
    for (size_t i = 0; i < cycle.size(); ++i) {
        if (textCompare(caption, cycle[i]) == 0)
            return cycle[(i + 1) % cycle.size()];
    }
    return caption;
}

} // namespace splash
