#pragma once

#include <QByteArray>

// The three built-in alert sounds ("提醒音一", "提醒音二", "提醒音三"),
// synthesised: each about two seconds, as a complete RIFF WAVE file in plain
// PCM, which every decoder takes. The build writes them into the program's
// resources; nothing synthesises at run time.
namespace alerttones {

constexpr int kSampleRate = 22050;
constexpr int kBitsPerSample = 16;
constexpr double kSeconds = 2.0;

// Sound 1, 2 or 3; empty for any other number.
//  1: a two-note door chime, rung twice;
//  2: a rising marimba arpeggio, played twice;
//  3: three soft beeps, twice.
QByteArray wave(int number);

} // namespace alerttones
