#pragma once

#include <QString>
#include <QStringList>

// The shell's decisions about the desktop around it, as plain values: the
// about window's fade, where the trading terminal lives, which programs stand
// in for Notepad and Calculator, the display platform, the command line and
// the one running program per directory.
namespace desktop {

// The about window fades in over 18 ticks of 30 ms. Its counter lives for the
// whole run and is never reset, so a later opening takes one tick.
constexpr int kAboutFadeIntervalMs = 30;
constexpr int kAboutFadeStep = 15;
constexpr int kAboutFadeEnd = 18;
// The opacity (0..255) that tick `counter` applies: counter × 15, at most opaque.
int aboutFadeOpacity(int counter);

// The terminal's fixed default location, a Windows path.
QString defaultTerminalPath();

// The wine prefix that holds drive C: $WINEPREFIX when absolute, else ~/.wine.
QString winePrefix(const QString& winePrefixVariable, const QString& home);

// A stored terminal path as a file of this system: "X:\dir\file" becomes the
// prefix's "dosdevices/x:/dir/file"; any other text is a path already.
QString hostPath(const QString& storedPath, const QString& prefix);

// Whether a stored path names "terminal.exe": the part after its last
// separator ("\" or "/"), compared exactly, letter case included.
bool namesTerminal(const QString& storedPath);

enum class TerminalLaunch {
    RunDefault, // the default location holds the terminal
    RunStored,  // the stored path names the terminal and the file is there
    Nothing,    // the stored path names the terminal, but the file is gone
    AskForPath, // no usable path: open "外部工具设置"
};
TerminalLaunch decideTerminalLaunch(bool defaultExists, const QString& storedPath, bool storedExists);

// Desktop programs that stand in for Notepad and Calculator, the most common
// first; the first that starts is used.
const QStringList& textEditors();
const QStringList& calculators();

// The platform plug-in to force before the application starts, or empty to
// leave Qt's choice. A Wayland session is run through XWayland (xcb): the
// floating windows need global positions and staying on top. A platform the
// user chose (QT_QPA_PLATFORM or -platform) is kept, and without an X display
// there is nothing to switch to.
QString forcedPlatform(const QString& qpaPlatform, const QString& sessionType, const QString& waylandDisplay,
                       const QString& display, const QStringList& arguments);

// What the command line asks for. Its one use is the reference browser's
// first page; a leading "--home DIR" pair names the user directory (as
// AURIVEX_HOME does), which is how the autostart entry passes a directory on.
struct CommandLine {
    QString home;         // empty when not given
    QString startAddress; // empty when not given
    QString error;        // for the user; empty when the line is usable
};
// `arguments` without the program's own name, after Qt took its options.
CommandLine parseCommandLine(const QStringList& arguments);

// The name under which the program running from `programDir` answers a second
// start: one per directory, short enough for a socket path.
QString instanceKey(const QString& programDir);

} // namespace desktop
