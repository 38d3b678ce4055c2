#include "window_close.h"

#include <QProcess>
// Xlib's macros would break Qt's headers: it comes last.
#include <X11/Xlib.h>

bool closeWindow(const QString& windowTitle) {
    QProcess search;
    search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--name"),
                                             QStringLiteral("^") + windowTitle + u'$'});
    if (!search.waitForFinished(10000))
        return false;
    const QByteArray id = search.readAllStandardOutput().trimmed().split('\n').last();
    bool ok = false;
    const Window window = id.toULong(&ok);
    if (!ok)
        return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(display, window, False, NoEventMask, &event) != 0;
    XCloseDisplay(display);
    return sent;
}
