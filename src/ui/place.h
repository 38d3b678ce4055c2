#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

class Screen;

// Creates a control with its design name, design rectangle and caption, so a
// window's design table reads one line per control.
template <typename T>
T* place(QWidget* parent, const QString& designName, const QRect& rect, const QString& caption = {}) {
    auto* control = new T(parent);
    control->setObjectName(designName);
    control->setGeometry(rect);
    if constexpr (requires { control->setText(caption); }) {
        if (!caption.isNull())
            control->setText(caption);
    } else if constexpr (requires { control->setTitle(caption); }) {
        if (!caption.isNull())
            control->setTitle(caption);
    }
    return control;
}

// Where `window` stands centred in the primary screen's work area; where it
// stands now when there is no screen to go by.
QPoint centredOnScreen(const QWidget* window, const Screen* screen);
