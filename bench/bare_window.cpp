// The floor for the start-up benchmark: a bare Qt Widgets window with one
// label (so it starts the font machinery, as any window with a word in it
// must), started and watched the way the program is. With an argument
// "--empty" it shows no label.
#include "diagnostics/diagnostics.h"
#include "diagnostics/ui_watchdog.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString watchdogPath = Diagnostics::fromEnvironment().uiWatchdogPath;
    UiWatchdog* watchdog = watchdogPath.isEmpty() ? nullptr : new UiWatchdog(watchdogPath, &app);
    QWidget window;
    window.resize(1000, 700);
    if (!app.arguments().contains(QLatin1String("--empty")))
        (new QLabel(QStringLiteral("纸黄金行情"), &window))->move(20, 20);
    window.show();
    QTimer::singleShot(0, [watchdog] {
        std::printf("aurivex-trace splash-shown\naurivex-trace main-window-created\n");
        std::fflush(stdout);
        if (watchdog)
            QTimer::singleShot(1000, watchdog, [watchdog] { watchdog->startCounting(); });
    });
    return app.exec();
}
