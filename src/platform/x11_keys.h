#pragma once

#include <QtCore/qnamespace.h>

namespace x11keys {

// Whether the key is down on the X server's keyboard right now, whichever
// window has the focus. False off X11 and for keys without an X key symbol.
bool isDown(Qt::Key key);

} // namespace x11keys
