#pragma once

#include <QString>

// The program's directory. Every file the program opens is named relative to
// it, never to the current directory.
namespace appdir {

// Adds the trailing separator when `dir` lacks one.
QString normalized(const QString& dir);

// Takes the directory of the running executable. Called once, before any
// window other than the splash exists.
void initFromExecutable();
// Points the program at another directory (tests, tools).
void set(const QString& dir);

} // namespace appdir

// The program directory, always ending in "/".
const QString& appDir();
// appDir() followed by `relativeName`.
QString appPath(const QString& relativeName);
