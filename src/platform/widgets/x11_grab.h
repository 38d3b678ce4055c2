#pragma once

#include <QImage>
#include <QRect>

namespace x11grab {

// What the X screen shows in the rectangle (root window coordinates), read
// through a shared-memory image on a connection of its own: a small region
// costs well under a millisecond. Parts outside the screen are black. A null
// image off X11, without the shared-memory extension (a remote display), or
// for a screen layout it does not read (not 32 bits per pixel).
QImage grab(const QRect& rect);

} // namespace x11grab
