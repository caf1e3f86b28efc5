// Small helpers shared by the recipe files: truncation of computed positions and colours to the
// whole numbers the creators take, the colour clamp, and degree trigonometry in single
// precision.
#pragma once
#include "engine/system/Basics.h"
#include "platform/Maths.h"

namespace recipe {

// Toward zero, NaN as 0, held at the int range.
inline int T(double v) { return TruncToInt(v); }
// Into 0..255.
inline float Clamp255(float v) { return v > 255.0f ? 255.0f : (v < 0.0f ? 0.0f : v); }
inline float Sin(float degrees) { return static_cast<float>(SinDeg(degrees)); }
inline float Cos(float degrees) { return static_cast<float>(CosDeg(degrees)); }

}  // namespace recipe
