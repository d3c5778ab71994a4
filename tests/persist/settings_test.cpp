#include "persist/settings.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/number_text.h"
#include "persist/persisted_fields.h"
#include "testsupport/fake_profile_store.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

using test::AfterKeys;
using test::FakeProfileStore;
using test::Press;

// What a document creation does: reset, then load over the defaults.
CalcState Created(FakeProfileStore& store, CalcState state = MakeResetState())
{
    ResetState(state);
    LoadSettings(state, store);
    return state;
}

FakeProfileStore Saved(const CalcState& state)
{
    FakeProfileStore store;
    EXPECT_TRUE(SaveSettings(state, store));
    return store;
}

std::wstring Entry(FakeProfileStore& store, std::wstring_view entry)
{
    return store.GetProfileString(kSettingsSection, entry);
}

TEST(SettingsTable, HoldsTheEntriesInLoadOrderAndWritesThemInSaveOrder)
{
    const std::vector<std::wstring> loadOrder = {L"AngleMode",
                                                 L"SuperMode",
                                                 L"DisplayPrecision",
                                                 L"DecimalLocation",
                                                 L"DisplayMode",
                                                 L"RegS0",
                                                 L"RegS1",
                                                 L"RegS2",
                                                 L"RegS3",
                                                 L"RegS4",
                                                 L"RegS5",
                                                 L"RegS6",
                                                 L"RegS7",
                                                 L"RegS8",
                                                 L"RegS9",
                                                 L"RegT",
                                                 L"RegZ",
                                                 L"RegY",
                                                 L"RegX",
                                                 L"ExponentSign",
                                                 L"IntegerSign",
                                                 L"Exponent",
                                                 L"Fraction",
                                                 L"Integer",
                                                 L"AutoLift",
                                                 L"HelpMode",
                                                 L"FunctionMode",
                                                 L"EntryMode",
                                                 L"ExpoMode",
                                                 L"DecimalMode",
                                                 L"bAudibleClicks",
                                                 L"RegLstX",
                                                 L"Brightness"};
    std::vector<std::wstring> tableOrder;
    for (const PersistedField& field : kPersistedFields)
        tableOrder.emplace_back(field.entry);
    EXPECT_EQ(tableOrder, loadOrder);

    const std::vector<std::wstring> saveOrder = {L"AngleMode",
                                                 L"SuperMode",
                                                 L"DisplayPrecision",
                                                 L"DecimalLocation",
                                                 L"DisplayMode",
                                                 L"RegS0",
                                                 L"RegS1",
                                                 L"RegS2",
                                                 L"RegS3",
                                                 L"RegS4",
                                                 L"RegS5",
                                                 L"RegS6",
                                                 L"RegS7",
                                                 L"RegS8",
                                                 L"RegS9",
                                                 L"RegT",
                                                 L"RegZ",
                                                 L"RegY",
                                                 L"RegX",
                                                 L"RegLstX",
                                                 L"ExponentSign",
                                                 L"IntegerSign",
                                                 L"Exponent",
                                                 L"Fraction",
                                                 L"Integer",
                                                 L"AutoLift",
                                                 L"HelpMode",
                                                 L"FunctionMode",
                                                 L"EntryMode",
                                                 L"ExpoMode",
                                                 L"DecimalMode",
                                                 L"bAudibleClicks",
                                                 L"Brightness"};
    FakeProfileStore store = Saved(MakeResetState());
    EXPECT_EQ(store.WriteLog(), saveOrder);
    EXPECT_EQ(store.Size(), 33u);
}

TEST(SettingsSave, WritesTheDocumentedForms)
{
    CalcState state = AfterKeys("1 2 3 4 . 5 ENTER 2 CHS");
    state.bAudibleClicks = true;
    state.Brightness = 7;
    FakeProfileStore store = Saved(state);
    EXPECT_EQ(Entry(store, L"RegY"), L"1.234500e+03");
    EXPECT_EQ(Entry(store, L"RegX"), L"1.234500e+03");
    EXPECT_EQ(Entry(store, L"Integer"), L"2");
    EXPECT_EQ(Entry(store, L"IntegerSign"), L"-");
    EXPECT_EQ(Entry(store, L"Fraction"), L" ");
    EXPECT_EQ(Entry(store, L"Exponent"), L" ");
    EXPECT_EQ(Entry(store, L"SuperMode"), L" ");
    EXPECT_EQ(Entry(store, L"ExponentSign"), L" ");
    EXPECT_EQ(Entry(store, L"AngleMode"), L"DEG");
    EXPECT_EQ(Entry(store, L"DisplayMode"), L"SCI");
    EXPECT_EQ(Entry(store, L"EntryMode"), L"1");
    EXPECT_EQ(Entry(store, L"bAudibleClicks"), L"1");
    EXPECT_EQ(Entry(store, L"HelpMode"), L"0");
    EXPECT_EQ(Entry(store, L"Brightness"), L"7");
    EXPECT_EQ(Entry(store, L"DisplayPrecision"), L"6");
}

TEST(SettingsSave, ReportsAStoreThatCouldNotBeWritten)
{
    FakeProfileStore store;
    store.FailFlush(true);
    EXPECT_FALSE(SaveSettings(MakeResetState(), store));
}

TEST(SettingsLoad, EmptyStoreKeepsTheResetStateAndDisplay)
{
    FakeProfileStore store;
    CalcState state = MakeResetState();
    state.RegLstX = 4.5;
    EXPECT_FALSE(LoadSettings(state, store));
    CalcState expected = MakeResetState();
    expected.RegLstX = 4.5;
    EXPECT_TRUE(test::SameBits(state, expected));
    EXPECT_EQ(state.DisplayText, L" 0000000 00");
}

TEST(SettingsLoad, RegistersComeBackRoundedToSevenDigits)
{
    CalcState state = AfterKeys("1 ENTER 3 / 2 ENTER 3 /");
    state.RegS[9] = -1e-300;
    FakeProfileStore store = Saved(state);
    const CalcState loaded = Created(store);
    EXPECT_EQ(loaded.RegY, 0.3333333);
    EXPECT_EQ(loaded.RegX, 0.6666667);
    EXPECT_EQ(loaded.RegS[9], -1e-300);
    EXPECT_EQ(loaded.DisplayText, L" 6666667-01");
}

TEST(SettingsLoad, HalfKeyedEntryComesBackOpen)
{
    FakeProfileStore store = Saved(AfterKeys("1 2 ."));
    EXPECT_EQ(Entry(store, L"Fraction"), L" ");
    CalcState loaded = Created(store);
    EXPECT_TRUE(loaded.EntryMode);
    EXPECT_TRUE(loaded.DecimalMode);
    EXPECT_EQ(loaded.Integer, L"12");
    EXPECT_EQ(loaded.Fraction, L"");
    EXPECT_EQ(loaded.SuperMode, L"");
    EXPECT_EQ(loaded.DisplayText, AfterKeys("1 2 .").DisplayText);
    Press(loaded, "5 ENTER");
    EXPECT_EQ(loaded.RegX, 12.5);
}

TEST(SettingsLoad, EveryFieldSurvivesSaveAndLoad)
{
    CalcState state = AfterKeys("RAD 4 ENTER 5 ENTER 6 ENTER 7 + 9 STO 3 SCI 2 1 . 5 EEX 2 CHS");
    state.bAudibleClicks = true;
    state.Brightness = -3;
    state.RegLstX = -0.0;
    FakeProfileStore store = Saved(state);
    CalcState loaded = Created(store);
    EXPECT_TRUE(test::SameBits(loaded, state));
}

TEST(SettingsLoad, ChainStopsAtTheFirstAbsentEntry)
{
    CalcState state = AfterKeys("RAD ENG 3 1 STO 0 2 STO 3 5 STO 4 6 STO 9 7 ENTER 8 ENTER 9");
    state.Brightness = 2;
    state.bAudibleClicks = true;
    FakeProfileStore store = Saved(state);
    store.Erase(kSettingsSection, L"RegS4");

    CalcState before = MakeResetState();
    before.RegLstX = -8.25;
    const CalcState loaded = Created(store, before);
    EXPECT_EQ(loaded.AngleMode, L"RAD");
    EXPECT_EQ(loaded.DisplayMode, L"ENG");
    EXPECT_EQ(loaded.DisplayPrecision, 3);
    EXPECT_EQ(loaded.DecimalLocation, state.DecimalLocation);
    EXPECT_EQ(loaded.RegS[0], 1.0);
    EXPECT_EQ(loaded.RegS[3], 2.0);
    EXPECT_EQ(loaded.RegS[4], 0.0);
    EXPECT_EQ(loaded.RegS[9], 0.0);
    EXPECT_EQ(loaded.RegX, 0.0);
    EXPECT_EQ(loaded.RegY, 0.0);
    EXPECT_FALSE(loaded.EntryMode);
    EXPECT_FALSE(loaded.bAudibleClicks);
    EXPECT_EQ(loaded.Brightness, 0);
    EXPECT_EQ(loaded.RegLstX, -8.25);
    EXPECT_EQ(loaded.DisplayText, L" 0000000 00");
}

TEST(SettingsLoad, SentinelValuesCountAsAbsent)
{
    const CalcState state = AfterKeys("FIX 2 4 2");
    {
        FakeProfileStore store = Saved(state);
        store.WriteProfileInt(kSettingsSection, L"DisplayPrecision", -1);
        const CalcState loaded = Created(store);
        EXPECT_EQ(loaded.AngleMode, L"DEG");
        EXPECT_EQ(loaded.DisplayPrecision, 6);
        EXPECT_EQ(loaded.DisplayMode, L"SCI");
        EXPECT_FALSE(loaded.EntryMode);
    }
    {
        FakeProfileStore store = Saved(state);
        store.WriteProfileInt(kSettingsSection, L"HelpMode", -2);
        const CalcState loaded = Created(store);
        EXPECT_EQ(loaded.Integer, L"42");
        EXPECT_TRUE(loaded.AutoLift);
        EXPECT_FALSE(loaded.EntryMode);
    }
    {
        FakeProfileStore store = Saved(state);
        store.WriteProfileInt(kSettingsSection, L"Brightness", -5);
        CalcState loaded = MakeResetState();
        EXPECT_FALSE(LoadSettings(loaded, store));
        EXPECT_EQ(loaded.Brightness, 0);
        EXPECT_TRUE(loaded.EntryMode);
        EXPECT_EQ(loaded.DisplayMode, L"FIX");
        EXPECT_EQ(loaded.DisplayText, L" 0000000 00");
    }
}

TEST(SettingsLoad, ValuesAreTakenWithoutChecks)
{
    FakeProfileStore store = Saved(MakeResetState());
    store.WriteProfileString(kSettingsSection, L"RegX", L"abc");
    store.WriteProfileString(kSettingsSection, L"RegY", L"  12.5 kg");
    store.WriteProfileString(kSettingsSection, L"RegZ", L"1e+0400");
    store.WriteProfileString(kSettingsSection, L"RegS2", L"-2.5e-0007");
    store.WriteProfileInt(kSettingsSection, L"Brightness", 7);
    store.WriteProfileInt(kSettingsSection, L"HelpMode", 5);
    CalcState loaded = MakeResetState();
    EXPECT_TRUE(LoadSettings(loaded, store));
    EXPECT_EQ(loaded.RegX, 0.0);
    EXPECT_EQ(loaded.RegY, 12.5);
    EXPECT_TRUE(std::isinf(loaded.RegZ));
    EXPECT_EQ(loaded.RegS[2], -2.5e-7);
    EXPECT_EQ(loaded.Brightness, 7);
    EXPECT_TRUE(loaded.HelpMode);
}

TEST(SettingsLoad, OnlyASingleSpaceStandsForTheEmptyText)
{
    FakeProfileStore store = Saved(MakeResetState());
    store.WriteProfileString(kSettingsSection, L"Integer", L"  ");
    store.WriteProfileString(kSettingsSection, L"IntegerSign", L" ");
    const CalcState loaded = Created(store);
    EXPECT_EQ(loaded.Integer, L"  ");
    EXPECT_EQ(loaded.IntegerSign, L" ");
    EXPECT_EQ(loaded.SuperMode, L"");
}

TEST(SettingsLoad, NewDocumentReturnsToTheLastSavedState)
{
    CalcState state = AfterKeys("7 ENTER");
    FakeProfileStore store = Saved(state);
    Press(state, "3 * 2 +");
    ResetState(state);
    LoadSettings(state, store);
    EXPECT_EQ(state.RegX, 7.0);
    EXPECT_EQ(state.RegY, 7.0);
}

}  // namespace
}  // namespace rpn
