#include "platform/Maths.h"

#include <cmath>
#include <numbers>

namespace {
constexpr double kDegToRad = std::numbers::pi / 180.0;
}  // namespace

double SinDeg(double degrees) { return std::sin(degrees * kDegToRad); }
double CosDeg(double degrees) { return std::cos(degrees * kDegToRad); }
double ATan2Deg(double y, double x) { return std::atan2(y, x) * (180.0 / std::numbers::pi); }
