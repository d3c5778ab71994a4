#pragma once

#include <string>

namespace rpn {

// The calculator's pi everywhere: the double nearest 3.1415926535, not M_PI.
inline constexpr double kPi = 3.1415926535;
// RAN# scale: the double nearest 1/4294967295, so u = 2^32 - 1 gives exactly 1.
inline constexpr double kRandomScale = 2.3283064370807974e-10;

// Angle conversions for the trigonometric keys; any AngleMode other than
// "DEG" and "GRD" means radians.
double ToRadians(double angle, const std::wstring& angleMode);
double FromRadians(double angle, const std::wstring& angleMode);

// Inverse hyperbolic functions by their textbook formulas, evaluated in this
// order on purpose (their rounding is part of the calculator's behaviour).
double ArcSinh(double x);
double ArcCosh(double x);
double ArcTanh(double x);

// x! as the six-term Lanczos gamma series evaluated at x + 1.
double Factorial(double x);

// Rectangular (x, y) to polar: r and theta in the angle mode, one-argument
// arctangent of y / x.
struct Polar {
    double r;
    double theta;
};
Polar ToPolar(double x, double y, const std::wstring& angleMode);

struct Rectangular {
    double x;
    double y;
};
Rectangular ToRectangular(double r, double theta, const std::wstring& angleMode);

double RadiansToDegrees(double x);
double DegreesToRadians(double x);

}  // namespace rpn
