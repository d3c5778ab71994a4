#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "display/format.h"
#include "engine/dispatch.h"
#include "keypad/keypad.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

bool AllDigits(const std::wstring& text)
{
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool IsSign(const std::wstring& sign)
{
    return sign == L" " || sign == L"-";
}

bool IsPrefixKey(bool shifted, int code)
{
    return shifted &&
           (code == kKey7 || code == kKey8 || code == kKey9 || code == kKeyLastX || code == kKey0 || code == kKeyPoint);
}

// The invariants every key must keep, checked after each one.
void ExpectInvariants(const CalcState& state, const std::string& context)
{
    SCOPED_TRACE(context);
    ASSERT_EQ(state.KeyCode, 0);
    ASSERT_TRUE(IsSign(state.IntegerSign));
    ASSERT_TRUE(IsSign(state.ExponentSign));
    ASSERT_TRUE(state.DisplayText.size() <= 11 || IsErrorText(state.DisplayText));

    const bool valuePrefix = state.SuperMode == L"STO" || state.SuperMode == L"RCL" || state.SuperMode == L"FIX" ||
                             state.SuperMode == L"SCI" || state.SuperMode == L"ENG";
    ASSERT_FALSE(valuePrefix && state.FunctionMode);

    if (state.EntryMode) {
        ASSERT_FALSE(state.Integer.empty());
        ASSERT_TRUE(AllDigits(state.Integer) && AllDigits(state.Fraction) && AllDigits(state.Exponent));
        ASSERT_LE(state.Integer.size() + state.Fraction.size(), 10u);
        ASSERT_TRUE(state.DecimalMode || state.Fraction.empty());
        ASSERT_EQ(state.Exponent.size(), state.ExpoMode ? 2u : 0u);
        const auto expectedLocation = state.DecimalMode ? static_cast<int>(state.Integer.size()) + 2 : 0;
        ASSERT_EQ(state.DecimalLocation, expectedLocation);
        return;
    }

    const bool template_ = state.DisplayText == kClearedDisplay && state.DecimalLocation == kClearedDecimalLocation;
    if (template_ || IsErrorText(state.DisplayText))
        return;
    CalcState refreshed = state;
    UpdateDisplay(refreshed);
    ASSERT_EQ(refreshed.DisplayText, state.DisplayText);
    ASSERT_EQ(refreshed.DecimalLocation, state.DecimalLocation);
}

TEST(RandomKeys, HundredThousandKeysKeepTheInvariants)
{
    std::mt19937 keys(20261207);
    StandardRandomSource random(7);
    std::uniform_int_distribution<int> choice(0, 99);
    std::uniform_int_distribution<int> code(0, 31);
    static constexpr int kVirtualKeys[] = {8,   13,  27,  32,  46,  48,  49,  50,  51,  52,  53,  54,
                                           55,  56,  57,  69,  70,  96,  97,  98,  99,  100, 101, 102,
                                           103, 104, 105, 106, 107, 109, 110, 111, 190, 65};
    std::uniform_int_distribution<std::size_t> virtualKey(0, std::size(kVirtualKeys) - 1);

    CalcState state = MakeResetState();
    for (int i = 0; i < 100000; ++i) {
        const int roll = choice(keys);
        if (roll < 85) {
            const bool shifted = state.FunctionMode;
            const int k = code(keys);
            state.KeyCode = k;
            DispatchKey(state, random);
            state.KeyCode = 0;
            if (k != kKeyF && !IsPrefixKey(shifted, k)) {
                ASSERT_FALSE(state.FunctionMode) << "key " << k << " at " << i;
                ASSERT_EQ(state.SuperMode, L"") << "key " << k << " at " << i;
            }
            ExpectInvariants(state, "key code " + std::to_string(k) + " at " + std::to_string(i));
        } else {
            const int vk = kVirtualKeys[virtualKey(keys)];
            KeyboardKey(state, vk, random);
            ExpectInvariants(state, "virtual key " + std::to_string(vk) + " at " + std::to_string(i));
        }
        if (HasFatalFailure())
            return;
        // Now and then start over, so that runs of entry keys and of errors both get long stretches.
        if (choice(keys) == 0 && choice(keys) < 10)
            state = MakeResetState();
    }
}

}  // namespace
}  // namespace rpn
