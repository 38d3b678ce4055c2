#include "diagnostics.h"

#include "platform/time_scale.h"

#include <algorithm>

Diagnostics Diagnostics::fromEnvironment() {
    return from(QProcessEnvironment::systemEnvironment());
}

Diagnostics Diagnostics::from(const QProcessEnvironment& environment) {
    const auto value = [&environment](const char* name) { return environment.value(QLatin1String(name)); };
    Diagnostics asked;
    asked.stateDumpPath = value("AURIVEX_STATE_DUMP");
    asked.uiWatchdogPath = value("AURIVEX_UI_WATCHDOG");
    bool seeded = false;
    const quint32 seed = value("AURIVEX_TRADE_DRILL").toUInt(&seeded);
    if (seeded)
        asked.tradeDrillSeed = seed;
    // Decimal, or hexadecimal and octal by their prefixes, as Qt reads a number variable.
    bool fast = false;
    const int speed = value("AURIVEX_SOAK_SPEED").toLatin1().toInt(&fast, 0);
    if (fast)
        asked.soakSpeed = std::clamp(speed, 1, timescale::kMaxSpeed);
    asked.startupTrace = environment.contains(QStringLiteral("AURIVEX_STARTUP_TRACE"));
    asked.newsTrace = environment.contains(QStringLiteral("AURIVEX_NEWS_TRACE"));
    return asked;
}
