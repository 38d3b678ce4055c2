#include "screen.h"

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

QPixmap DesktopScreen::capture(const QRect& rect) const {
    QScreen* screen = QGuiApplication::screenAt(rect.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    // Grabbing the desktop (window 0) takes coordinates relative to the screen.
    const QPoint origin = screen->geometry().topLeft();
    return screen->grabWindow(0, rect.x() - origin.x(), rect.y() - origin.y(), rect.width(), rect.height());
}

bool DesktopScreen::isKeyDown(Qt::Key key) const {
    return x11keys::isDown(key);
}
