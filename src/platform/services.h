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
