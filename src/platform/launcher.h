#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Hands addresses, files and programs to the desktop.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Opens an address in the default web browser; false when nothing took it.
    virtual bool openUrl(const QUrl& url) = 0;
    // Starts a program on its own, not waited for; false when it could not be
    // started. A name without a directory is looked up on the search path.
    virtual bool startProgram(const QString& program, const QStringList& arguments = {}) = 0;
    // Opens a file with the program the desktop associates with it; false
    // when nothing took it.
    virtual bool openFile(const QString& path) = 0;
};
