#pragma once

#include "download_cache.h"

// The cache of downloaded web files: the embedded browser's own, and the
// chart images the program fetches itself.
class WebCache {
public:
    virtual ~WebCache() = default;
    // Empties both, so that the next load fetches every file anew.
    void clearWebCache() {
        downloads_.clear();
        clearBrowserCache();
    }
    DownloadCache& downloads() { return downloads_; }

protected:
    // The browser engine's cache; nothing to do while no page has been loaded.
    virtual void clearBrowserCache() = 0;

private:
    DownloadCache downloads_;
};
