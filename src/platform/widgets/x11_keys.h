#pragma once

#include "platform/key_watch.h"

#include <QtCore/qnamespace.h>
#include <memory>

namespace x11keys {

// Whether the key is down on the X server's keyboard right now, whichever
// window has the focus. False off X11 and for keys without an X key symbol.
bool isDown(Qt::Key key);

// Watches the X server's keyboard and mouse buttons on a connection of its
// own: raw input events (XInput2) on the root window, which every client may
// see and which take the key from nobody, so a key pressed and released
// between two polls still counts as pressed. Without XInput2 a press is a key
// found down that was up at the previous look. Null off X11.
std::unique_ptr<KeyWatch> watch();

} // namespace x11keys
