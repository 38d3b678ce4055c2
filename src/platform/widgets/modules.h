#pragma once

#include <QString>

class MediaModule;
class WebEngineModule;

// The browser engine's and the media framework's modules (platform/modules.h),
// each loaded from the folder modules/ beside the program at its first use
// and kept loaded.
namespace modules {

// The directory whose modules/ folder holds them: the program's own unless
// set, as a benchmark running the program's windows in its own process does.
void setDirectory(const QString& path);

// The module, loaded at the first call; null, with a message on standard
// error, when it cannot be loaded.
WebEngineModule* webEngine();
MediaModule* media();
// Whether the browser engine's module is loaded, that is whether a view has
// been asked for a page.
bool webEngineLoaded();

// The web cache was emptied; passed on to the engine, which asks the server
// for every view's next page.
void webCacheCleared();

// What each needs in the environment before it loads; settings the user made
// there are kept. Called by the loaders, and by tests that link an engine.
void prepareWebEngine();
void prepareMedia();

} // namespace modules
