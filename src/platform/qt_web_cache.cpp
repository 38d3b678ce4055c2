#include "qt_web_cache.h"

#include "qt_web_views.h"

#include <QWebEngineProfile>

void QtWebCache::clearWebCache() {
    if (QtWebViews::engineStarted())
        QWebEngineProfile::defaultProfile()->clearHttpCache();
}
