#pragma once

#include <QSize>

class QWidget;

// A window of one size, as its design has it ("fixed border"): the window
// manager is told that the size never changes (the same minimum and maximum)
// and that there is nothing to maximise; a dialog has no minimise button
// either, only its title and the close button. Call it before the window is
// first shown.
void makeFixedSize(QWidget* window, const QSize& size);
