#include "engine/functions.h"

#include <gtest/gtest.h>

#include <cmath>

#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

using test::AfterKeys;

TEST(Trigonometry, TenDecimalPiShowsInDegreeResults)
{
    EXPECT_EQ(AfterKeys("1 8 0 SIN").RegX, 8.979274025031333e-11);
    EXPECT_EQ(AfterKeys("9 0 COS").RegX, 4.4896370125156666e-11);
    EXPECT_EQ(AfterKeys("4 5 TAN").RegX, 0.9999999999551036);
    EXPECT_EQ(AfterKeys("3 0 SIN").RegX, 0.4999999999870395);
    EXPECT_EQ(AfterKeys("1 ASIN").RegX, 90.00000000257238);
    EXPECT_EQ(AfterKeys("1 ATAN").RegX, 45.00000000128619);
    EXPECT_EQ(AfterKeys("GRD 0 ACOS").RegX, 100.0000000028582);
}

TEST(Trigonometry, RadiansPassAnglesThrough)
{
    EXPECT_EQ(AfterKeys("RAD 1 SIN").RegX, std::sin(1.0));
    EXPECT_EQ(ToRadians(2.0, L"rad"), 2.0);
    EXPECT_EQ(FromRadians(2.0, L"XYZ"), 2.0);
}

TEST(AngleConversions, UseTheCalculatorsPi)
{
    EXPECT_EQ(RadiansToDegrees(3.1415926535), 180.0);
    EXPECT_EQ(DegreesToRadians(180.0), 3.1415926535000005);
    // Whatever the angle mode.
    EXPECT_EQ(AfterKeys("GRD 1 8 0 ->RAD").RegX, 3.1415926535000005);
}

TEST(Polar, OneArgumentArctangentKeepsTheRightHalfPlane)
{
    const Polar a = ToPolar(1, 1, L"DEG");
    EXPECT_EQ(a.r, 1.4142135623730951);
    EXPECT_EQ(a.theta, 45.00000000128619);
    const Polar b = ToPolar(-1, 1, L"DEG");
    EXPECT_EQ(b.r, 1.4142135623730951);
    EXPECT_EQ(b.theta, -45.00000000128619);
    const Polar c = ToPolar(0, 1, L"DEG");
    EXPECT_EQ(c.r, 1.0);
    EXPECT_EQ(c.theta, 90.00000000257238);
    const Polar origin = ToPolar(0, 0, L"DEG");
    EXPECT_EQ(origin.r, 0.0);
    EXPECT_TRUE(std::isnan(origin.theta));
}

TEST(Polar, NotANumberAngleStaysInY)
{
    const CalcState state = AfterKeys("0 ENTER 0 ->P");
    EXPECT_EQ(state.RegX, 0.0);
    EXPECT_TRUE(std::isnan(state.RegY));
    EXPECT_NE(state.DisplayText, L"ERROR: NaN");
}

TEST(Hyperbolic, InverseFormulasInTheirOwnOrder)
{
    EXPECT_EQ(ArcSinh(1), 0.8813735870195429);
    EXPECT_EQ(ArcCosh(2), 1.3169578969248166);
    EXPECT_EQ(ArcTanh(0.5), 0.5493061443340549);
    EXPECT_TRUE(std::isinf(ArcSinh(-1e9)));
}

TEST(Factorial, LanczosSeries)
{
    EXPECT_NEAR(Factorial(0), 1.0, 1e-15);
    EXPECT_NEAR(Factorial(5), 120.0, 3e-13);
    EXPECT_EQ(Factorial(0.5), 0.8862269254527537);
    EXPECT_EQ(Factorial(-0.5), 1.7724538509055932);
    EXPECT_NEAR(Factorial(69) / 1.71122452442e98, 1.0, 1e-11);
    EXPECT_NEAR(Factorial(-5.5), -0.0600171, 1e-7);
    EXPECT_TRUE(std::isinf(Factorial(-1)));
    EXPECT_TRUE(std::isinf(Factorial(-2)));
    EXPECT_TRUE(std::isnan(Factorial(-7)));
    EXPECT_TRUE(std::isinf(Factorial(170)));
}

TEST(Factorial, ErrorsReachTheDisplay)
{
    CalcState state = AfterKeys("1 CHS X!");
    EXPECT_EQ(state.DisplayText, L"ERROR: Inf");
    state = AfterKeys("7 CHS X!");
    EXPECT_EQ(state.DisplayText, L"ERROR: NaN");
    EXPECT_EQ(state.RegLstX, -7.0);
}

}  // namespace
}  // namespace rpn
