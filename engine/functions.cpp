#include "engine/functions.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace rpn {

static_assert(std::bit_cast<std::uint64_t>(kPi) == 0x400921FB54411744ULL);
static_assert(std::bit_cast<std::uint64_t>(kRandomScale) == 0x3DF0000000100000ULL);

namespace {
constexpr double kOne180th = 1.0 / 180.0;
constexpr double kOne200th = 1.0 / 200.0;
}  // namespace

double ToRadians(double angle, const std::wstring& angleMode)
{
    if (angleMode == L"DEG")
        return (kPi * angle) * kOne180th;
    if (angleMode == L"GRD")
        return (kPi * angle) * kOne200th;
    return angle;
}

double FromRadians(double angle, const std::wstring& angleMode)
{
    if (angleMode == L"DEG")
        return (180.0 / kPi) * angle;
    if (angleMode == L"GRD")
        return (200.0 / kPi) * angle;
    return angle;
}

double ArcSinh(double x)
{
    return std::log(std::sqrt(x * x + 1.0) + x);
}

double ArcCosh(double x)
{
    return std::log(std::sqrt(x * x - 1.0) + x);
}

double ArcTanh(double x)
{
    return std::log((x + 1.0) / (1.0 - x)) * 0.5;
}

double Factorial(double x)
{
    static constexpr std::array<double, 6> kCoefficients{
        76.18009172947146,  -86.50532032941677,    24.01409824083091,
        -1.231739572450155, 0.1208650973866179e-2, -0.5395239384953e-5,
    };
    const double z = x + 1.0;
    const double t = z + 5.5;
    double a = (z + 0.5) * std::log(t);
    a = a - t;
    double s = 1.000000000190015;
    double w = z;
    for (const double c : kCoefficients) {
        w = w + 1.0;
        s = c / w + s;
    }
    return ((2.5066282746310005 / z) * std::exp(a)) * s;
}

Polar ToPolar(double x, double y, const std::wstring& angleMode)
{
    return {std::sqrt(y * y + x * x), FromRadians(std::atan(y / x), angleMode)};
}

Rectangular ToRectangular(double r, double theta, const std::wstring& angleMode)
{
    const double radians = ToRadians(theta, angleMode);
    return {r * std::cos(radians), r * std::sin(radians)};
}

double RadiansToDegrees(double x)
{
    return (180.0 / kPi) * x;
}

double DegreesToRadians(double x)
{
    return (x * kPi) * kOne180th;
}

}  // namespace rpn
