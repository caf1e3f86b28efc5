#include "platform/Maths.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {
constexpr double kDegToRad = std::numbers::pi / 180.0;
}  // namespace

double SinDeg(double degrees) { return std::sin(degrees * kDegToRad); }
double CosDeg(double degrees) { return std::cos(degrees * kDegToRad); }
double ATan2Deg(double y, double x) { return std::atan2(y, x) * (180.0 / std::numbers::pi); }

int32_t TruncToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}
