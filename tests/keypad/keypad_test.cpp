#include "keypad/keypad.h"

#include <gtest/gtest.h>

#include <string>

#include "keypad/virtual_keys.h"
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

// Released keys as the window system reports them: the key's number, the
// pad flag, the character typed and the X keycode, on US and French layouts.
TEST(VirtualKeys, KeysBecomeTheTableCodesByWhatTheyTypeOnAnyLayout)
{
    constexpr int kShiftKey = 0x01000020;
    constexpr int kEacuteKey = 0xC9;
    const struct {
        KeyRelease release;
        int virtualKey;
        const char* what;
    } cases[] = {
        {{'7', false, U'7', 16}, 55, "7"},
        {{'7', true, U'7', 79}, 103, "pad 7"},
        {{'.', false, U'.', 60}, 190, "period"},
        {{'.', true, U'.', 91}, 110, "pad point"},
        {{',', true, U',', 91}, 110, "pad comma"},
        {{'+', true, U'+', 86}, 107, "pad +"},
        {{'-', true, U'-', 82}, 109, "pad -"},
        {{'*', true, U'*', 63}, 106, "pad *"},
        {{'/', true, U'/', 106}, 111, "pad /"},
        {{named_key::Enter, true, U'\r', 104}, 13, "pad Enter"},
        {{named_key::Return, false, U'\r', 36}, 13, "Return"},
        {{named_key::Backspace, false, U'\b', 22}, 8, "Backspace"},
        {{' ', false, U' ', 65}, 32, "Space"},
        {{named_key::Delete, true, 0, 91}, 46, "pad Delete"},
        {{named_key::Escape, false, 0x1B, 9}, 27, "Escape"},
        {{'E', false, 0x05, 26}, 69, "Ctrl+E"},
        {{'F', false, U'f', 41}, 70, "F"},
        {{kShiftKey, false, 0, 50}, 0, "Shift"},
        {{'=', false, U'=', 21}, 0, "="},
        {{'*', false, U'*', 17}, 106, "US Shift+8 multiplies"},
        {{'+', false, U'+', 21}, 107, "US Shift+= adds"},
        {{'-', false, U'-', 20}, 109, "US -"},
        {{'/', false, U'/', 61}, 111, "US /"},
        {{'*', false, 0, 17}, 106, "an operator key that reports no text"},
        {{'!', false, U'!', 10}, 49, "US Shift+1 is still 1"},
        {{')', false, U')', 19}, 48, "US Shift+0 is still 0"},
        {{'-', false, U'-', 15}, 109, "French 6 key subtracts"},
        {{'6', false, U'6', 15}, 54, "French Shift+6"},
        {{'&', false, U'&', 10}, 49, "French 1 key: its digit"},
        {{kEacuteKey, false, U'\u00E9', 11}, 50, "French 2 key: its digit"},
        {{'*', false, U'*', 51}, 106, "French *"},
        {{'/', false, U'/', 60}, 111, "French Shift+:"},
        {{'+', false, U'+', 21}, 107, "French Shift+="},
        {{'.', false, U'.', 59}, 190, "French Shift+;"},
        {{';', false, U'.', 59}, 190, "French Shift+; let go after Shift"},
        {{'&', false, U'1', 10}, 49, "French Shift+1 let go after Shift"},
    };
    for (const auto& each : cases)
        EXPECT_EQ(VirtualKeyFor(each.release), each.virtualKey) << each.what;
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
