#include "x11_keys.h"

#if AURIVEX_HAVE_X11
#include <QGuiApplication>
#include <array>
// Xlib's macros (None, Bool, Status, ...) would break Qt's headers: it comes last.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

namespace x11keys {

#if AURIVEX_HAVE_X11

namespace {

// A modifier has a key on either side; either counts.
using KeySyms = std::array<KeySym, 2>;

KeySyms keySyms(Qt::Key key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return {KeySym(XK_a + (key - Qt::Key_A)), NoSymbol};
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return {KeySym(XK_0 + (key - Qt::Key_0)), NoSymbol};
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return {KeySym(XK_F1 + (key - Qt::Key_F1)), NoSymbol};
    switch (key) {
    case Qt::Key_Shift:
        return {XK_Shift_L, XK_Shift_R};
    case Qt::Key_Control:
        return {XK_Control_L, XK_Control_R};
    case Qt::Key_Alt:
        return {XK_Alt_L, XK_Alt_R};
    case Qt::Key_Escape:
        return {XK_Escape, NoSymbol};
    case Qt::Key_Tab:
        return {XK_Tab, NoSymbol};
    case Qt::Key_Backspace:
        return {XK_BackSpace, NoSymbol};
    case Qt::Key_Return:
        return {XK_Return, NoSymbol};
    case Qt::Key_Enter:
        return {XK_KP_Enter, NoSymbol};
    case Qt::Key_Space:
        return {XK_space, NoSymbol};
    case Qt::Key_Pause:
        return {XK_Pause, NoSymbol};
    case Qt::Key_CapsLock:
        return {XK_Caps_Lock, NoSymbol};
    case Qt::Key_NumLock:
        return {XK_Num_Lock, NoSymbol};
    case Qt::Key_PageUp:
        return {XK_Page_Up, NoSymbol};
    case Qt::Key_PageDown:
        return {XK_Page_Down, NoSymbol};
    case Qt::Key_Home:
        return {XK_Home, NoSymbol};
    case Qt::Key_End:
        return {XK_End, NoSymbol};
    case Qt::Key_Left:
        return {XK_Left, NoSymbol};
    case Qt::Key_Up:
        return {XK_Up, NoSymbol};
    case Qt::Key_Right:
        return {XK_Right, NoSymbol};
    case Qt::Key_Down:
        return {XK_Down, NoSymbol};
    case Qt::Key_Insert:
        return {XK_Insert, NoSymbol};
    case Qt::Key_Delete:
        return {XK_Delete, NoSymbol};
    case Qt::Key_Print:
        return {XK_Print, NoSymbol};
    case Qt::Key_SysReq:
        return {XK_Sys_Req, NoSymbol};
    default:
        return {NoSymbol, NoSymbol};
    }
}

} // namespace

bool isDown(Qt::Key key) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    char keys[32] = {};
    XQueryKeymap(display, keys);
    for (const KeySym sym : keySyms(key)) {
        if (sym == NoSymbol)
            continue;
        const KeyCode code = XKeysymToKeycode(display, sym);
        if (code != 0 && (keys[code / 8] & (1 << (code % 8))) != 0)
            return true;
    }
    return false;
}

#else

bool isDown(Qt::Key) {
    return false;
}

#endif

} // namespace x11keys
