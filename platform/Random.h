// The one global random generator: Park-Miller minimal standard, multiplier 48271,
// first state 0x1234, never seeded by the game.
#pragma once
#include <cstdint>

// A real number from min up to (not including) max; the two may come in either order.
// Rnd() gives 0 <= r < 1.
double Rnd(double minValue = 1.0, double maxValue = 0.0);
// A whole number from min to max inclusive, in either order. Rand(n) gives 1..n.
int Rand(int minValue, int maxValue = 1);
void SeedRnd(int32_t seed);
int32_t RndSeed();
// Back to the first state (tests).
void ResetRnd();
