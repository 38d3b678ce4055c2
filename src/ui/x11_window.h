#pragma once

#include <QRect>
#include <optional>

class QWidget;

// What a window manager is told about our windows beyond what Qt tells it.
namespace x11window {

// Keeps the window off task bars and pagers every time it is shown
// (_NET_WM_STATE_SKIP_TASKBAR and _SKIP_PAGER): some window managers (xfwm4)
// leave tool windows off the task bar by themselves, others (openbox) list
// them. Does nothing off X11.
void keepOffTaskbar(QWidget* window);

// Whether the window manager was told to keep the window off the task bar.
bool isOffTaskbar(const QWidget* window);

// Makes the shown window a dock (_NET_WM_WINDOW_TYPE_DOCK) while `docked`,
// and gives it back its own type after. Window managers keep ordinary
// windows mostly on screen (openbox 10 % of them, xfwm4 a title bar's
// height even of a window two pixels wide), but leave docks where they are.
void setDockType(QWidget* window, bool docked);

// Sends what the toolkit has queued for the X server now, so that a step of
// an animation reaches the screen when it is made rather than with the next
// batch of events.
void flush();

// The shown window's place and size as the X server holds them, in the
// toolkit's coordinates: a window manager may keep a window elsewhere than it
// asked to be without the toolkit hearing of it. Nothing off X11.
std::optional<QRect> serverGeometry(const QWidget* window);

} // namespace x11window
