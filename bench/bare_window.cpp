// The floor for the start-up benchmark: a bare Qt Widgets window, started
// and watched the way the program is.
#include "diagnostics/diagnostics.h"
#include "diagnostics/ui_watchdog.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString watchdogPath = Diagnostics::fromEnvironment().uiWatchdogPath;
    UiWatchdog* watchdog = watchdogPath.isEmpty() ? nullptr : new UiWatchdog(watchdogPath, &app);
    QWidget window;
    window.resize(1000, 700);
    window.show();
    QTimer::singleShot(0, [watchdog] {
        std::printf("aurivex-trace splash-shown\naurivex-trace main-window-created\n");
        std::fflush(stdout);
        if (watchdog)
            QTimer::singleShot(1000, watchdog, [watchdog] { watchdog->startCounting(); });
    });
    return app.exec();
}
