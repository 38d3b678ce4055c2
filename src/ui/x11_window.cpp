#include "x11_window.h"

#include <QEvent>
#include <QGuiApplication>
#include <QList>
#include <QVariant>
#include <QWidget>

#if AURIVEX_HAVE_X11
// Xlib's macros (None, Bool, Status, ...) would break Qt's headers: it comes last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace x11window {

namespace {

constexpr char kOffTaskbarProperty[] = "aurivexOffTaskbar";
// The window's own type atoms while it is made a dock.
constexpr char kOwnTypeProperty[] = "aurivexOwnWindowType";

#if AURIVEX_HAVE_X11

// The toolkit's own connection: our requests then reach the server in order
// with Qt's, before it maps the window and reads back its state.
Display* qtDisplay() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// `mapped`: the window may already be managed, so the window manager is
// asked as well.
void markOffTaskbar(QWidget* window, bool mapped) {
    Display* display = qtDisplay();
    if (!display)
        return;
    const Window id = static_cast<Window>(window->winId());
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    Atom skip[] = {XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False),
                   XInternAtom(display, "_NET_WM_STATE_SKIP_PAGER", False)};
    {
        // The state goes with the window; Qt keeps the atoms it finds there
        // when it adds its own on mapping.
        Atom* current = nullptr;
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(display, id, state, 0, 64, False, XA_ATOM, &type, &format, &count, &after, &data);
        current = reinterpret_cast<Atom*>(data);
        for (const Atom atom : skip) {
            bool present = false;
            for (unsigned long i = 0; format == 32 && i < count; ++i)
                present = present || current[i] == atom;
            if (!present)
                XChangeProperty(display, id, state, XA_ATOM, 32, PropModeAppend,
                                reinterpret_cast<const unsigned char*>(&atom), 1);
        }
        if (data)
            XFree(data);
    }
    if (mapped) {
        // A mapped window's state belongs to the window manager: ask it with a
        // _NET_WM_STATE message (EWMH), since it may overwrite the property.
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = id;
        event.xclient.message_type = state;
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1; // add
        event.xclient.data.l[1] = static_cast<long>(skip[0]);
        event.xclient.data.l[2] = static_cast<long>(skip[1]);
        event.xclient.data.l[3] = 1; // a normal application
        XSendEvent(display, DefaultRootWindow(display), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    }
    XFlush(display);
}

QList<Atom> atomList(Display* display, Window id, Atom property) {
    QList<Atom> atoms;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, id, property, 0, 64, False, XA_ATOM, &type, &format, &count, &after,
                           &data) == Success &&
        format == 32) {
        const auto* values = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i)
            atoms.append(values[i]);
    }
    if (data)
        XFree(data);
    return atoms;
}

void setAtomList(Display* display, Window id, Atom property, const QList<Atom>& atoms) {
    XChangeProperty(display, id, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(atoms.constData()),
                    static_cast<int>(atoms.size()));
}

#else

void markOffTaskbar(QWidget*, bool) {}

#endif

// Marks the window again on every show: a window manager drops the state of
// a window that is hidden (withdrawn).
class OffTaskbar : public QObject {
public:
    explicit OffTaskbar(QWidget* window) : QObject(window) { window->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Sent before the window is mapped.
        if (event->type() == QEvent::Show && watched == parent())
            markOffTaskbar(static_cast<QWidget*>(watched), false);
        return false;
    }
};

bool isX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

void keepOffTaskbar(QWidget* window) {
    if (!window || window->property(kOffTaskbarProperty).toBool())
        return;
    window->setProperty(kOffTaskbarProperty, true);
    if (!isX11())
        return;
    new OffTaskbar(window);
    if (window->isVisible())
        markOffTaskbar(window, true);
}

bool isOffTaskbar(const QWidget* window) {
    return window && window->property(kOffTaskbarProperty).toBool();
}

void setDockType(QWidget* window, bool docked) {
#if AURIVEX_HAVE_X11
    Display* display = isX11() ? qtDisplay() : nullptr;
    if (!display || !window || !window->testAttribute(Qt::WA_WState_Created))
        return;
    const Window id = static_cast<Window>(window->winId());
    const Atom property = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    const QVariant own = window->property(kOwnTypeProperty);
    if (docked && !own.isValid()) {
        QVariantList saved;
        for (const Atom atom : atomList(display, id, property))
            saved.append(QVariant::fromValue<qulonglong>(atom));
        window->setProperty(kOwnTypeProperty, saved);
        setAtomList(display, id, property, {XInternAtom(display, "_NET_WM_WINDOW_TYPE_DOCK", False)});
    } else if (!docked && own.isValid()) {
        QList<Atom> atoms;
        for (const QVariant& atom : own.toList())
            atoms.append(static_cast<Atom>(atom.toULongLong()));
        window->setProperty(kOwnTypeProperty, QVariant());
        setAtomList(display, id, property, atoms);
    } else {
        return;
    }
    XFlush(display);
#else
    Q_UNUSED(window);
    Q_UNUSED(docked);
#endif
}

void flush() {
#if AURIVEX_HAVE_X11
    if (Display* display = isX11() ? qtDisplay() : nullptr)
        XFlush(display);
#endif
}

std::optional<QRect> serverGeometry(const QWidget* window) {
#if AURIVEX_HAVE_X11
    Display* display = isX11() ? qtDisplay() : nullptr;
    if (!display || !window || !window->isVisible() || !window->testAttribute(Qt::WA_WState_Created))
        return std::nullopt;
    const Window id = static_cast<Window>(window->winId());
    Window root = 0, child = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    if (!XGetGeometry(display, id, &root, &x, &y, &width, &height, &border, &depth) ||
        !XTranslateCoordinates(display, id, root, 0, 0, &x, &y, &child))
        return std::nullopt;
    // The server counts device pixels.
    const qreal ratio = window->devicePixelRatio();
    return QRectF(x / ratio, y / ratio, width / ratio, height / ratio).toRect();
#else
    Q_UNUSED(window);
    return std::nullopt;
#endif
}

} // namespace x11window
