#include "desktop_launcher.h"

#include <QDesktopServices>
#include <QProcess>

bool DesktopLauncher::openUrl(const QUrl& url) {
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool DesktopLauncher::startProgram(const QString& program, const QStringList& arguments) {
    return !program.isEmpty() && QProcess::startDetached(program, arguments);
}

bool DesktopLauncher::openFile(const QString& path) {
    return !path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
