#include "app/desktop_rules.h"
#include "app/main_window.h"
#include "app/qt_services.h"
#include "app/single_instance.h"
#include "app/splash_window.h"
#include "core/app_dir.h"
#include "core/demo_feed.h"
#include "core/endpoints.h"
#include "core/runtime_dir.h"
#include "diagnostics/probes.h"
#include "platform/dialogs.h"
#include "platform/network/demo_portal_process.h"
#include "platform/services.h"
#include "platform/time_scale.h"
#include "ui/app_art.h"
#include "ui/fonts.h"
#include "ui/translations.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

// A first start shows prices with nothing else installed: when the endpoints
// name the demo address and nothing answers there, the program starts the
// demo portal beside it on a port of its own. A user whose endpoints name
// other hosts never gets one.
void startDemoPortalIfNeeded(DemoPortalProcess& portal) {
    const QString demo = demofeed::defaultAddress();
    if (!endpoints::Endpoints::load().names(demo) || DemoPortalProcess::answers(demo, 1000))
        return;
    const QString program = DemoPortalProcess::locate(QCoreApplication::applicationDirPath());
    if (!portal.start(program))
        std::fprintf(stderr, "aurivex: nothing answers at %s and the demo portal %s could not be started\n",
                     qPrintable(demo), program.isEmpty() ? "(not installed)" : qPrintable(program));
}

// Before the first window reads an endpoint: the portal has had the splash's
// time to start, so this rarely waits.
void useDemoPortal(DemoPortalProcess& portal) {
    if (!portal.started())
        return;
    const QString address = portal.address(10000);
    if (address.isEmpty())
        std::fprintf(stderr, "aurivex: the demo portal did not start listening\n");
    else
        demofeed::redirectTo(address);
}

// Under Wayland the floating windows could neither place themselves nor stay
// on top: run through XWayland unless the user chose a platform.
void choosePlatform(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString platform = desktop::forcedPlatform(
        qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("XDG_SESSION_TYPE"),
        qEnvironmentVariable("WAYLAND_DISPLAY"), qEnvironmentVariable("DISPLAY"), arguments);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform.toLocal8Bit());
}

// A program that cannot tell whether it already runs does not start: a
// second one on the same directory would write the same record files. Started
// from the menu there is no terminal, so the reason also shows in a box.
int refuseToStart(Dialogs& dialogs, const QString& problem) {
    std::fprintf(stderr, "Aurivex: %s\n", qPrintable(problem));
    dialogs.message(nullptr, problem, QStringLiteral("友情提示："), Dialogs::Icon::Warning);
    return 1;
}

// The application object as the desktop and the windows expect it.
void setUpApplication(QApplication& app) {
    app.setApplicationName(QStringLiteral("Aurivex"));
    // Desktops find the launcher and its icon by this name.
    app.setDesktopFileName(QStringLiteral("aurivex"));
    app.setWindowIcon(appart::windowIcon());
    // Only the main window's end ends the program; the splash closing must not.
    app.setQuitOnLastWindowClosed(false);
    installFontSubstitutions();
    installChineseTranslations();
    app.setFont(QFont(QStringLiteral("宋体"), 9));
    // There is no "TaskbarCreated" message to register: Qt's tray icon
    // re-registers itself when the desktop shell restarts.
}

// One program per directory: a second start brings the first one forward and
// ends. Null, with the exit code set, when this one must not run.
std::unique_ptr<SingleInstance> claimDirectory(Dialogs& dialogs, int& exitCode) {
    const runtimedir::Location runtime = runtimedir::locate();
    if (runtime.path.isEmpty()) {
        exitCode = refuseToStart(dialogs, runtime.problem);
        return nullptr;
    }
    auto instance = std::make_unique<SingleInstance>(QDir(appDir()).canonicalPath(), runtime.path);
    exitCode = 0;
    switch (instance->start()) {
    case SingleInstance::Outcome::Claimed:
        return instance;
    case SingleInstance::Outcome::Activated:
        break;
    case SingleInstance::Outcome::Unanswered:
        std::fprintf(stderr, "Aurivex is already running from this directory.\n");
        break;
    case SingleInstance::Outcome::Refused:
        exitCode = refuseToStart(dialogs, instance->problem());
        break;
    }
    return nullptr;
}

// The splash, then the main window, until the program ends.
int runWindows(Services& services, Probes& probes, SingleInstance& instance, DemoPortalProcess& demoPortal,
               const QString& startAddress) {
    QPointer<MainWindow> mainWindow;
    QPointer<SplashWindow> splash = new SplashWindow(services, [&] {
        useDemoPortal(demoPortal);
        mainWindow = new MainWindow(services);
        // The one use of the command line: the reference browser's first page.
        mainWindow->setStartAddress(startAddress);
        mainWindow->show();
        probes.mainWindowShown(mainWindow, mainWindow->quoteModel());
        probes.milestone("main-window-created");
    });
    splash->show();
    // Before the main window exists the splash is on its way to it anyway.
    QObject::connect(&instance, &SingleInstance::activationRequested, [&] {
        if (mainWindow)
            mainWindow->bringForward();
    });
    // Runs once the loop has handled the splash's first show and paint.
    QTimer::singleShot(0, &probes, [&probes] { probes.milestone("splash-shown"); });

    const int code = QApplication::exec();
    probes.finish();
    delete mainWindow;
    // Everything else the program owns is released by its owners; nothing
    // is written on the way out.
    delete splash;
    return code;
}

} // namespace

int main(int argc, char* argv[]) {
    const Diagnostics diagnostics = Diagnostics::fromEnvironment();
    timescale::setSpeed(diagnostics.soakSpeed);
    choosePlatform(argc, argv);
    QApplication app(argc, argv);
    setUpApplication(app);
    QtServices qtServices;
    Services& services = qtServices.services();

    const desktop::CommandLine commandLine = desktop::parseCommandLine(QCoreApplication::arguments().mid(1));
    if (!commandLine.error.isEmpty()) {
        std::fprintf(stderr, "Aurivex: %s\n", qPrintable(commandLine.error));
        return 2;
    }
    appdir::initFromExecutable(commandLine.home);
    int exitCode = 0;
    const std::unique_ptr<SingleInstance> instance = claimDirectory(*services.dialogs, exitCode);
    if (!instance)
        return exitCode;

    DemoPortalProcess demoPortal;
    startDemoPortalIfNeeded(demoPortal);
    Probes probes(diagnostics);
    probes.start(services);
    return runWindows(services, probes, *instance, demoPortal, commandLine.startAddress);
}
