// The runtime's maths in degrees, in double precision.
#pragma once

double SinDeg(double degrees);
double CosDeg(double degrees);
double ATan2Deg(double y, double x);
