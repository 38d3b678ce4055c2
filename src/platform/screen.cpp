#include "screen.h"

#include <QGuiApplication>
#include <QScreen>

QSize PrimaryScreen::size() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

QRect PrimaryScreen::workArea() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}
