// The millisecond clock, and a fixed-step clock for repeatable headless runs.
#pragma once
#include <cstdint>
#include <string>

// Milliseconds since the platform started (wraps like a 32-bit int). Always the floor of
// MilliSecsExact().
int32_t MilliSecs();
// The same clock with its fraction: real time to the sub-millisecond, the fixed-step clock's
// exact sum of steps, or the test source's value.
double MilliSecsExact();
// Sleeps for the given milliseconds (no-op when the fixed-step clock is on).
void Delay(int ms);

// With the fixed-step clock on, MilliSecs only moves when AdvanceFixedClock is called,
// by exactly msPerStep each time (fractions are kept, so 60 steps of 1000/60 make 1000 ms).
// Switching it on starts it at 0, so every run reads the same times.
void SetFixedClock(bool on, double msPerStep = 1000.0 / 60.0);
bool FixedClockOn();
void AdvanceFixedClock();
// Tests: replace the clock by a function (nullptr restores the real clock). A source wins
// over the fixed-step clock.
void SetClockSource(int32_t (*source)());
// Back to the real clock (tests).
void ResetClock();

// The local date as "DD Mon YYYY" ("07 Mar 2025": day with two digits, English month
// abbreviation) and the local time as "HH:MM:SS" (24-hour clock), whatever the C locale.
std::string CurrentDate();
std::string CurrentTime();
