#pragma once

#include <QUrl>

// Hands addresses and programs to the desktop.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Opens an address in the default web browser; false when nothing took it.
    virtual bool openUrl(const QUrl& url) = 0;
};

class DesktopLauncher : public Launcher {
public:
    bool openUrl(const QUrl& url) override;
};
