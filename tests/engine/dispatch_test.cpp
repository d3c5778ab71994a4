#include "engine/dispatch.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/functions.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

using test::AfterKeys;
using test::Press;

TEST(Arithmetic, AddsFromAClearedCalculator)
{
    const CalcState state = AfterKeys("2 ENTER 3 +");
    EXPECT_EQ(state.RegX, 5.0);
    EXPECT_EQ(state.RegLstX, 3.0);
    EXPECT_EQ(state.RegY, 0.0);
    EXPECT_EQ(state.RegZ, 0.0);
    EXPECT_EQ(state.RegT, 0.0);
    EXPECT_EQ(state.DisplayText, L" 5000000 00");
    EXPECT_EQ(state.DecimalLocation, 3);
}

TEST(Arithmetic, TwoOperandKeysTakeYAsTheLeftOperand)
{
    EXPECT_EQ(AfterKeys("5 ENTER *").RegX, 25.0);
    EXPECT_EQ(AfterKeys("9 ENTER 4 -").RegX, 5.0);
    EXPECT_EQ(AfterKeys("9 ENTER 4 /").RegX, 2.25);
    EXPECT_EQ(AfterKeys("2 ENTER 1 0 Y^X").RegX, 1024.0);
}

TEST(Arithmetic, DropDuplicatesT)
{
    CalcState state = MakeResetState();
    state.RegT = 4;
    state.RegZ = 3;
    state.RegY = 2;
    state.RegX = 1;
    Press(state, "+");
    EXPECT_EQ(state.RegX, 3.0);
    EXPECT_EQ(state.RegY, 3.0);
    EXPECT_EQ(state.RegZ, 4.0);
    EXPECT_EQ(state.RegT, 4.0);
    EXPECT_TRUE(state.AutoLift);
}

TEST(Arithmetic, PercentKeepsY)
{
    const CalcState state = AfterKeys("2 0 0 ENTER 1 5 %");
    EXPECT_EQ(state.RegX, 30.0);
    EXPECT_EQ(state.RegY, 200.0);
    EXPECT_EQ(state.RegLstX, 15.0);
}

TEST(Arithmetic, DivisionByZeroShowsInfinityAndClearsX)
{
    const CalcState state = AfterKeys("3 ENTER 0 /");
    EXPECT_EQ(state.DisplayText, L"ERROR: Inf");
    EXPECT_EQ(state.DecimalLocation, 0);
    EXPECT_EQ(state.RegX, 0.0);
    EXPECT_EQ(state.RegLstX, 0.0);
    EXPECT_EQ(state.RegY, 0.0);
    EXPECT_FALSE(state.AutoLift);
}

TEST(Stack, SwapEndsTheEntryFirst)
{
    const CalcState state = AfterKeys("1 ENTER 2 X<>Y");
    EXPECT_EQ(state.RegX, 1.0);
    EXPECT_EQ(state.RegY, 2.0);
}

TEST(Stack, RollsRestoreTheStack)
{
    CalcState start = MakeResetState();
    start.RegX = 1;
    start.RegY = 2;
    start.RegZ = 3;
    start.RegT = 4;
    for (const char* keys : {"RDN RDN RDN RDN", "RUP RUP RUP RUP", "RDN RUP", "RUP RDN"}) {
        CalcState state = start;
        Press(state, keys);
        EXPECT_EQ(state.RegX, 1.0) << keys;
        EXPECT_EQ(state.RegY, 2.0) << keys;
        EXPECT_EQ(state.RegZ, 3.0) << keys;
        EXPECT_EQ(state.RegT, 4.0) << keys;
    }
    CalcState state = start;
    Press(state, "RDN");
    EXPECT_EQ(state.RegX, 2.0);
    EXPECT_EQ(state.RegT, 1.0);
    state = start;
    Press(state, "RUP");
    EXPECT_EQ(state.RegX, 4.0);
    EXPECT_EQ(state.RegY, 1.0);
}

TEST(Stack, RollUpEndsTheEntryFirst)
{
    CalcState state = MakeResetState();
    state.RegT = 8;
    Press(state, "9 RUP");
    EXPECT_EQ(state.RegY, 9.0);
    EXPECT_EQ(state.RegX, 0.0);  // T took Z (0) when the entry lifted the stack.
}

TEST(Stack, LastXAfterEntryLiftsTheEntry)
{
    CalcState state = AfterKeys("4 SQRT");
    Press(state, "9 LSTX");
    EXPECT_EQ(state.RegX, 4.0);
    EXPECT_EQ(state.RegY, 9.0);
    EXPECT_EQ(state.RegZ, 2.0);
}

TEST(Stack, ClrKeepsLastXAndModes)
{
    CalcState state = AfterKeys("FIX 3 RAD 7 STO 4 ENTER 2 * CLR");
    EXPECT_EQ(state.RegX, 0.0);
    EXPECT_EQ(state.RegY, 0.0);
    EXPECT_EQ(state.RegS[4], 0.0);
    EXPECT_EQ(state.DisplayMode, L"FIX");
    EXPECT_EQ(state.AngleMode, L"RAD");
    EXPECT_TRUE(state.AutoLift);
    Press(state, "LSTX");
    EXPECT_EQ(state.RegX, 2.0);
}

TEST(Stack, PushedConstantsAreReplacedAfterEnter)
{
    CalcState state = MakeResetState();
    state.RegX = 10;
    Press(state, "ENTER PI 4 +");
    EXPECT_EQ(state.RegX, 14.0);
}

TEST(Prefixes, FunctionKeyTogglesAndAGapCancels)
{
    EXPECT_FALSE(AfterKeys("F F").FunctionMode);
    const CalcState state = AfterKeys("F k:0");
    EXPECT_FALSE(state.FunctionMode);
    EXPECT_EQ(state.SuperMode, L"");
    const CalcState sto = AfterKeys("STO k:26");
    EXPECT_EQ(sto.SuperMode, L"");
}

TEST(Prefixes, DisplayModePrefixesTakeADigit)
{
    CalcState state = AfterKeys("FIX 4");
    EXPECT_EQ(state.DisplayMode, L"FIX");
    EXPECT_EQ(state.DisplayPrecision, 4);
    state = AfterKeys("ENG 1");
    EXPECT_EQ(state.DisplayMode, L"SCI");
    EXPECT_EQ(state.SuperMode, L"");
    state = AfterKeys("ENG 3");
    EXPECT_EQ(state.DisplayMode, L"ENG");
    EXPECT_EQ(state.DisplayPrecision, 3);
}

TEST(Prefixes, PendingStoreDoesNotCatchOtherKeys)
{
    CalcState state = AfterKeys("4 ENTER 5 STO +");
    EXPECT_EQ(state.RegX, 9.0);
    EXPECT_EQ(state.SuperMode, L"");
    for (const double r : state.RegS)
        EXPECT_EQ(r, 0.0);

    state = AfterKeys("7 ENTER STO .");
    EXPECT_EQ(state.RegS[0], 7.0);
    EXPECT_FALSE(state.EntryMode);

    state = AfterKeys("STO F");
    EXPECT_TRUE(state.FunctionMode);
    EXPECT_EQ(state.SuperMode, L"");
}

TEST(Prefixes, HyperbolicSurvivesFunctionKey)
{
    CalcState state = AfterKeys("1 HYP SIN");
    EXPECT_EQ(state.RegX, std::sinh(1.0));
    state = AfterKeys("1 HYP F");
    EXPECT_TRUE(state.FunctionMode);
    EXPECT_EQ(state.SuperMode, L"HYP");
    Press(state, "F");
    EXPECT_FALSE(state.FunctionMode);
    EXPECT_EQ(state.SuperMode, L"HYP");
    state = AfterKeys("1 HYP ASIN");
    EXPECT_EQ(state.RegX, ArcSinh(1.0));
    state = AfterKeys("HYP 7");
    EXPECT_EQ(state.SuperMode, L"");
    EXPECT_EQ(state.Integer, L"7");
    state = AfterKeys("HYP STO");
    EXPECT_EQ(state.SuperMode, L"STO");
    EXPECT_FALSE(state.FunctionMode);
}

TEST(Prefixes, ModeKeysLeaveTheEntryOpen)
{
    const CalcState state = AfterKeys("1 2 GRD HYP 3");
    EXPECT_TRUE(state.EntryMode);
    EXPECT_EQ(state.Integer, L"123");
    EXPECT_EQ(state.AngleMode, L"GRD");
}

TEST(Functions, PolarAndRectangularHandleLastX)
{
    CalcState state = AfterKeys("7 SQRT 1 ENTER 1 ->P");
    EXPECT_EQ(state.RegX, 1.4142135623730951);
    EXPECT_EQ(state.RegY, 45.00000000128619);
    EXPECT_EQ(state.RegLstX, 1.0);
    state = AfterKeys("7 SQRT 3 0 ENTER 2 ->R");
    EXPECT_EQ(state.RegLstX, 7.0);
    EXPECT_EQ(state.RegX, 1.7320508075838428);
    EXPECT_EQ(state.RegY, 0.999999999974079);
}

TEST(Functions, RandomNumberSpansTheClosedUnitInterval)
{
    CalcState state = MakeResetState();
    test::FixedRandomSource random({0, 4294967295u, 2147483648u});
    state.RegX = 5;
    Press(state, "RAN#", random);
    EXPECT_EQ(state.RegX, 0.0);
    EXPECT_EQ(state.RegY, 5.0);
    EXPECT_EQ(state.RegLstX, 5.0);
    Press(state, "RAN#", random);
    EXPECT_EQ(state.RegX, 1.0);
    EXPECT_EQ(state.RegY, 0.0);
    Press(state, "RAN#", random);
    EXPECT_EQ(state.RegX, 2147483648.0 * kRandomScale);
}

TEST(Functions, PiIsTheTenDecimalConstant)
{
    const CalcState state = AfterKeys("PI");
    EXPECT_EQ(state.RegX, 3.1415926535);
    EXPECT_NE(state.RegX, M_PI);
}

TEST(Dispatch, CodesWithoutHandlersOnlyRunTheCommonEnding)
{
    const CalcState base = AfterKeys("1 2 ENTER 3");
    for (const char* key : {"k:0", "k:26", "k:31", "k:-7", "k:2147483647"}) {
        CalcState state = base;
        Press(state, "F");
        Press(state, key);
        CalcState expected = base;
        EXPECT_TRUE(test::SameBits(state, expected)) << key;
    }
}

}  // namespace
}  // namespace rpn
