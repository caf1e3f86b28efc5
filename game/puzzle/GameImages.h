// Pictures of the game screen's own widgets and flights (the panel's buttons, the hints, the
// flying stars, the hammer), loaded straight into the drawing layer's images.
#pragma once
#include <string>

#include "platform/Image.h"

// bDir + path with the load flags (-1 the defaults; 6 filtered and mipmapped), the handle at its
// centre when midHandle is set. A file that is missing or cannot be read is reported with the
// engine's error line and gives null, which draws nothing.
TImagePtr LoadGameImage(const std::string& path, int flags, bool midHandle);

// The point at p of the cubic Bezier curve from a through m1 and m2 to b, worked out in double
// precision (the flights of stars, hints and charges store it as a float).
inline float BezierAt(double p, float a, float m1, float m2, float b) {
    const double u = 1.0 - p;
    return static_cast<float>(a * u * u * u + 3.0 * m1 * u * u * p + 3.0 * m2 * u * p * p + b * p * p * p);
}

// value moved toward target by rate x delta, stopping exactly at the target.
float Approach(float value, float target, float rate);
