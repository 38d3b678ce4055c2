#include "desktop_screen.h"

#include "platform/key_watch.h"
#include "x11_grab.h"
#include "x11_keys.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

QRect DesktopScreen::geometry() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

QRect DesktopScreen::workArea() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QRect DesktopScreen::workAreaAt(const QPoint& point) const {
    const QScreen* screen = QGuiApplication::screenAt(point);
    return screen ? screen->availableGeometry() : workArea();
}

QList<QRect> DesktopScreen::workAreas() const {
    QList<QRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        areas.append(primary->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary)
            areas.append(screen->availableGeometry());
    }
    return areas;
}

QList<QRect> DesktopScreen::geometries() const {
    QList<QRect> screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        screens.append(primary->geometry());
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary)
            screens.append(screen->geometry());
    }
    return screens;
}

QPoint DesktopScreen::cursorPos() const {
    return QCursor::pos();
}

qreal DesktopScreen::devicePixelRatio() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

QImage DesktopScreen::capture(const QRect& deviceRect) const {
    // The shared-memory grab where it works: a plain one waits for the whole
    // region to cross the connection.
    const QImage grabbed = x11grab::grab(deviceRect);
    if (!grabbed.isNull())
        return grabbed;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    // Qt grabs in its own coordinates, relative to the screen, and answers in device pixels.
    const qreal ratio = screen->devicePixelRatio();
    const QRect logical = QRectF(QPointF(deviceRect.topLeft()) / ratio - screen->geometry().topLeft(),
                                 QSizeF(deviceRect.size()) / ratio)
                              .toAlignedRect();
    QImage image =
        screen->grabWindow(0, logical.x(), logical.y(), logical.width(), logical.height()).toImage();
    image.setDevicePixelRatio(1.0);
    return image;
}

bool DesktopScreen::isKeyDown(Qt::Key key) const {
    return x11keys::isDown(key);
}

bool DesktopScreen::canCapture() const {
    // A Wayland desktop shows us our own windows only, on its own platform
    // and through XWayland alike.
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return false;
    if (platform == QLatin1String("xcb"))
        return qEnvironmentVariable("XDG_SESSION_TYPE") != QLatin1String("wayland");
    return platform == QLatin1String("windows") || platform == QLatin1String("cocoa");
}

bool DesktopScreen::excludeFromCapture(QWidget*) const {
    // X11 has no way to leave one window out of a grab of the screen.
    return false;
}

namespace {

// Where nothing tells us about the keyboard: no key is ever down.
class NoKeyWatch : public KeyWatch {
public:
    State poll(const WatchedKey&) override { return {}; }
};

} // namespace

std::unique_ptr<KeyWatch> DesktopScreen::watchKeys() const {
    if (std::unique_ptr<KeyWatch> watch = x11keys::watch())
        return watch;
    return std::make_unique<NoKeyWatch>();
}
