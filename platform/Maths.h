// Maths in degrees, in double precision, and the one safe way a real becomes an int.
#pragma once
#include <cstdint>

double SinDeg(double degrees);
double CosDeg(double degrees);
double ATan2Deg(double y, double x);

// A real as an int: truncated toward zero, NaN as 0, and values beyond the int range held at
// its ends (a plain cast is undefined there). Every number read from a file, and every value
// computed from one, becomes an integer through this.
int32_t TruncToInt(double v);
