#include "fixed_size.h"

#include <QWidget>

void makeFixedSize(QWidget* window, const QSize& size) {
    Qt::WindowFlags flags = window->windowFlags();
    const Qt::WindowType type = window->windowType();
    // Only the buttons named here: without CustomizeWindowHint Qt adds the
    // ones its window type has by default.
    flags &= ~(Qt::WindowMinMaxButtonsHint | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint |
               Qt::WindowContextHelpButtonHint);
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
             Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    if (type == Qt::Window)
        flags |= Qt::WindowMinimizeButtonHint;
    window->setWindowFlags(flags);
    window->setFixedSize(size);
}
