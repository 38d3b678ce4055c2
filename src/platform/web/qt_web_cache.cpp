#include "qt_web_cache.h"

#include "qt_web_views.h"

void QtWebCache::clearBrowserCache() {
    QtWebViews::noteCacheCleared();
}
