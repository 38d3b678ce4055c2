#include "launcher.h"

#include <QDesktopServices>

bool DesktopLauncher::openUrl(const QUrl& url) {
    return url.isValid() && QDesktopServices::openUrl(url);
}
