#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <optional>

// What a run is asked to do for tests, benchmarks and diagnosis, read from
// the environment in this one place. Everything is off by default: a user's
// program writes nothing of it and runs at its own pace.
struct Diagnostics {
    // AURIVEX_STATE_DUMP: the file the state dump keeps rewriting.
    QString stateDumpPath;
    // AURIVEX_UI_WATCHDOG: the file of the user-interface thread's lateness figures.
    QString uiWatchdogPath;
    // AURIVEX_TRADE_DRILL: the random seed of the record-file drill.
    std::optional<quint32> tradeDrillSeed;
    // AURIVEX_SOAK_SPEED: how many times faster the slow timers and the HTTP
    // deadline run (1 to 1000); the state dump then tallies each caller's requests.
    int soakSpeed = 1;
    // AURIVEX_STARTUP_TRACE: start-up milestones on standard output.
    bool startupTrace = false;
    // AURIVEX_NEWS_TRACE: every step of the news headline on standard output.
    bool newsTrace = false;

    static Diagnostics fromEnvironment();
    static Diagnostics from(const QProcessEnvironment& environment);
};
