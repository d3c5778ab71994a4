#include "keypad/keypad.h"

#include <gtest/gtest.h>

#include <string>

#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

TEST(KeyRect, GridOfThirtyFourByThirtyThreeKeys)
{
    EXPECT_EQ(KeyRect(kKeyExp), (KeyRectangle{4, 84, 38, 117}));
    EXPECT_EQ(KeyRect(kKeyEnter), (KeyRectangle{43, 195, 77, 265}));
    EXPECT_EQ(KeyRect(kKeyEnterLowerHalf), (KeyRectangle{43, 232, 77, 265}));
    EXPECT_EQ(KeyRect(kKeyPlus), (KeyRectangle{199, 232, 233, 265}));
    EXPECT_EQ(KeyRect(kNoKey), KeyRectangle{});
    EXPECT_EQ(KeyRect(-3), KeyRectangle{});
    for (int code = 1; code <= kKeyCount; ++code) {
        const KeyRectangle r = KeyRect(code);
        EXPECT_EQ(r.right - r.left, 34) << code;
        EXPECT_EQ(r.bottom - r.top, code == kKeyEnter ? 70 : 33) << code;
    }
}

TEST(HitTest, EdgesGapsAndTheTallEnterKey)
{
    EXPECT_EQ(HitTest(4, 84), kKeyExp);
    EXPECT_EQ(HitTest(37, 116), kKeyExp);
    EXPECT_EQ(HitTest(38, 84), kNoKey);
    EXPECT_EQ(HitTest(41, 100), kNoKey);
    EXPECT_EQ(HitTest(50, 240), kKeyEnter);
    EXPECT_EQ(HitTest(50, 264), kKeyEnter);
    EXPECT_EQ(HitTest(50, 265), kNoKey);
    EXPECT_EQ(HitTest(120, 50), kNoKey);
    EXPECT_EQ(HitTest(100, 119), kNoKey);
    EXPECT_EQ(HitTest(-1, -1), kNoKey);
}

TEST(HitTest, NeverYieldsTheCoveredCode)
{
    for (int y = 0; y < kFaceHeight; ++y)
        for (int x = 0; x < kFaceWidth; ++x)
            ASSERT_NE(HitTest(x, y), kKeyEnterLowerHalf) << x << "," << y;
}

TEST(KeyTable, LegendsFollowTheFace)
{
    EXPECT_EQ(kKeyTable[kKeySin - 1].primary, "SIN");
    EXPECT_EQ(kKeyTable[kKeySin - 1].shifted, "SIN⁻¹");
    EXPECT_EQ(kKeyTable[kKeyEnter - 1].primary, "ENTER");
    EXPECT_EQ(kKeyTable[kKeyF - 1].colour, KeyColour::Yellow);
    EXPECT_TRUE(RowsInKeyCodeOrder(kKeyTable));
    for (std::size_t digit = 0; digit < kDigitKeys.size(); ++digit)
        EXPECT_EQ(kKeyTable[static_cast<std::size_t>(kDigitKeys[digit] - 1)].primary, std::to_string(digit));
}

// Each per-key table asserts its order with this check when it compiles, so
// the check itself must see a missing row and two rows swapped.
TEST(KeyTable, OrderCheckSeesMissingAndSwappedRows)
{
    struct Row {
        int code;
    };
    std::array<Row, kKeyCount> rows{};
    for (int code = 1; code <= kKeyCount; ++code)
        rows[static_cast<std::size_t>(code - 1)].code = code;
    EXPECT_TRUE(RowsInKeyCodeOrder(rows));
    std::swap(rows[kKeyF - 1], rows[kKeyEnterLowerHalf - 1]);
    EXPECT_FALSE(RowsInKeyCodeOrder(rows));
    EXPECT_FALSE(RowsInKeyCodeOrder(std::array<Row, kKeyCount - 1>{}));
}

TEST(KeyboardKey, MainRowAndPadDigitsAgree)
{
    for (int digit = 0; digit <= 9; ++digit)
        EXPECT_EQ(KeyCodeForVirtualKey(48 + digit), KeyCodeForVirtualKey(96 + digit)) << digit;
    EXPECT_EQ(KeyCodeForVirtualKey(55), kKey7);
    EXPECT_EQ(KeyCodeForVirtualKey(48), kKey0);
    EXPECT_EQ(KeyCodeForVirtualKey(190), kKeyPoint);
    EXPECT_EQ(KeyCodeForVirtualKey(110), kKeyPoint);
    EXPECT_EQ(KeyCodeForVirtualKey(32), kKeyChs);
    EXPECT_EQ(KeyCodeForVirtualKey(13), kKeyEnter);
    EXPECT_EQ(KeyCodeForVirtualKey(65), kNoKey);
    EXPECT_EQ(KeyCodeForVirtualKey(187), kNoKey);
}

TEST(KeyboardKey, PerformsTheMappedKey)
{
    CalcState state = test::AfterKeys("vk:55 vk:13 vk:99 vk:107");
    EXPECT_EQ(state.RegX, 10.0);
    EXPECT_EQ(state.RegLstX, 3.0);
    EXPECT_EQ(state.KeyCode, kNoKey);
    state = test::AfterKeys("vk:50 vk:69 vk:51 vk:32");
    EXPECT_EQ(state.ExponentSign, L"-");
    state = test::AfterKeys("vk:70");
    EXPECT_TRUE(state.FunctionMode);
}

TEST(KeyboardKey, UnknownKeysOnlyResetKeyCode)
{
    CalcState state = test::AfterKeys("F 1 2");
    const CalcState before = state;
    state.KeyCode = kKey7;
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
