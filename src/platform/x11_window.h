#pragma once

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

} // namespace x11window
