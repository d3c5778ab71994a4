#include "engine/entry.h"

#include <gtest/gtest.h>

#include "display/format.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

using test::AfterKeys;

TEST(NumberEntry, ShowsEntryAsKeyedWithPointAndExponentCells)
{
    struct Case {
        const char* keys;
        const wchar_t* text;
        int decimalLocation;
    };
    for (const Case& c : {
             Case{"1 2 3 4 5", L" 12345", 0},
             Case{"1 2 . 5", L" 125", 4},
             Case{"1 . 5 EEX 1 2 CHS", L" 15     -12", 3},
             Case{"1 2 3 4 5 6 7 8 EEX 3", L" 1234567 03", 0},
             Case{"0 0 5", L" 005", 0},
             Case{".", L" 0", 3},
         }) {
        const CalcState state = AfterKeys(c.keys);
        EXPECT_TRUE(state.EntryMode) << c.keys;
        EXPECT_EQ(state.DisplayText, c.text) << c.keys;
        EXPECT_EQ(state.DecimalLocation, c.decimalLocation) << c.keys;
    }
}

TEST(NumberEntry, LeadingZerosStayAndEnterTheValue)
{
    const CalcState state = AfterKeys("0 0 5 ENTER");
    EXPECT_EQ(state.RegX, 5.0);
    EXPECT_EQ(state.RegY, 5.0);
}

TEST(NumberEntry, MantissaHoldsTenDigits)
{
    CalcState state = AfterKeys("1 2 3 4 5 6 7 8 9 0 1");
    EXPECT_EQ(state.Integer, L"1234567890");
    test::Press(state, ". 5");
    EXPECT_TRUE(state.DecimalMode);
    EXPECT_EQ(state.DecimalLocation, 12);
    EXPECT_EQ(state.Fraction, L"");

    state = AfterKeys("1 2 3 . 4 5 6 7 8 9 0 1 2");
    EXPECT_EQ(state.Integer, L"123");
    EXPECT_EQ(state.Fraction, L"4567890");
}

TEST(NumberEntry, ExponentKeepsLastTwoDigitsAndBackspacesRight)
{
    CalcState state = AfterKeys("1 EEX 1 2 3");
    EXPECT_EQ(state.Exponent, L"23");
    test::Press(state, "BS");
    EXPECT_EQ(state.Exponent, L"02");
    test::Press(state, "BS");
    EXPECT_EQ(state.Exponent, L"00");
    test::Press(state, "BS");
    EXPECT_FALSE(state.ExpoMode);
    EXPECT_EQ(state.Exponent, L"");
    EXPECT_EQ(state.ExponentSign, L" ");
    EXPECT_EQ(state.DisplayText, L" 1");
}

TEST(NumberEntry, SecondEexRestartsExponentAndKeepsItsSign)
{
    const CalcState state = AfterKeys("2 EEX 4 5 CHS EEX");
    EXPECT_EQ(state.Exponent, L"00");
    EXPECT_EQ(state.ExponentSign, L"-");
    EXPECT_EQ(state.IntegerSign, L" ");
}

TEST(NumberEntry, ChsDuringExponentChangesOnlyTheExponentSign)
{
    const CalcState state = AfterKeys("2 CHS EEX 3 CHS");
    EXPECT_EQ(state.IntegerSign, L"-");
    EXPECT_EQ(state.ExponentSign, L"-");
    EXPECT_EQ(state.DisplayText, L"-2      -03");
}

TEST(NumberEntry, EexOutsideAnEntryDoesNothing)
{
    const CalcState before = AfterKeys("5 ENTER");
    const CalcState after = AfterKeys("5 ENTER EEX");
    EXPECT_TRUE(test::SameBits(before, after));
}

TEST(NumberEntry, BackspaceWalksBackThroughPointAndDigits)
{
    CalcState state = AfterKeys("1 2 . 3");
    test::Press(state, "BS");
    EXPECT_EQ(state.Fraction, L"");
    EXPECT_TRUE(state.DecimalMode);
    test::Press(state, "BS");
    EXPECT_FALSE(state.DecimalMode);
    EXPECT_EQ(state.DecimalLocation, 0);
    EXPECT_EQ(state.Integer, L"12");
    test::Press(state, "BS BS");
    EXPECT_FALSE(state.EntryMode);
    EXPECT_FALSE(state.AutoLift);
    EXPECT_EQ(state.RegX, 0.0);
    EXPECT_EQ(state.DisplayText, L" 0000000 00");
}

TEST(NumberEntry, DisplayPrefixDuringEntryKeepsTheEntryOpen)
{
    CalcState state = AfterKeys("1 2 FIX 4 3");
    EXPECT_EQ(state.DisplayMode, L"FIX");
    EXPECT_EQ(state.DisplayPrecision, 4);
    EXPECT_EQ(state.Integer, L"123");

    state = AfterKeys("ENG 1");
    EXPECT_EQ(state.DisplayMode, L"SCI");
    EXPECT_EQ(state.DisplayPrecision, 6);
    EXPECT_EQ(state.SuperMode, L"");
    EXPECT_FALSE(state.EntryMode);
}

TEST(NumberEntry, StoreAndRecallAroundEnter)
{
    CalcState state = AfterKeys("5 ENTER STO 1 3");
    EXPECT_EQ(state.RegS[1], 5.0);
    EXPECT_EQ(state.RegY, 5.0);
    test::Press(state, "ENTER");
    EXPECT_EQ(state.RegX, 3.0);
    EXPECT_EQ(state.RegY, 3.0);
    EXPECT_EQ(state.RegZ, 5.0);

    state = MakeResetState();
    state.RegS[1] = 7.0;
    test::Press(state, "5 ENTER RCL 1");
    EXPECT_EQ(state.RegX, 7.0);
    EXPECT_EQ(state.RegY, 5.0);
    EXPECT_FALSE(state.AutoLift);
    test::Press(state, "3 +");
    EXPECT_EQ(state.RegX, 8.0);
    EXPECT_EQ(state.RegY, 5.0);
}

TEST(NumberEntry, RecallDuringEntryLiftsTheFinishedEntry)
{
    const CalcState state = AfterKeys("4 STO 2 9 RCL 2");
    EXPECT_EQ(state.RegX, 4.0);
    EXPECT_EQ(state.RegY, 9.0);
    EXPECT_EQ(state.RegZ, 4.0);
}

TEST(NumberEntry, PowerOfTenAndMantissaRoundSeparately)
{
    CalcState state = AfterKeys("1 . 1 EEX 5");
    EXPECT_EQ(EntryValue(state), 110000.00000000001);
    state = AfterKeys("1 2 .");
    EXPECT_EQ(EntryValue(state), 12.0);
    state = AfterKeys("0 0 5 . 2 5");
    EXPECT_EQ(EntryValue(state), 5.25);
}

TEST(NumberEntry, DamagedBuffersFromAStoreAreSafe)
{
    CalcState state = MakeResetState();
    state.EntryMode = true;
    state.ExpoMode = true;
    state.Exponent = L"7";
    test::Press(state, "BS");
    EXPECT_EQ(state.Exponent, L"07");

    state.Exponent.clear();
    test::Press(state, "BS");
    EXPECT_EQ(state.Exponent, L"00");

    state = MakeResetState();
    state.EntryMode = true;
    state.Integer = std::wstring(40, L'9');
    UpdateDisplay(state);
    EXPECT_EQ(state.DisplayText.size(), 11u);
    test::Press(state, "7");
    EXPECT_EQ(state.Integer.size(), 40u);
    state.ExpoMode = true;
    state.ExponentSign = L"--";
    state.Exponent = L"12345";
    UpdateDisplay(state);
    EXPECT_EQ(state.DisplayText, L" 9999999--1");

    state = MakeResetState();
    state.EntryMode = true;
    state.Integer = L"";
    test::Press(state, "BS");
    EXPECT_FALSE(state.EntryMode);

    state = MakeResetState();
    state.EntryMode = true;
    state.Integer = L"12abc";
    state.IntegerSign = L"-";
    EXPECT_EQ(EntryValue(state), -12.0);
}

}  // namespace
}  // namespace rpn
