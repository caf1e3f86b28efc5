// The millisecond clock, and a fixed-step clock for repeatable headless runs.
#pragma once
#include <cstdint>

// Milliseconds since the platform started (wraps like a 32-bit int).
int32_t MilliSecs();
// Sleeps for the given milliseconds (no-op when the fixed-step clock is on).
void Delay(int ms);

// With the fixed-step clock on, MilliSecs only moves when AdvanceFixedClock is called,
// by exactly msPerStep each time (fractions are kept, so 60 steps of 1000/60 make 1000 ms).
void SetFixedClock(bool on, double msPerStep = 1000.0 / 60.0);
bool FixedClockOn();
void AdvanceFixedClock();
// Tests: replace the clock by a function (nullptr restores the real clock).
void SetClockSource(int32_t (*source)());
