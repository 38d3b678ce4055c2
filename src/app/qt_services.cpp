#include "qt_services.h"

#include "platform/clock.h"
#include "platform/dbus/dbus_notifications.h"
#include "platform/network/curl_http.h"
#include "platform/pactl_volume.h"
#include "platform/random.h"
#include "platform/widgets/desktop_launcher.h"
#include "platform/widgets/desktop_screen.h"
#include "platform/widgets/module_media.h"
#include "platform/widgets/module_web.h"
#include "platform/widgets/qt_dialogs.h"
#include "platform/widgets/qt_tray.h"
#include "platform/xdg_autostart.h"

#include <QCoreApplication>

struct QtServices::Seams {
    QtDialogs dialogs;
    CurlHttp http;
    SystemClock clock;
    ClockSeededRandom random;
    DesktopLauncher launcher;
    DesktopScreen screen;
    ModuleAudio audio;
    ModuleMediaPlayer mediaPlayer;
    PactlVolume systemVolume;
    QtTray tray;
    XdgAutostart autostart;
    ModuleWebViews webViews;
    ModuleWebCache webCache;
    DBusNotifications notifications;
};

QtServices::QtServices()
    : seams_(std::make_unique<Seams>()),
      services_(servicesOf(*seams_, [](int code) { QCoreApplication::exit(code); })) {}

QtServices::~QtServices() = default;
