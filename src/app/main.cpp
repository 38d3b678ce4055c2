#include "app/desktop_rules.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/splash_window.h"
#include "app/state_dump.h"
#include "app/trade_drill.h"
#include "app/ui_watchdog.h"
#include "core/app_dir.h"
#include "core/demo_feed.h"
#include "core/endpoints.h"
#include "core/runtime_dir.h"
#include "history/price_history.h"
#include "platform/clock.h"
#include "platform/curl_http.h"
#include "platform/dbus/dbus_notifications.h"
#include "platform/demo_portal_process.h"
#include "platform/launcher.h"
#include "platform/pactl_volume.h"
#include "platform/qt_audio.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_media_player.h"
#include "platform/qt_tray.h"
#include "platform/qt_web_cache.h"
#include "platform/qt_web_views.h"
#include "platform/random.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "platform/time_scale.h"
#include "platform/xdg_autostart.h"
#include "ui/app_art.h"
#include "ui/fonts.h"
#include "ui/translations.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMoveEvent>
#include <QPointer>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

// With AURIVEX_STARTUP_TRACE set, start-up milestones go to standard output
// for the start-up benchmark.
void trace(const char* milestone) {
    static const bool enabled = qEnvironmentVariableIsSet("AURIVEX_STARTUP_TRACE");
    if (!enabled)
        return;
    std::printf("aurivex-trace %s\n", milestone);
    std::fflush(stdout);
}

// With AURIVEX_NEWS_TRACE set, every step of the news link goes to standard
// output with the monotonic clock, for the scroll benchmark; a step back to
// the right edge is a new headline.
class NewsStepTrace : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Move) {
            const auto* move = static_cast<QMoveEvent*>(event);
            if (move->pos().x() > move->oldPos().x())
                std::printf("aurivex-trace news-headline\n");
            // The thread's CPU time and its time waiting for a CPU tell its
            // own work and a busy machine from the rest of a gap.
            long long cpu = 0;
            long long waiting = 0;
            if (std::FILE* stat = std::fopen("/proc/thread-self/schedstat", "r")) {
                if (std::fscanf(stat, "%lld %lld", &cpu, &waiting) != 2)
                    cpu = waiting = 0;
                std::fclose(stat);
            }
            std::printf("aurivex-trace news-step %lld %lld %lld\n",
                        static_cast<long long>(clock_.nsecsElapsed()), cpu, waiting);
            std::fflush(stdout);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer clock_ = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
};

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

void traceNewsSteps(QWidget* window) {
    if (!qEnvironmentVariableIsSet("AURIVEX_NEWS_TRACE"))
        return;
    if (auto* link = window->findChild<QWidget*>(QStringLiteral("新闻显示链接框")))
        link->installEventFilter(new NewsStepTrace(link));
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

} // namespace

int main(int argc, char* argv[]) {
    choosePlatform(argc, argv);
    // Before the application exists; the engine itself starts with the first page.
    QtWebViews::prepareApplication();
    QtAudio::selectBackend();
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Aurivex"));
    // Desktops find the launcher and its icon by this name.
    app.setDesktopFileName(QStringLiteral("aurivex"));
    app.setWindowIcon(appart::windowIcon());
    // Only the main window's end ends the program; the splash closing must not.
    app.setQuitOnLastWindowClosed(false);
    installFontSubstitutions();
    installChineseTranslations();
    app.setFont(QFont(QStringLiteral("宋体"), 9));

    QtDialogs dialogs;
    CurlHttp http;
    SystemClock clock;
    ClockSeededRandom random;
    DesktopLauncher launcher;
    DesktopScreen screen;
    // The sounds, the TV player and the tray load nothing until first used.
    QtAudio audio;
    QtMediaPlayer mediaPlayer;
    PactlVolume systemVolume;
    QtTray tray;
    XdgAutostart autostart;
    QtWebViews webViews;
    QtWebCache webCache;
    DBusNotifications notifications;
    Services services{.dialogs = &dialogs,
                      .http = &http,
                      .clock = &clock,
                      .random = &random,
                      .launcher = &launcher,
                      .screen = &screen,
                      .audio = &audio,
                      .mediaPlayer = &mediaPlayer,
                      .systemVolume = &systemVolume,
                      .tray = &tray,
                      .autostart = &autostart,
                      .webViews = &webViews,
                      .webCache = &webCache,
                      .notifications = &notifications,
                      .quit = [](int code) { QCoreApplication::exit(code); }};

    // There is no "TaskbarCreated" message to register: Qt's tray icon
    // re-registers itself when the desktop shell restarts.

    const desktop::CommandLine commandLine = desktop::parseCommandLine(QCoreApplication::arguments().mid(1));
    if (!commandLine.error.isEmpty()) {
        std::fprintf(stderr, "Aurivex: %s\n", qPrintable(commandLine.error));
        return 2;
    }
    appdir::initFromExecutable(commandLine.home);

    // One program per directory: a second start brings the first one forward and ends.
    const runtimedir::Location runtime = runtimedir::locate();
    if (runtime.path.isEmpty())
        return refuseToStart(dialogs, runtime.problem);
    SingleInstance instance(QDir(appDir()).canonicalPath(), runtime.path);
    switch (instance.start()) {
    case SingleInstance::Outcome::Claimed:
        break;
    case SingleInstance::Outcome::Activated:
        return 0;
    case SingleInstance::Outcome::Unanswered:
        std::fprintf(stderr, "Aurivex is already running from this directory.\n");
        return 0;
    case SingleInstance::Outcome::Refused:
        return refuseToStart(dialogs, instance.problem());
    }

    DemoPortalProcess demoPortal;
    startDemoPortalIfNeeded(demoPortal);

    std::unique_ptr<StateDump> dump;
    const QString dumpPath = qEnvironmentVariable("AURIVEX_STATE_DUMP");
    if (!dumpPath.isEmpty()) {
        dump = std::make_unique<StateDump>(dumpPath, dialogs);
        if (timescale::accelerated())
            dump->setHttp(&http);
        dump->start();
    }
    UiWatchdog* watchdog = UiWatchdog::startIfAsked(&app);
    TradeDrill::startIfAsked(dialogs, &app);
    PriceHistory::startDrillIfAsked(&app);

    QPointer<MainWindow> mainWindow;
    QPointer<SplashWindow> splash = new SplashWindow(services, [&] {
        useDemoPortal(demoPortal);
        mainWindow = new MainWindow(services);
        // The one use of the command line: the reference browser's first page.
        mainWindow->setStartAddress(commandLine.startAddress);
        if (dump)
            dump->setQuoteModel(&mainWindow->quoteModel());
        mainWindow->show();
        traceNewsSteps(mainWindow);
        trace("main-window-created");
        // Start-up is over once the first paints of the main window are done.
        if (watchdog)
            QTimer::singleShot(1000, watchdog, [watchdog] { watchdog->startCounting(); });
    });
    splash->show();
    // Before the main window exists the splash is on its way to it anyway.
    QObject::connect(&instance, &SingleInstance::activationRequested, [&] {
        if (mainWindow)
            mainWindow->bringForward();
    });
    // Runs once the loop has handled the splash's first show and paint.
    QTimer::singleShot(0, [] { trace("splash-shown"); });

    const int code = app.exec();
    if (dump)
        dump->write();
    if (watchdog)
        watchdog->write();
    delete mainWindow;
    // Everything else the program owns is released by its owners; nothing
    // is written on the way out.
    delete splash;
    return code;
}
