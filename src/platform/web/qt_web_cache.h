#pragma once

#include "platform/web_cache.h"

// Besides the chart images, makes the next page of every QtWebViews view come
// from the server. Qt 6.4 empties WebEngine's HTTP cache in the background,
// and a page asked for meanwhile can stall for good; so the engine's cache is
// left alone and each view asks for its next page with "no-cache" instead.
class QtWebCache : public WebCache {
protected:
    void clearBrowserCache() override;
};
