#include <gtest/gtest.h>

#include "display/format.h"
#include "engine/key_codes.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

TEST(ResetState, KeepsLastXAndKeyCode)
{
    CalcState state = test::AfterKeys("9 SQRT FIX 2 RAD STO 3 F");
    state.bAudibleClicks = true;
    state.Brightness = -3;
    state.KeyCode = kKeyDivide;
    ResetState(state);
    EXPECT_EQ(state.RegLstX, 9.0);
    EXPECT_EQ(state.KeyCode, kKeyDivide);
    EXPECT_FALSE(state.bAudibleClicks);
    EXPECT_EQ(state.Brightness, 0);
    EXPECT_EQ(state.RegS[3], 0.0);
    EXPECT_EQ(state.DisplayMode, L"SCI");
    EXPECT_EQ(state.AngleMode, L"DEG");
    EXPECT_FALSE(state.FunctionMode);
    EXPECT_TRUE(state.AutoLift);
    state.KeyCode = kNoKey;
    test::Press(state, "LSTX");
    EXPECT_EQ(state.RegX, 9.0);
}

TEST(ResetState, TemplateLooksLikeTheFormattedZero)
{
    CalcState state = MakeResetState();
    EXPECT_EQ(state.DisplayText, L" 0000000 00");
    EXPECT_EQ(state.DecimalLocation, 3);
    EXPECT_EQ(DrawnMainLine(state), L" 0.000000 00");
    test::Press(state, "X<>Y");
    EXPECT_EQ(state.DisplayText, L" 0000000 00");
    EXPECT_EQ(state.DecimalLocation, 3);
}

TEST(ResetState, FreshStateStartsWithLastXZeroAndNoKey)
{
    const CalcState state = MakeResetState();
    EXPECT_EQ(state.RegLstX, 0.0);
    EXPECT_EQ(state.KeyCode, 0);
}

}  // namespace
}  // namespace rpn
