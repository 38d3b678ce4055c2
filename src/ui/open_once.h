#pragma once

#include <QPointer>
#include <QWidget>

// Opens a window that may exist only once. While `window` is open it is
// brought to the front and null is returned; otherwise `make()` creates it,
// `window` tracks it, and the new window is returned for the caller to show
// (a window that failed to fill itself may have closed already).
template <typename T, typename Make> T* openOnce(QPointer<T>& window, Make make) {
    if (window) {
        window->show();
        window->raise();
        window->activateWindow();
        return nullptr;
    }
    window = make();
    return window;
}

// openOnce(), then shows the window it made.
template <typename T, typename Make> void showOnce(QPointer<T>& window, Make make) {
    if (T* opened = openOnce(window, make))
        opened->show();
}
