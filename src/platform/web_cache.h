#pragma once

// The embedded browser's cache of downloaded files.
class WebCache {
public:
    virtual ~WebCache() = default;
    // Empties it, so that the next load fetches every file anew. Does nothing
    // while no page has been loaded.
    virtual void clearWebCache() = 0;
};
