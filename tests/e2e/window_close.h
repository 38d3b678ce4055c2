#pragma once

#include <QString>

// Asks the top-level window with this title to close, as a window manager's
// close button does (WM_DELETE_WINDOW); false when there is no such window.
bool closeWindow(const QString& windowTitle);
