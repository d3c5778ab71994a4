#include "face/keypad.h"

#include <gtest/gtest.h>

#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

TEST(KeyRect, GridOfThirtyFourByThirtyThreeKeys)
{
    EXPECT_EQ(KeyRect(1), (KeyRectangle{4, 84, 38, 117}));
    EXPECT_EQ(KeyRect(20), (KeyRectangle{43, 195, 77, 265}));
    EXPECT_EQ(KeyRect(26), (KeyRectangle{43, 232, 77, 265}));
    EXPECT_EQ(KeyRect(30), (KeyRectangle{199, 232, 233, 265}));
    EXPECT_EQ(KeyRect(0), KeyRectangle{});
    EXPECT_EQ(KeyRect(-3), KeyRectangle{});
    for (int code = 1; code <= kKeyCount; ++code) {
        const KeyRectangle r = KeyRect(code);
        EXPECT_EQ(r.right - r.left, 34) << code;
        EXPECT_EQ(r.bottom - r.top, code == kKeyEnter ? 70 : 33) << code;
    }
}

TEST(HitTest, EdgesGapsAndTheTallEnterKey)
{
    EXPECT_EQ(HitTest(4, 84), 1);
    EXPECT_EQ(HitTest(37, 116), 1);
    EXPECT_EQ(HitTest(38, 84), 0);
    EXPECT_EQ(HitTest(41, 100), 0);
    EXPECT_EQ(HitTest(50, 240), 20);
    EXPECT_EQ(HitTest(50, 264), 20);
    EXPECT_EQ(HitTest(50, 265), 0);
    EXPECT_EQ(HitTest(120, 50), 0);
    EXPECT_EQ(HitTest(100, 119), 0);
    EXPECT_EQ(HitTest(-1, -1), 0);
}

TEST(HitTest, NeverYieldsTheCoveredCode)
{
    for (int y = 0; y < kFaceHeight; ++y)
        for (int x = 0; x < kFaceWidth; ++x)
            ASSERT_NE(HitTest(x, y), 26) << x << "," << y;
}

TEST(KeyTable, LegendsFollowTheFace)
{
    EXPECT_EQ(kKeyTable[2].primary, "SIN");
    EXPECT_EQ(kKeyTable[2].shifted, "SIN⁻¹");
    EXPECT_EQ(kKeyTable[19].primary, "ENTER");
    EXPECT_EQ(kKeyTable[24].colour, KeyColour::Yellow);
    for (std::size_t i = 0; i < kKeyTable.size(); ++i)
        EXPECT_EQ(kKeyTable[i].code, static_cast<int>(i) + 1);
}

TEST(KeyboardKey, MainRowAndPadDigitsAgree)
{
    for (int digit = 0; digit <= 9; ++digit)
        EXPECT_EQ(KeyCodeForVirtualKey(48 + digit), KeyCodeForVirtualKey(96 + digit)) << digit;
    EXPECT_EQ(KeyCodeForVirtualKey(55), 9);
    EXPECT_EQ(KeyCodeForVirtualKey(48), 27);
    EXPECT_EQ(KeyCodeForVirtualKey(190), 28);
    EXPECT_EQ(KeyCodeForVirtualKey(110), 28);
    EXPECT_EQ(KeyCodeForVirtualKey(32), 14);
    EXPECT_EQ(KeyCodeForVirtualKey(13), 20);
    EXPECT_EQ(KeyCodeForVirtualKey(65), 0);
    EXPECT_EQ(KeyCodeForVirtualKey(187), 0);
}

TEST(KeyboardKey, PerformsTheMappedKey)
{
    CalcState state = test::AfterKeys("vk:55 vk:13 vk:99 vk:107");
    EXPECT_EQ(state.RegX, 10.0);
    EXPECT_EQ(state.RegLstX, 3.0);
    EXPECT_EQ(state.KeyCode, 0);
    state = test::AfterKeys("vk:50 vk:69 vk:51 vk:32");
    EXPECT_EQ(state.ExponentSign, L"-");
    state = test::AfterKeys("vk:70");
    EXPECT_TRUE(state.FunctionMode);
}

TEST(KeyboardKey, UnknownKeysOnlyResetKeyCode)
{
    CalcState state = test::AfterKeys("F 1 2");
    const CalcState before = state;
    state.KeyCode = 9;
    test::Press(state, "vk:16 vk:65 vk:67 vk:45");
    EXPECT_TRUE(test::SameBits(state, before));
}

TEST(KeyboardKey, DeleteClearsTheEntryAndShowsTheTemplate)
{
    CalcState state = test::AfterKeys("FIX 2 4 ENTER 5 . 2");
    test::Press(state, "F vk:46");
    EXPECT_FALSE(state.EntryMode);
    EXPECT_EQ(state.RegX, 0.0);
    EXPECT_EQ(state.RegY, 4.0);
    EXPECT_EQ(state.DisplayText, L" 0000000 00");
    EXPECT_EQ(state.DecimalLocation, 3);
    EXPECT_TRUE(state.FunctionMode);
    EXPECT_FALSE(state.AutoLift);
}

TEST(KeyboardKey, EscapeClearsRegistersButKeepsThePrefix)
{
    CalcState state = test::AfterKeys("RAD ENG 3 7 STO 3 ENTER 2 * 9 STO");
    test::Press(state, "vk:27");
    EXPECT_EQ(state.SuperMode, L"STO");
    EXPECT_EQ(state.RegX, 0.0);
    EXPECT_EQ(state.RegY, 0.0);
    EXPECT_EQ(state.RegS[3], 0.0);
    EXPECT_EQ(state.RegLstX, 2.0);
    EXPECT_FALSE(state.EntryMode);
    EXPECT_TRUE(state.AutoLift);
    EXPECT_EQ(state.DisplayText, L" 0000000 00");
    EXPECT_EQ(state.DecimalLocation, 3);
    EXPECT_EQ(state.DisplayMode, L"ENG");
    EXPECT_EQ(state.AngleMode, L"RAD");
    // The prefix still takes the next digit.
    test::Press(state, "5 ENTER");
    EXPECT_EQ(state.RegS[5], 0.0);
    EXPECT_EQ(state.SuperMode, L"");
}

}  // namespace
}  // namespace rpn
