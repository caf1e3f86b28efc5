// Small helpers shared by the recipe files: truncation of computed positions and colours to the
// whole numbers the creators take, the colour clamp, and degree trigonometry in single
// precision.
#pragma once
#include "engine/basics/Basics.h"
#include "platform/Maths.h"

namespace recipe {

// Toward zero, NaN as 0, held at the int range.
inline int T(double v) { return TruncToInt(v); }
// Into 0..255.
inline float Clamp255(float v) { return v > 255.0f ? 255.0f : (v < 0.0f ? 0.0f : v); }
inline float Sin(float degrees) { return static_cast<float>(SinDeg(degrees)); }
inline float Cos(float degrees) { return static_cast<float>(CosDeg(degrees)); }
// A decimal constant of the recipes, a single-precision value, for use in double arithmetic:
// S(0.7f) * 230 is 160.99999..., which truncates to 160.
constexpr double S(float v) { return v; }

}  // namespace recipe
