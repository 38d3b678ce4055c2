#include "modules.h"

#include "platform/modules.h"

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QPluginLoader>
#include <cstdio>
#include <unistd.h>

QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
Q_GUI_EXPORT QOpenGLContext* qt_gl_global_share_context();
QT_END_NAMESPACE

namespace {

QString directory;
bool webTried = false;
WebEngineModule* web = nullptr;
bool webCacheEmptied = false;

// The engine reads the format of the OpenGL context its views share (which
// Qt makes at start when asked to, loading the GL driver) and warns, or
// fails, without one. Its pages are drawn in software (prepareWebEngine), so
// it gets a context that is never created: no driver is loaded, at start or
// later.
void shareAnUncreatedContext() {
    if (qt_gl_global_share_context())
        return;
    // Nor does the engine's start-up reach the driver, which it would load
    // just to read a GL configuration it does not use: the platform settles
    // on no GL at all before the engine asks (on X11, unless the user chose
    // an integration), and the programs started later inherit nothing of it.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION")) {
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        QOpenGLContext::supportsThreadedOpenGL();
        qunsetenv("QT_XCB_GL_INTEGRATION");
    }
    static QOpenGLContext* const unused = new QOpenGLContext;
    qt_gl_set_global_share_context(unused);
    // After the engine's own end, which still reads it.
    qAddPostRoutine([] {
        qt_gl_set_global_share_context(nullptr);
        delete unused;
    });
}

template <typename Module> Module* load(const char* fileName) {
    QPluginLoader loader((directory.isEmpty() ? QCoreApplication::applicationDirPath() : directory) +
                         QLatin1String("/modules/") + QLatin1String(fileName));
    auto* module = qobject_cast<Module*>(loader.instance());
    if (!module)
        std::fprintf(stderr, "aurivex: cannot load %s: %s\n", qPrintable(loader.fileName()),
                     qPrintable(loader.errorString()));
    return module;
}

} // namespace

namespace modules {

void setDirectory(const QString& path) {
    directory = path;
}

WebEngineModule* webEngine() {
    if (webTried)
        return web;
    webTried = true;
    prepareWebEngine();
    shareAnUncreatedContext();
    web = load<WebEngineModule>("aurivex-web.so");
    if (web && webCacheEmptied)
        web->noteCacheCleared();
    return web;
}

bool webEngineLoaded() {
    return web;
}

void webCacheCleared() {
    if (web)
        web->noteCacheCleared();
    else
        webCacheEmptied = true;
}

MediaModule* media() {
    static MediaModule* const module = [] {
        prepareMedia();
        return load<MediaModule>("aurivex-media.so");
    }();
    return module;
}

void prepareWebEngine() {
    // As root Chromium refuses to start inside its sandbox.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The pages are small charts: drawn in software they need no GL driver
    // (tens of megabytes, and a shared context the engine would otherwise
    // ask for), and the windows beside them repaint without waiting on it.
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    // Each renderer costs well over a hundred megabytes; the chart pages share two.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    const auto add = [&flags](const char* flag) {
        flags += flags.isEmpty() ? "" : " ";
        flags += flag;
    };
    if (!flags.contains("--renderer-process-limit"))
        add("--renderer-process-limit=2");
    // Without the sandbox the renderers need no zygote to start from, whose
    // two processes hold about 10 MB (allowed only then).
    const bool sandboxed =
        qEnvironmentVariableIntValue("QTWEBENGINE_DISABLE_SANDBOX") == 0 && !flags.contains("--no-sandbox");
    if (!sandboxed && !flags.contains("zygote"))
        add("--no-zygote");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

void prepareMedia() {
    // Qt 6.4's FFmpeg backend crashes when a player starts on a machine
    // without an audio device; GStreamer plays nothing there and goes on.
    if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

} // namespace modules
