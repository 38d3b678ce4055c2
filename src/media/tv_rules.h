#pragma once

#include <QString>

// The TV panel's volume slider: positions 1 (top, loudest) to 100 (bottom).
namespace tvrules {

constexpr int kSliderMinimum = 1;
constexpr int kSliderMaximum = 100;

// The level both channels of the system output volume get, on the scale
// 0..65535: |position - 100| x 655.35, truncated.
int volumeLevel(int position);
// That level in percent of full scale, the way the system volume takes it.
int volumePercent(int position);
// The slider's tooltip: 100 at the top, 1 at the bottom.
QString volumeTooltip(int position);

} // namespace tvrules
