#pragma once

#include <functional>

class Clock;
class Dialogs;
class Http;
class Launcher;
class Random;
class Screen;

// The host system as the windows see it. The program wires the Qt-backed
// implementations; tests wire recording fakes.
struct Services {
    Dialogs* dialogs = nullptr;
    Http* http = nullptr;
    Clock* clock = nullptr;
    Random* random = nullptr;
    Launcher* launcher = nullptr;
    Screen* screen = nullptr;
    // Ends the program with the given exit code.
    std::function<void(int)> quit;
};
