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

struct NamedKey {
    Qt::Key key;
    KeySyms syms;
};

// The keys of the keypad that have a keysym of their own there.
const NamedKey kKeypadKeys[] = {
    {Qt::Key_Asterisk, {XK_KP_Multiply, NoSymbol}}, {Qt::Key_Plus, {XK_KP_Add, NoSymbol}},
    {Qt::Key_Comma, {XK_KP_Separator, NoSymbol}},   {Qt::Key_Minus, {XK_KP_Subtract, NoSymbol}},
    {Qt::Key_Period, {XK_KP_Decimal, NoSymbol}},    {Qt::Key_Slash, {XK_KP_Divide, NoSymbol}},
    {Qt::Key_Enter, {XK_KP_Enter, NoSymbol}},
};

// The named keys, beside letters, digits and function keys.
const NamedKey kNamedKeys[] = {
    {Qt::Key_Shift, {XK_Shift_L, XK_Shift_R}},
    {Qt::Key_Control, {XK_Control_L, XK_Control_R}},
    {Qt::Key_Alt, {XK_Alt_L, XK_Alt_R}},
    {Qt::Key_Escape, {XK_Escape, NoSymbol}},
    {Qt::Key_Tab, {XK_Tab, NoSymbol}},
    {Qt::Key_Backspace, {XK_BackSpace, NoSymbol}},
    {Qt::Key_Return, {XK_Return, NoSymbol}},
    {Qt::Key_Enter, {XK_KP_Enter, NoSymbol}},
    {Qt::Key_Space, {XK_space, NoSymbol}},
    {Qt::Key_Pause, {XK_Pause, NoSymbol}},
    {Qt::Key_CapsLock, {XK_Caps_Lock, NoSymbol}},
    {Qt::Key_NumLock, {XK_Num_Lock, NoSymbol}},
    {Qt::Key_PageUp, {XK_Page_Up, NoSymbol}},
    {Qt::Key_PageDown, {XK_Page_Down, NoSymbol}},
    {Qt::Key_Home, {XK_Home, NoSymbol}},
    {Qt::Key_End, {XK_End, NoSymbol}},
    {Qt::Key_Left, {XK_Left, NoSymbol}},
    {Qt::Key_Up, {XK_Up, NoSymbol}},
    {Qt::Key_Right, {XK_Right, NoSymbol}},
    {Qt::Key_Down, {XK_Down, NoSymbol}},
    {Qt::Key_Insert, {XK_Insert, NoSymbol}},
    {Qt::Key_Delete, {XK_Delete, NoSymbol}},
    {Qt::Key_Print, {XK_Print, NoSymbol}},
    {Qt::Key_SysReq, {XK_Sys_Req, NoSymbol}},
};

template <size_t N> KeySyms lookUp(const NamedKey (&table)[N], Qt::Key key) {
    for (const NamedKey& named : table) {
        if (named.key == key)
            return named.syms;
    }
    return {NoSymbol, NoSymbol};
}

KeySyms keypadSyms(Qt::Key key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return {KeySym(XK_KP_0 + (key - Qt::Key_0)), NoSymbol};
    return lookUp(kKeypadKeys, key);
}

KeySyms keySyms(Qt::Key key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return {KeySym(XK_a + (key - Qt::Key_A)), NoSymbol};
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return {KeySym(XK_0 + (key - Qt::Key_0)), NoSymbol};
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return {KeySym(XK_F1 + (key - Qt::Key_F1)), NoSymbol};
    return lookUp(kNamedKeys, key);
}

Display* qtDisplay() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

bool isSet(const char* keymap, unsigned code) {
    return (keymap[code / 8] & (1 << (code % 8))) != 0;
}

// The pointer buttons held down now, as Button1Mask … of the pointer's state.
unsigned heldButtons(Display* display) {
    Window root = 0;
    Window child = 0;
    int x = 0;
    int y = 0;
    unsigned mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &x, &y, &mask);
    return mask;
}

class X11KeyWatch : public KeyWatch {
public:
    explicit X11KeyWatch(Display* display) : display_(display) {
        selectRawEvents();
        // Keys already down when the watch begins are down, not pressed.
        XQueryKeymap(display_, keymap_.data());
        for (unsigned code = 0; code < 256; ++code)
            down_[code] = isSet(keymap_.data(), code);
        const unsigned mask = heldButtons(display_);
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
        const unsigned mask = heldButtons(display_);
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
