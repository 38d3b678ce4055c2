#pragma once

class QWidget;

// Layered-window opacity on the program's 0 (transparent) .. 255 (opaque)
// scale. Values outside the range are clamped. The value last set is kept on
// the window so that it can be read back exactly.
void setWindowAlpha(QWidget* window, int alpha);
int windowAlpha(const QWidget* window);
