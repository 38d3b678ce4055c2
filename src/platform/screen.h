#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <memory>

class KeyWatch;
class QWidget;

// The screens as the windows need them, in desktop coordinates.
class Screen {
public:
    virtual ~Screen() = default;
    // The primary screen, whole.
    virtual QRect geometry() const = 0;
    QSize size() const { return geometry().size(); }
    // The primary screen less the task bar and panels.
    virtual QRect workArea() const = 0;
    // The work area of the screen holding the point; the primary one's when
    // no screen holds it.
    virtual QRect workAreaAt(const QPoint& point) const = 0;
    // The work area of every screen, the primary one first.
    virtual QList<QRect> workAreas() const = 0;
    // Every screen whole, in the order of workAreas().
    virtual QList<QRect> geometries() const = 0;
    virtual QPoint cursorPos() const = 0;
    // Device pixels per unit of the coordinates above, on the primary screen
    // (2 at QT_SCALE_FACTOR=2).
    virtual qreal devicePixelRatio() const = 0;
    // What the screen shows in the rectangle, both in device pixels (the X
    // server's own coordinates), one image pixel per screen pixel.
    virtual QImage capture(const QRect& deviceRect) const = 0;
    // Whether the key is held down right now, whichever program has the
    // keyboard; false where the desktop does not tell.
    virtual bool isKeyDown(Qt::Key key) const = 0;
    // Whether capture() shows what other programs' windows show; not on a
    // Wayland desktop, which keeps them from us.
    virtual bool canCapture() const = 0;
    // Leaves the window out of every later capture, so that it can cover
    // what it captures; false where the desktop cannot (X11).
    virtual bool excludeFromCapture(QWidget* window) const = 0;
    // Starts watching the keyboard and mouse buttons of the whole desktop.
    virtual std::unique_ptr<KeyWatch> watchKeys() const = 0;
};
