#include "x11_keys.h"

#if AURIVEX_HAVE_X11
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <array>
#include <bitset>
// Xlib's macros (None, Bool, Status, ...) would break Qt's headers: it comes last.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#if AURIVEX_HAVE_XI2
#include <X11/extensions/XInput2.h>
#endif
#endif

namespace x11keys {

#if AURIVEX_HAVE_X11

namespace {

// A modifier has a key on either side; either counts.
using KeySyms = std::array<KeySym, 2>;

KeySyms keypadSyms(Qt::Key key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return {KeySym(XK_KP_0 + (key - Qt::Key_0)), NoSymbol};
    switch (key) {
    case Qt::Key_Asterisk:
        return {XK_KP_Multiply, NoSymbol};
    case Qt::Key_Plus:
        return {XK_KP_Add, NoSymbol};
    case Qt::Key_Comma:
        return {XK_KP_Separator, NoSymbol};
    case Qt::Key_Minus:
        return {XK_KP_Subtract, NoSymbol};
    case Qt::Key_Period:
        return {XK_KP_Decimal, NoSymbol};
    case Qt::Key_Slash:
        return {XK_KP_Divide, NoSymbol};
    case Qt::Key_Enter:
        return {XK_KP_Enter, NoSymbol};
    default:
        return {NoSymbol, NoSymbol};
    }
}

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

Display* qtDisplay() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

bool isSet(const char* keymap, unsigned code) {
    return (keymap[code / 8] & (1 << (code % 8))) != 0;
}

class X11KeyWatch : public KeyWatch {
public:
    explicit X11KeyWatch(Display* display) : display_(display) {
        selectRawEvents();
        // Keys already down when the watch begins are down, not pressed.
        XQueryKeymap(display_, keymap_.data());
        for (unsigned code = 0; code < 256; ++code)
            down_[code] = isSet(keymap_.data(), code);
        Window root = 0;
        Window child = 0;
        int x = 0;
        int y = 0;
        unsigned mask = 0;
        XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &x, &y, &x, &y, &mask);
        buttonsDown_[1] = mask & Button1Mask;
        buttonsDown_[2] = mask & Button2Mask;
        buttonsDown_[3] = mask & Button3Mask;
        if (raw_) {
            // Drained as they come, so that a watch nobody polls for a while
            // does not leave the server a backlog.
            notifier_ = new QSocketNotifier(ConnectionNumber(display_), QSocketNotifier::Read);
            QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this] { drain(); });
        }
        sinceKeymap_.start();
    }

    ~X11KeyWatch() override {
        delete notifier_;
        XCloseDisplay(display_);
    }

    State poll(const WatchedKey& key) override {
        State state;
        if (key.button != Qt::NoButton) {
            const unsigned number = buttonNumber(key.button);
            if (number == 0)
                return state;
            if (raw_) {
                drain();
            } else {
                refreshButtonsByLooking();
            }
            state.down = buttonsDown_[number];
            state.pressed = buttonsPressed_[number];
            buttonsPressed_[number] = false;
            return state;
        }
        if (raw_)
            drain();
        else
            refreshKeysByLooking();
        const KeySyms syms = key.keypad ? keypadSyms(key.key) : keySyms(key.key);
        for (const KeySym sym : syms) {
            if (sym == NoSymbol)
                continue;
            const KeyCode code = XKeysymToKeycode(display_, sym);
            if (code == 0)
                continue;
            state.down |= down_[code];
            state.pressed |= pressed_[code];
            pressed_[code] = false;
        }
        return state;
    }

private:
    static unsigned buttonNumber(Qt::MouseButton button) {
        switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::MiddleButton:
            return 2;
        case Qt::RightButton:
            return 3;
        default:
            return 0;
        }
    }

    void selectRawEvents() {
#if AURIVEX_HAVE_XI2
        int event = 0;
        int error = 0;
        if (!XQueryExtension(display_, "XInputExtension", &xiOpcode_, &event, &error))
            return;
        // From version 2.1 a master device reports the raw events of all its
        // devices (the synthetic XTEST ones included); before, only each
        // device itself does.
        int major = 2;
        int minor = 2;
        if (XIQueryVersion(display_, &major, &minor) != Success)
            return;
        const bool masters = major > 2 || (major == 2 && minor >= 1);
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XIEventMask mask{masters ? XIAllMasterDevices : XIAllDevices, sizeof(bits), bits};
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
        XISetMask(bits, XI_RawButtonPress);
        XISetMask(bits, XI_RawButtonRelease);
        XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
        XSync(display_, False);
        raw_ = true;
#endif
    }

    void drain() {
#if AURIVEX_HAVE_XI2
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            XGenericEventCookie* cookie = &event.xcookie;
            if (cookie->type != GenericEvent || cookie->extension != xiOpcode_ ||
                !XGetEventData(display_, cookie))
                continue;
            const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
            const auto detail = static_cast<unsigned>(raw->detail);
            switch (cookie->evtype) {
            case XI_RawKeyPress:
                if (detail < 256) {
                    down_[detail] = true;
                    pressed_[detail] = true;
                }
                break;
            case XI_RawKeyRelease:
                if (detail < 256)
                    down_[detail] = false;
                break;
            case XI_RawButtonPress:
                if (detail < buttonsDown_.size()) {
                    buttonsDown_[detail] = true;
                    buttonsPressed_[detail] = true;
                }
                break;
            case XI_RawButtonRelease:
                if (detail < buttonsDown_.size())
                    buttonsDown_[detail] = false;
                break;
            default:
                break;
            }
            XFreeEventData(display_, cookie);
        }
#endif
    }

    // Without raw events: one look at the keyboard serves the polls of one
    // moment, and a key found down that was up at the previous look counts as
    // pressed.
    void refreshKeysByLooking() {
        if (looked_ && sinceKeymap_.elapsed() < kLookMs)
            return;
        looked_ = true;
        sinceKeymap_.restart();
        XQueryKeymap(display_, keymap_.data());
        for (unsigned code = 0; code < 256; ++code) {
            const bool now = isSet(keymap_.data(), code);
            if (now && !down_[code])
                pressed_[code] = true;
            down_[code] = now;
        }
    }

    void refreshButtonsByLooking() {
        Window root = 0;
        Window child = 0;
        int x = 0;
        int y = 0;
        unsigned mask = 0;
        XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &x, &y, &x, &y, &mask);
        const std::array<unsigned, 4> masks{0, Button1Mask, Button2Mask, Button3Mask};
        for (unsigned number = 1; number < masks.size(); ++number) {
            const bool now = (mask & masks[number]) != 0;
            if (now && !buttonsDown_[number])
                buttonsPressed_[number] = true;
            buttonsDown_[number] = now;
        }
    }

    static constexpr int kLookMs = 10;

    Display* display_;
    int xiOpcode_ = 0;
    bool raw_ = false;
    bool looked_ = false;
    QSocketNotifier* notifier_ = nullptr;
    QElapsedTimer sinceKeymap_;
    std::array<char, 32> keymap_{};
    std::bitset<256> down_;
    std::bitset<256> pressed_;
    std::array<bool, 8> buttonsDown_{};
    std::array<bool, 8> buttonsPressed_{};
};

} // namespace

bool isDown(Qt::Key key) {
    Display* display = qtDisplay();
    if (!display)
        return false;
    char keys[32] = {};
    XQueryKeymap(display, keys);
    for (const KeySym sym : keySyms(key)) {
        if (sym == NoSymbol)
            continue;
        const KeyCode code = XKeysymToKeycode(display, sym);
        if (code != 0 && isSet(keys, code))
            return true;
    }
    return false;
}

std::unique_ptr<KeyWatch> watch() {
    Display* shared = qtDisplay();
    if (!shared)
        return nullptr;
    // A connection of its own: its events never mix with the toolkit's.
    Display* own = XOpenDisplay(DisplayString(shared));
    if (!own)
        return nullptr;
    return std::make_unique<X11KeyWatch>(own);
}

#else

bool isDown(Qt::Key) {
    return false;
}

std::unique_ptr<KeyWatch> watch() {
    return nullptr;
}

#endif

} // namespace x11keys
