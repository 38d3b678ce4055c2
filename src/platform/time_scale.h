#pragma once

// The soak test runs the whole program many times faster than real time:
// at speed N every slow timer (and the HTTP deadline) runs N times quicker.
// Paces of 500 ms and below are left alone: they are animations the eye sees,
// and the state dump's own beat. At speed 1, the default, nothing changes.
namespace timescale {

constexpr int kMaxSpeed = 1000;

// Set once at start, before the first timer or HTTP client; clamped to 1..kMaxSpeed.
void setSpeed(int speed);
int speed();
bool accelerated();
// The interval a timer of `ms` really runs at under the current speed.
int scaled(int ms);
int scaled(int ms, int speed);

} // namespace timescale
