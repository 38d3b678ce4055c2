#pragma once

#include <functional>

class Audio;
class Autostart;
class Clock;
class Dialogs;
class Http;
class Launcher;
class MediaPlayer;
class Notifications;
class Random;
class Screen;
class SystemVolume;
class Tray;
class WebCache;
class WebViews;

// The host system as the windows see it. The program wires the Qt-backed
// implementations; tests wire recording fakes.
struct Services {
    Dialogs* dialogs = nullptr;
    Http* http = nullptr;
    Clock* clock = nullptr;
    Random* random = nullptr;
    Launcher* launcher = nullptr;
    Screen* screen = nullptr;
    Audio* audio = nullptr;
    MediaPlayer* mediaPlayer = nullptr;
    SystemVolume* systemVolume = nullptr;
    Tray* tray = nullptr;
    Autostart* autostart = nullptr;
    WebViews* webViews = nullptr;
    WebCache* webCache = nullptr;
    Notifications* notifications = nullptr;
    // Ends the program with the given exit code.
    std::function<void(int)> quit;
};

// The Services of an object that holds one of each seam as a member named
// like the fields above (the program's Qt-backed set, the tests' fakes).
template <typename Seams> Services servicesOf(Seams& seams, std::function<void(int)> quit) {
    return Services{.dialogs = &seams.dialogs,
                    .http = &seams.http,
                    .clock = &seams.clock,
                    .random = &seams.random,
                    .launcher = &seams.launcher,
                    .screen = &seams.screen,
                    .audio = &seams.audio,
                    .mediaPlayer = &seams.mediaPlayer,
                    .systemVolume = &seams.systemVolume,
                    .tray = &seams.tray,
                    .autostart = &seams.autostart,
                    .webViews = &seams.webViews,
                    .webCache = &seams.webCache,
                    .notifications = &seams.notifications,
                    .quit = std::move(quit)};
}
