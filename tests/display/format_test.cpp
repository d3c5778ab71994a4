#include "display/format.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <limits>

#include "engine/number_text.h"
#include "persist/utf8.h"
#include "testsupport/fake_clipboard.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

using test::AfterKeys;

CalcState InMode(const wchar_t* mode, int precision)
{
    CalcState state = MakeResetState();
    state.DisplayMode = mode;
    state.DisplayPrecision = precision;
    return state;
}

TEST(FormatNumber, ScientificFieldLayout)
{
    EXPECT_EQ(FormatNumber(InMode(L"SCI", 6), 0.0), L" 0.000000 00");
    EXPECT_EQ(FormatNumber(InMode(L"SCI", 2), 123.456), L" 1.23     02");
    EXPECT_EQ(FormatNumber(InMode(L"SCI", 6), -5.0), L"-5.000000 00");
    EXPECT_EQ(FormatNumber(InMode(L"SCI", 0), 42.0), L" 4.       01");
    EXPECT_EQ(FormatNumber(InMode(L"SCI", 9), 1.0 / 3.0), L" 3.333333-01");
    EXPECT_EQ(FormatNumber(InMode(L"SCI", 6), 1e-12), L" 1.000000-12");
    // Three-digit exponents keep their last two digits.
    EXPECT_EQ(FormatNumber(InMode(L"SCI", 6), 9.9999999e99), L" 1.000000 00");
    EXPECT_EQ(FormatNumber(InMode(L"SCI", 6), 1e-200), L" 1.000000-00");
}

TEST(FormatNumber, EngineeringMovesThePointOverDigits)
{
    EXPECT_EQ(FormatNumber(InMode(L"ENG", 6), 0.00123456), L" 1.234560-03");
    EXPECT_EQ(FormatNumber(InMode(L"ENG", 6), 0.0123456), L" 12.34560-03");
    EXPECT_EQ(FormatNumber(InMode(L"ENG", 6), 0.123456), L" 123.4560-03");
    EXPECT_EQ(FormatNumber(InMode(L"ENG", 2), 12345.0), L" 12.3     03");
    EXPECT_EQ(FormatNumber(InMode(L"ENG", 2), 100.0), L" 100.     00");
    EXPECT_EQ(FormatNumber(InMode(L"ENG", 3), -123456.0), L"-123.5    03");
    EXPECT_EQ(FormatNumber(InMode(L"ENG", 6), 1.0), L" 1.000000 00");
}

TEST(FormatNumber, FixedSwitchesToScientificByLengthAndLogarithm)
{
    EXPECT_EQ(FormatNumber(InMode(L"FIX", 4), 123456.78), L" 123456.7800");
    EXPECT_EQ(FormatNumber(InMode(L"FIX", 4), 1234567.5), L" 1.2346   06");
    EXPECT_EQ(FormatNumber(InMode(L"FIX", 4), 1e-25), L" 1.0000  -25");
    EXPECT_EQ(FormatNumber(InMode(L"FIX", 4), -1e-25), L"-0.0000");
    EXPECT_EQ(FormatNumber(InMode(L"FIX", 4), 1e-10), L" 0.0000");
    EXPECT_EQ(FormatNumber(InMode(L"FIX", 9), 1.5), L" 1.500000000");
    EXPECT_EQ(FormatNumber(InMode(L"FIX", 9), 12.5), L" 1.250000 01");
    EXPECT_EQ(FormatNumber(InMode(L"FIX", 0), 42.0), L" 42.");
    EXPECT_EQ(FormatNumber(InMode(L"FIX", 2), -2.5), L"-2.50");
}

TEST(FormatNumber, UnknownModesAndPrecisionsStaySafe)
{
    EXPECT_EQ(FormatNumber(InMode(L"fix", 4), 3.0), L"0");
    EXPECT_EQ(FormatNumber(InMode(L"", 4), 3.0), L"0");
    EXPECT_EQ(FormatNumber(InMode(L"FIX", 99), 1.5), L" 1.500000000");
    EXPECT_EQ(FormatNumber(InMode(L"SCI", -3), 1.5), L" 2.       00");
    CalcState state = InMode(L"ENG", 0);
    EXPECT_EQ(FormatNumber(state, 12345.0).size(), 12u);
    state = InMode(L"XYZ", 6);
    state.RegX = 7;
    UpdateDisplay(state);
    EXPECT_EQ(state.DisplayText, L"0");
    EXPECT_EQ(state.DecimalLocation, 0);
}

TEST(FormatNumber, NonFiniteStackValuesKeepTheFieldWidth)
{
    const CalcState state = InMode(L"SCI", 6);
    EXPECT_EQ(FormatNumber(state, std::numeric_limits<double>::quiet_NaN()), L" nan        ");
    EXPECT_EQ(FormatNumber(state, -std::numeric_limits<double>::infinity()), L"-inf        ");
    EXPECT_EQ(FormatNumber(InMode(L"ENG", 6), std::numeric_limits<double>::infinity()), L" inf        ");
}

TEST(FormatNumber, IgnoresTheProcessLocale)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    // scripts/install-deps.sh generates this comma-decimal locale.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    EXPECT_EQ(FormatNumber(InMode(L"FIX", 2), 1.5), L" 1.50");
    EXPECT_EQ(FormatNumber(InMode(L"SCI", 3), 1234.5), L" 1.234    03");
    EXPECT_EQ(AfterKeys("1 . 5 ENTER").RegX, 1.5);
    EXPECT_EQ(ParseLeadingNumber(L" 2.25e1 kg"), 22.5);
    EXPECT_EQ(RegisterText(1234.5), L"1.234500e+03");
    std::setlocale(LC_ALL, saved.c_str());
}

// Whatever the text, the leading number is the one wcstod reads from the
// whole text in the "C" locale, bit for bit, from UTF-16 and wide text alike.
TEST(ParseLeadingNumber, ReadsWhatWcstodReadsFromTheWholeText)
{
    const std::wstring texts[] = {
        L"12.5 kg",
        L"",
        L"abc",
        L" \t\n\v\f\r-3e2x",
        std::wstring(1'000'000, L' ') + L"42 units",
        L"\u00a0 5",
        L"\u2003 5",
        L"\U0001F600 5",
        L"7\U0001F600",
        std::wstring(L"1.5\0"
                     L"9",
                     5),
        L"1e",
        L"1e+",
        L"1E-3.5",
        L".5.5",
        L"-.e1",
        L"+-1",
        L"0x",
        L"0x1p3",
        L"0X.8P1z",
        L"0x1g",
        L"infinity and beyond",
        L"INFx",
        L"-inf",
        L"nan(abc_1)",
        L"nan(abc",
        L"nan(a b)",
        L"1_000",
        L"1,5",
        L"4\u0661",
        std::wstring(400, L'9') + L"e-400",
        std::wstring(100'000, L'1'),
        L"1e99999",
    };
    const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    for (const std::wstring& text : texts) {
        const double expected = wcstod_l(text.c_str(), nullptr, c);
        const std::string shown = Utf8(text.substr(0, 40));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(ParseLeadingNumber(text)), std::bit_cast<std::uint64_t>(expected))
            << shown;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(ParseLeadingNumber(Utf16(text))), std::bit_cast<std::uint64_t>(expected))
            << shown;
    }
    freelocale(c);
}

TEST(UpdateDisplay, ResetTemplateIsTheFormattedZero)
{
    CalcState state = MakeResetState();
    UpdateDisplay(state);
    EXPECT_EQ(state.DisplayText, kClearedDisplay);
    EXPECT_EQ(state.DecimalLocation, kClearedDecimalLocation);
}

TEST(UpdateDisplay, ErrorChecksReplaceX)
{
    CalcState state = AfterKeys("1 EEX 5 0 ENTER X^2");
    EXPECT_EQ(state.DisplayText, L"ERROR: OVR");
    EXPECT_EQ(state.RegX, 9.999999e99);
    EXPECT_FALSE(state.AutoLift);
    test::Press(state, "1");
    EXPECT_EQ(state.RegY, 1e50);  // not lifted: Y still holds the ENTER copy

    state = AfterKeys("1 EEX 5 0 CHS ENTER ENTER * *");
    EXPECT_EQ(state.RegX, 0.0);
    EXPECT_EQ(state.DisplayText, L" 0000000 00");
    EXPECT_TRUE(state.AutoLift);

    state = AfterKeys("1 CHS SQRT");
    EXPECT_EQ(state.DisplayText, L"ERROR: NaN");
    EXPECT_EQ(state.RegX, 0.0);

    state = AfterKeys("9 EEX 9 9 ENTER 1 0 CHS *");
    EXPECT_EQ(state.DisplayText, L"ERROR: OVR");
    EXPECT_EQ(state.RegX, -9.999999e99);
}

// Entry texts longer than the cells come only from a damaged store: the main
// line shows their start, mantissa and exponent in their usual places, and
// a long run of digits costs nothing beyond the cells.
TEST(UpdateDisplay, EntryTextsLongerThanTheCellsShowTheirStart)
{
    struct Case {
        const wchar_t* integer;
        const wchar_t* fraction;
        bool decimal;
        bool expo;
        const wchar_t* exponentSign;
        const wchar_t* exponent;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"123456789012345", L"", false, false, L" ", L"", L" 1234567890"},
        {L"12", L"345678901234", true, false, L" ", L"", L" 1234567890"},
        {L"12", L"345678901234", false, false, L" ", L"", L" 12"},
        {L"1234567890", L"", false, true, L"-", L"123", L" 1234567-12"},
        {L"1", L"", false, true, L" ", L"5", L" 1       5"},
        {L"1", L"23456789", true, true, L"--", L"", L" 1234567--"},
    };
    for (const Case& c : cases) {
        CalcState state = MakeResetState();
        state.EntryMode = true;
        state.Integer = c.integer;
        state.Fraction = c.fraction;
        state.DecimalMode = c.decimal;
        state.ExpoMode = c.expo;
        state.ExponentSign = c.exponentSign;
        state.Exponent = c.exponent;
        UpdateDisplay(state);
        EXPECT_EQ(state.DisplayText, c.shown) << c.integer;
    }
    CalcState state = MakeResetState();
    state.EntryMode = true;
    state.Integer = std::wstring(3'000'000, L'9');
    UpdateDisplay(state);
    EXPECT_EQ(state.DisplayText, L" 9999999999");
}

TEST(UpdateDisplay, NoChecksDuringEntry)
{
    CalcState state = AfterKeys("9 EEX 9 9");
    EXPECT_EQ(state.DisplayText, L" 9       99");
    test::Press(state, "ENTER");
    EXPECT_EQ(state.DisplayText, L" 9000000 99");
    test::Press(state, "1 0 *");
    EXPECT_EQ(state.DisplayText, L"ERROR: OVR");
}

TEST(UpdateDisplay, JustBelowTheThresholdRoundsToExponentZero)
{
    const CalcState state = AfterKeys("9 . 9 9 9 9 9 9 9 EEX 9 9 ENTER");
    EXPECT_EQ(state.DisplayText, L" 1000000 00");
    EXPECT_EQ(state.RegX, 9.9999999e99);
}

struct MainLineCase {
    const char* keys;
    const wchar_t* drawn;
};

class MainLine : public ::testing::TestWithParam<MainLineCase> {};

TEST_P(MainLine, DrawsPointAndSeparatorsBesideTheirCharacters)
{
    EXPECT_EQ(DrawnMainLine(AfterKeys(GetParam().keys)), GetParam().drawn) << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(
    Display, MainLine,
    ::testing::Values(MainLineCase{"", L" 0.000000 00"}, MainLineCase{"5 CHS ENTER", L"-5.000000 00"},
                      MainLineCase{"1 2 3 4", L" 1,234"}, MainLineCase{"1 2 3 4 5 6 7 8 9 0", L" 1,234,567,890"},
                      MainLineCase{"1 2 3 4 5 6 7 EEX 2", L" 1,234,567 02"},
                      // Mended: the negative exponent keeps the separators.
                      MainLineCase{"1 2 3 4 5 6 7 EEX 2 CHS", L" 1,234,567-02"},
                      MainLineCase{"1 2 3 4 5 EEX 2 CHS", L" 12,345  -02"},
                      MainLineCase{"1 . 5 EEX 1 2 CHS", L" 1.5     -12"}, MainLineCase{"1 2 3 4 . 5", L" 1,234.5"},
                      MainLineCase{"FIX 2 1 2 3 4 5 6 7 ENTER", L" 1,234,567.00"},
                      MainLineCase{"FIX 0 4 2 ENTER", L" 42."}, MainLineCase{"1 EEX 5 0 ENTER X^2", L"ERROR: OVR"},
                      MainLineCase{"0 1/X", L"ERROR: Inf"}));

TEST(StackLine, FixedLinesGetSeparators)
{
    const CalcState fix = InMode(L"FIX", 2);
    EXPECT_EQ(StackLineText(fix, 1234567.891), L" 1,234,567.89");
    EXPECT_EQ(StackLineText(fix, 123.0), L" 123.00");
    EXPECT_EQ(StackLineText(fix, -1234.0), L"-1,234.00");
    EXPECT_EQ(StackLineText(fix, 1e30), L" 1.00     30");
    EXPECT_EQ(StackLineText(InMode(L"SCI", 2), 1234567.0), L" 1.23     06");
}

TEST(StackLine, ModeLabel)
{
    EXPECT_EQ(ModeLabel(MakeResetState()), L"SCI.6");
    EXPECT_EQ(ModeLabel(AfterKeys("ENG 3")), L"ENG.3");
}

}  // namespace
}  // namespace rpn
