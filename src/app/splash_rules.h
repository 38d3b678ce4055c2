#pragma once

#include <QString>

namespace splash {

constexpr int kFadeIntervalMs = 25;
constexpr int kIndicatorIntervalMs = 500;
constexpr int kCounterStep = 2;
constexpr int kCounterEnd = 100;

// Opacity applied on a fade tick for the counter value before the step:
// counter × 5, kept within 0..255 so the splash never flickers back.
int fadeOpacity(int counter);

// The activity indicator's next caption; an unknown caption stays as it is.
QString nextIndicator(const QString& caption);

} // namespace splash
