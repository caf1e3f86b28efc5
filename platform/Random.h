// The one global random generator: Park-Miller minimal standard, multiplier 48271,
// modulus 2^31 - 1, first state 0x1234, never seeded by the game.
#pragma once
#include <cstdint>

// A real number from min up to (not including) max; the two may come in either order.
// Rnd() gives 0 <= r < 1. Each call advances the generator once; the real behind it is the
// new state divided by 2^31 - 1, which lies strictly between 0 and 1.
double Rnd(double minValue = 1.0, double maxValue = 0.0);
// A whole number from min to max inclusive, in either order. Rand(n) gives 1..n (and
// Rand(0) gives 0 or 1). One step of the generator per call.
int Rand(int minValue, int maxValue = 1);
// Sets the state. The generator would stick at 0, so a seed that reduces to 0 modulo
// 2^31 - 1 starts from 0x1234 instead; negative seeds count by their value modulo 2^31 - 1.
void SeedRnd(int32_t seed);
// The current state.
int32_t RndSeed();
// Back to the first state (tests).
void ResetRnd();
