#pragma once

#include "platform/launcher.h"

// Launcher on the desktop's own associations (Qt's desktop services) and
// detached processes.
class DesktopLauncher : public Launcher {
public:
    bool openUrl(const QUrl& url) override;
    bool startProgram(const QString& program, const QStringList& arguments = {}) override;
    bool openFile(const QString& path) override;
};
