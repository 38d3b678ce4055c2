#pragma once

#include "web_cache.h"

// Empties the HTTP cache of WebEngine's default profile, the one every
// QtWebViews view uses. Before the engine has started there is nothing to
// empty, and asking the profile would start the engine.
class QtWebCache : public WebCache {
public:
    void clearWebCache() override;
};
