#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <memory>

class KeyWatch;
class Timer;
struct Services;

// "超酷放大镜": the screen around the mouse pointer twice enlarged, 20 times a
// second, in a window that clicks pass through and that stays above every
// other, until F12 is pressed in whichever program. It never shows itself:
// where the desktop can leave the window out of its captures it covers the
// whole screen; elsewhere (X11) it is a lens beside the pointer that never
// covers the region it enlarges.
class Magnifier : public QWidget {
    Q_OBJECT
public:
    // Whether the desktop lets the program read the screen; where it does
    // not (Wayland) the user is told so instead of getting a black window.
    static bool screenReadable(Services& services, QWidget* parent);

    explicit Magnifier(Services& services, QWidget* parent = nullptr);
    ~Magnifier() override;

    bool coversScreen() const { return fullScreen_; }
    // The screen region the last tick enlarged, in device pixels.
    QRect source() const { return source_; }

    // Draws the region around the pointer, then closes on F12.
    void tick();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Services& services_;
    Timer* timer_;
    std::unique_ptr<KeyWatch> keys_;
    bool fullScreen_;
    QRect source_;
    QImage shown_;
    QRectF drawn_;
};
