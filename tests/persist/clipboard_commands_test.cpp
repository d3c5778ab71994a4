#include "persist/clipboard_commands.h"

#include <gtest/gtest.h>

#include "testsupport/fake_clipboard.h"
#include "testsupport/fake_dialogs.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

using test::AfterKeys;
using test::FakeClipboard;
using test::FakeDialogs;
using test::Press;
using test::SameBits;

class ClipboardCommands : public testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_EQ(m_clipboard.Opens(), m_clipboard.Closes());
        EXPECT_EQ(m_clipboard.Misuses(), 0);
    }

    FakeClipboard m_clipboard;
    FakeDialogs m_dialogs;
};

TEST_F(ClipboardCommands, CopyPutsXAsSevenDigitTextAndChangesNothing)
{
    const CalcState before = AfterKeys("1 2 3 4 . 5 ENTER");
    OnEditCopy(before, m_clipboard);
    EXPECT_EQ(m_clipboard.Text(), L"1.234500e+03");

    const CalcState negative = AfterKeys("2 ENTER 3 / CHS");
    OnEditCopy(negative, m_clipboard);
    EXPECT_EQ(m_clipboard.Text(), L"-6.666667e-01");
}

TEST_F(ClipboardCommands, CopyDuringEntryTakesTheEntryValue)
{
    CalcState state = AfterKeys("9 ENTER 1 . 5 EEX 3 CHS");
    const CalcState before = state;
    OnEditCopy(state, m_clipboard);
    EXPECT_EQ(m_clipboard.Text(), L"1.500000e-03");
    EXPECT_TRUE(SameBits(state, before));
    Press(state, "2");
    EXPECT_EQ(state.Exponent, L"32");
}

TEST_F(ClipboardCommands, CopiedThirdPastesBackRounded)
{
    const CalcState third = AfterKeys("1 ENTER 3 /");
    OnEditCopy(third, m_clipboard);
    CalcState state = MakeResetState();
    EXPECT_TRUE(OnEditPaste(state, m_clipboard, m_dialogs));
    EXPECT_EQ(state.RegX, 0.3333333);
    EXPECT_NE(state.RegX, third.RegX);
}

TEST_F(ClipboardCommands, CutCopiesThenClearsXWithoutLift)
{
    CalcState state = AfterKeys("3 ENTER 7");
    OnEditCut(state, m_clipboard);
    EXPECT_EQ(m_clipboard.Text(), L"7.000000e+00");
    EXPECT_EQ(state.RegX, 0.0);
    EXPECT_EQ(state.RegY, 3.0);
    EXPECT_FALSE(state.EntryMode);
    EXPECT_FALSE(state.AutoLift);
    EXPECT_EQ(state.DisplayText, L" 0000000 00");
    Press(state, "4 ENTER");
    EXPECT_EQ(state.RegY, 4.0);
    EXPECT_EQ(state.RegZ, 3.0);
}

TEST_F(ClipboardCommands, PasteReplacesXInPlace)
{
    CalcState state = AfterKeys("7 ENTER 5 ENTER 1 *");
    const CalcState before = state;
    ASSERT_TRUE(state.AutoLift);
    m_clipboard.SetText(L" 42");
    EXPECT_TRUE(OnEditPaste(state, m_clipboard, m_dialogs));
    EXPECT_EQ(state.RegX, 42.0);
    EXPECT_EQ(state.RegY, before.RegY);
    EXPECT_EQ(state.RegZ, before.RegZ);
    EXPECT_EQ(state.RegLstX, before.RegLstX);
    EXPECT_TRUE(state.AutoLift);
    EXPECT_EQ(state.DisplayText, L" 4200000 01");
    EXPECT_TRUE(m_dialogs.Messages().empty());
}

TEST_F(ClipboardCommands, PasteTakesTheLeadingNumber)
{
    struct Case {
        const wchar_t* text;
        double x;
    };
    for (const Case& c :
         {Case{L"12.5 kg", 12.5}, Case{L"abc", 0.0}, Case{L"", 0.0}, Case{L"\t-3e2x", -300.0}, Case{L"1,5", 1.0}}) {
        CalcState state = AfterKeys("7");
        m_clipboard.SetText(c.text);
        EXPECT_TRUE(OnEditPaste(state, m_clipboard, m_dialogs));
        EXPECT_EQ(state.RegX, c.x) << c.text;
    }
}

TEST_F(ClipboardCommands, PasteDuringEntryAbandonsIt)
{
    CalcState state = AfterKeys("5 ENTER 1 2");
    m_clipboard.SetText(L"8");
    EXPECT_TRUE(OnEditPaste(state, m_clipboard, m_dialogs));
    EXPECT_FALSE(state.EntryMode);
    EXPECT_EQ(state.RegX, 8.0);
    EXPECT_EQ(state.DisplayText, L" 8000000 00");
}

TEST_F(ClipboardCommands, PasteWithoutTextShowsTheMessageAndChangesNothing)
{
    const CalcState before = AfterKeys("5 ENTER 1 2");
    CalcState state = before;
    m_clipboard.SetNonText();
    EXPECT_FALSE(OnEditPaste(state, m_clipboard, m_dialogs));
    EXPECT_TRUE(SameBits(state, before));
    EXPECT_EQ(m_dialogs.Messages(), std::vector<std::wstring>{L"There is no text data (ANSI) on the Clipboard."});
    EXPECT_EQ(OnUpdateEditPaste(m_clipboard), false);
    m_clipboard.SetText(L"1");
    EXPECT_EQ(OnUpdateEditPaste(m_clipboard), true);
}

TEST_F(ClipboardCommands, BusyClipboardIsSkippedSilentlyButCutStillClears)
{
    m_clipboard.SetText(L"old");
    m_clipboard.SetBusy(true);
    const CalcState before = AfterKeys("6 ENTER 7");
    CalcState state = before;
    OnEditCopy(state, m_clipboard);
    EXPECT_FALSE(OnEditPaste(state, m_clipboard, m_dialogs));
    EXPECT_TRUE(SameBits(state, before));
    EXPECT_EQ(OnUpdateEditPaste(m_clipboard), std::nullopt);

    OnEditCut(state, m_clipboard);
    EXPECT_EQ(state.RegX, 0.0);
    EXPECT_EQ(state.RegY, 6.0);
    EXPECT_EQ(m_clipboard.Text(), L"old");
    EXPECT_TRUE(m_dialogs.Messages().empty());
    EXPECT_EQ(m_clipboard.Opens(), 0);
}

}  // namespace
}  // namespace rpn
