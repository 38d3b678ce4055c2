#pragma once

#include <QString>

// The program's directory. Every file the program opens is named relative to
// it, never to the current directory.
//
// Installed, the files a user changes (config.ini, endpoints.ini, DataBase/)
// live in a directory of that user's own, and the files the program only
// reads (skin, sounds, help, icon) in the installation's shared directory;
// appPath() names each where it is. Run from the build, both are the
// directory beside the executable.
namespace appdir {

// Adds the trailing separator when `dir` lacks one.
QString normalized(const QString& dir);

struct Layout {
    QString userDir;   // the user's files, ending in "/"
    QString sharedDir; // the files the program only reads, ending in "/"
    QString program;   // what starts the program (the launcher when installed)
    // The user directory when the command line's --home or AURIVEX_HOME chose
    // it, else empty: a program started at login must be given it again to
    // open the same files.
    QString homeOverride;
};

// Where the directories lie for an executable in `executableDir`:
// `homeOverride` (--home, else AURIVEX_HOME) wins; else the executable's own directory when
// it holds config.ini; else "Aurivex" in the user's data directory
// (`dataHome`, XDG_DATA_HOME, when absolute, else ~/.local/share).
Layout locate(const QString& executableDir, const QString& homeOverride, const QString& dataHome,
              const QString& homeDir);

// Takes the directories of the running executable and its environment;
// `homeOption`, the command line's --home, goes before AURIVEX_HOME.
// Called once, before any window other than the splash exists.
void initFromExecutable(const QString& homeOption = {});
// Points the program at one directory for everything (tests, tools).
void set(const QString& dir);
void set(const Layout& layout);

// The command that starts this program, for the autostart entry.
const QString& program();
// The user directory --home or AURIVEX_HOME chose, or empty.
const QString& homeOverride();

} // namespace appdir

// The user's program directory, always ending in "/".
const QString& appDir();
// The file `relativeName`: in the user's directory, unless only the shared
// directory holds it. The user's own files are always named in theirs.
QString appPath(const QString& relativeName);
