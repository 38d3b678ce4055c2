#pragma once

#include "platform/web_views.h"

// WebViews on Qt WebEngine, all on the default profile, so that they share
// one cache (see QtWebCache).
class QtWebViews : public WebViews {
public:
    WebView* create(QWidget* parent,
                    WebView::NewWindowPolicy policy = WebView::NewWindowPolicy::Refuse) override;

    // Whether any view has loaded a page, that is whether the engine runs.
    static bool engineStarted();
    // The web cache was emptied: each view asks for its next page with
    // "no-cache", so that it comes from the server (see QtWebCache).
    static void noteCacheCleared();
};
