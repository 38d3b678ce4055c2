#pragma once

#include "platform/web_cache.h"
#include "platform/web_views.h"

// Web views and the web cache on the browser engine's module: a view loads
// the module at its first page, so a run that shows none never loads the
// engine's libraries.
class ModuleWebViews : public WebViews {
public:
    WebView* create(QWidget* parent,
                    WebView::NewWindowPolicy policy = WebView::NewWindowPolicy::Refuse) override;
};

// Besides the chart images, makes the next page of every view come from the
// server (the engine's own cache is left alone: Qt 6.4 empties it in the
// background, and a page asked for meanwhile can stall for good).
class ModuleWebCache : public WebCache {
protected:
    void clearBrowserCache() override;
};
