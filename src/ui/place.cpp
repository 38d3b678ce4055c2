#include "place.h"

#include "platform/screen.h"

QPoint centredOnScreen(const QWidget* window, const Screen* screen) {
    const QRect area = screen ? screen->workArea() : QRect();
    if (area.isEmpty())
        return window->pos();
    return {area.x() + (area.width() - window->width()) / 2,
            area.y() + (area.height() - window->height()) / 2};
}
