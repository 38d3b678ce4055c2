#pragma once

// The soak test runs the whole program many times faster than real time:
// AURIVEX_SOAK_SPEED=N makes every slow timer (and the HTTP deadline) N times
// quicker. Paces of 500 ms and below are left alone: they are animations the
// eye sees, and the state dump's own beat. Unset, nothing changes.
namespace timescale {

// N from AURIVEX_SOAK_SPEED (1 to 1000), read once; 1 when unset or invalid.
int speed();
bool accelerated();
// The interval a timer of `ms` really runs at under the current speed.
int scaled(int ms);
int scaled(int ms, int speed);

} // namespace timescale
