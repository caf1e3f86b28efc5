#include "platform/Random.h"

#include <cmath>
#include <utility>

namespace {

constexpr int64_t kModulus = 2147483647;  // 2^31 - 1
constexpr int64_t kMultiplier = 48271;
constexpr int64_t kFirstState = 0x1234;

int64_t g_state = kFirstState;

// One step; the result lies in (0, 1).
double NextUnit() {
    g_state = (g_state * kMultiplier) % kModulus;
    return static_cast<double>(g_state) / static_cast<double>(kModulus);
}

}  // namespace

double Rnd(double minValue, double maxValue) {
    if (maxValue < minValue) std::swap(minValue, maxValue);
    double r = minValue + NextUnit() * (maxValue - minValue);
    // Rounding could land on the excluded end of a wide range.
    if (r >= maxValue && maxValue > minValue) r = std::nextafter(maxValue, minValue);
    return r;
}

int Rand(int minValue, int maxValue) {
    if (maxValue < minValue) std::swap(minValue, maxValue);
    int64_t range = static_cast<int64_t>(maxValue) - minValue + 1;
    int64_t pick = static_cast<int64_t>(std::floor(NextUnit() * static_cast<double>(range)));
    if (pick >= range) pick = range - 1;
    return static_cast<int>(minValue + pick);
}

void SeedRnd(int32_t seed) {
    int64_t s = static_cast<int64_t>(seed) % kModulus;
    if (s < 0) s += kModulus;
    g_state = s == 0 ? kFirstState : s;
}

int32_t RndSeed() { return static_cast<int32_t>(g_state); }

void ResetRnd() { g_state = kFirstState; }
