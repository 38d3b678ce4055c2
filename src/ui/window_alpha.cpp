#include "window_alpha.h"

#include "x11_window.h"

#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace {
constexpr char kAlphaProperty[] = "aurivexAlpha";
}

void setWindowAlpha(QWidget* window, int alpha) {
    alpha = std::clamp(alpha, 0, 255);
    window->setProperty(kAlphaProperty, alpha);
    window->setWindowOpacity(alpha / 255.0);
    // Each step of a fade on screen as it is made.
    x11window::flush();
}

int windowAlpha(const QWidget* window) {
    const QVariant stored = window->property(kAlphaProperty);
    if (stored.isValid())
        return stored.toInt();
    return static_cast<int>(window->windowOpacity() * 255.0 + 0.5);
}
