#pragma once

#include "platform/screen.h"

// The screens through Qt, with X11 grabs and key state where the desktop is X11.
class DesktopScreen : public Screen {
public:
    QRect geometry() const override;
    QRect workArea() const override;
    QRect workAreaAt(const QPoint& point) const override;
    QList<QRect> workAreas() const override;
    QList<QRect> geometries() const override;
    QPoint cursorPos() const override;
    qreal devicePixelRatio() const override;
    QImage capture(const QRect& deviceRect) const override;
    bool isKeyDown(Qt::Key key) const override;
    bool canCapture() const override;
    bool excludeFromCapture(QWidget* window) const override;
    std::unique_ptr<KeyWatch> watchKeys() const override;
};
