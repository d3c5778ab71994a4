#include "persist/state_file.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "testsupport/fake_dialogs.h"
#include "testsupport/fake_file_system.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

using test::AfterKeys;
using test::Bytes;
using test::FakeDialogs;
using test::FakeFileSystem;
using test::FakeRecentFiles;
using test::SameBits;

const std::wstring kPath = L"/home/user/state.rpn";

// The record spelled out byte by byte, independent of the writer.
struct Layout {
    Bytes bytes;

    Layout& Word(std::uint16_t value)
    {
        bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        return *this;
    }
    Layout& Int32(std::uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        return *this;
    }
    Layout& Double(double value)
    {
        const auto bits = std::bit_cast<std::uint64_t>(value);
        for (int shift = 0; shift < 64; shift += 8)
            bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
        return *this;
    }
    Layout& Byte(std::uint8_t value)
    {
        bytes.push_back(value);
        return *this;
    }
    // Short wide string: 0xFF, tag 0xFFFE, one length byte, UTF-16LE units.
    Layout& Wide(std::u16string_view text)
    {
        Byte(0xFF).Word(0xFFFE).Byte(static_cast<std::uint8_t>(text.size()));
        for (const char16_t unit : text)
            Word(static_cast<std::uint16_t>(unit));
        return *this;
    }
    // Short 8-bit string: one length byte, then the bytes.
    Layout& Narrow(std::string_view text)
    {
        Byte(static_cast<std::uint8_t>(text.size()));
        for (const char c : text)
            Byte(static_cast<std::uint8_t>(c));
        return *this;
    }
};

Bytes WrittenRecord(const CalcState& state)
{
    FakeFileSystem files;
    FakeDialogs dialogs;
    EXPECT_TRUE(WriteStateFile(state, kPath, files, dialogs));
    EXPECT_TRUE(dialogs.Messages().empty());
    return files.Contents(kPath).value_or(Bytes{});
}

// The reset state with every field away from its default.
CalcState BusyState()
{
    CalcState state = AfterKeys("RAD FIX 3 7 STO 2 1 ENTER 3 / 2 ENTER 4 1 . 2 5 EEX 1 2 CHS");
    state.bAudibleClicks = true;
    state.HelpMode = true;
    state.FunctionMode = true;
    state.SuperMode = L"HYP";
    state.Brightness = -4;
    state.RegLstX = -0.0;
    state.RegT = std::bit_cast<double>(0x7FF8000000000ABCull);
    state.RegS[9] = std::bit_cast<double>(0xFFF0000000000001ull);
    state.RegS[0] = std::numeric_limits<double>::denorm_min();
    state.KeyCode = 17;
    return state;
}

TEST(StateFileLayout, ResetStateGivesTheDocumentedBytes)
{
    Layout expected;
    for (int flag = 0; flag < 6; ++flag)
        expected.Word(0);
    expected.Word(1);  // AutoLift
    expected.Wide(u"").Wide(u"").Wide(u"").Wide(u" ").Wide(u" ");
    for (int reg = 0; reg < 14; ++reg)
        expected.Double(0.0);
    expected.Wide(u"SCI").Int32(6).Wide(u"").Wide(u"DEG").Int32(3).Double(0.0).Int32(0);

    const Bytes written = WrittenRecord(MakeResetState());
    EXPECT_EQ(written, expected.bytes);
    // 146 bytes of numbers and flags besides the eight strings.
    EXPECT_EQ(written.size(), 146u + 3 * 4 + 2 * 6 + 10 + 4 + 10);
}

TEST(StateFileLayout, FieldsSitInTheirPlaces)
{
    CalcState state = MakeResetState();
    state.bAudibleClicks = true;
    state.ExpoMode = true;
    state.AutoLift = false;
    state.Integer = L"12";
    state.RegX = 1.5;
    state.RegS[9] = -2.0;
    state.DisplayPrecision = -7;
    state.DecimalLocation = 0x01020304;
    state.RegLstX = 0.25;
    state.Brightness = 9;
    Layout expected;
    expected.Word(1).Word(0).Word(0).Word(1).Word(0).Word(0).Word(0);
    expected.Wide(u"12").Wide(u"").Wide(u"").Wide(u" ").Wide(u" ");
    expected.Double(1.5);
    for (int reg = 0; reg < 12; ++reg)
        expected.Double(0.0);
    expected.Double(-2.0);
    expected.Wide(u"SCI").Int32(static_cast<std::uint32_t>(-7)).Wide(u"").Wide(u"DEG").Int32(0x01020304);
    expected.Double(0.25).Int32(9);
    EXPECT_EQ(WrittenRecord(state), expected.bytes);
}

TEST(StateFileRoundTrip, EveryFieldComesBackBitForBit)
{
    CalcState state = BusyState();
    state.RegX = std::bit_cast<double>(0xFFF800000000DEADull);
    state.Integer = std::wstring(300, L'7');
    state.Fraction = std::wstring(kMostTextUnits, L'1');
    state.Exponent = L"\U0001F600x\u00e9";
    test::MemorySource source(WrittenRecord(state));
    CalcState target = MakeResetState();
    target.KeyCode = state.KeyCode;
    target.DisplayText = state.DisplayText;
    const auto loaded = ReadStateRecord(target, source);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(SameBits(*loaded, state));
}

TEST(StateFileRoundTrip, LoadRebuildsTheDisplayAndKeepsKeyCode)
{
    FakeFileSystem files;
    FakeDialogs dialogs;
    const CalcState saved = AfterKeys("FIX 2 1 2 3 . 4 5 6 ENTER");
    ASSERT_TRUE(WriteStateFile(saved, kPath, files, dialogs));

    CalcState state = AfterKeys("9 9 9");
    state.KeyCode = 5;
    state.DisplayText = L"stale";
    files.ReadPieceSize(7);
    ASSERT_TRUE(ReadStateFile(state, kPath, files, dialogs));
    EXPECT_EQ(state.KeyCode, 5);
    EXPECT_EQ(state.DisplayText, saved.DisplayText);
    state.KeyCode = 0;
    EXPECT_TRUE(SameBits(state, saved));
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST(StateFileRoundTrip, HalfKeyedEntryStaysOpen)
{
    FakeFileSystem files;
    FakeDialogs dialogs;
    ASSERT_TRUE(WriteStateFile(AfterKeys("1 2 ."), kPath, files, dialogs));
    CalcState state = AfterKeys("4 ENTER 8");
    ASSERT_TRUE(ReadStateFile(state, kPath, files, dialogs));
    EXPECT_TRUE(state.EntryMode);
    EXPECT_EQ(state.DisplayText, AfterKeys("1 2 .").DisplayText);
    test::Press(state, "5 ENTER");
    EXPECT_EQ(state.RegX, 12.5);
}

TEST(StateFileRead, BytesAfterTheRecordAreIgnored)
{
    FakeFileSystem files;
    FakeDialogs dialogs;
    Bytes bytes = WrittenRecord(AfterKeys("6 ENTER"));
    bytes.insert(bytes.end(), {1, 2, 3, 0xFF, 0xFF});
    files.Put(kPath, bytes);
    CalcState state = MakeResetState();
    ASSERT_TRUE(ReadStateFile(state, kPath, files, dialogs));
    EXPECT_EQ(state.RegY, 6.0);
}

TEST(StateFileRead, AnyTruncationLeavesTheStateAsItWas)
{
    const Bytes whole = WrittenRecord(BusyState());
    const CalcState before = AfterKeys("3 ENTER 4 . 5");
    for (const std::size_t piece : {std::size_t{0}, std::size_t{1}}) {
        for (std::size_t size = 0; size < whole.size(); ++size) {
            FakeFileSystem files;
            FakeDialogs dialogs;
            files.ReadPieceSize(piece);
            files.Put(kPath, Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)));
            CalcState state = before;
            EXPECT_FALSE(ReadStateFile(state, kPath, files, dialogs)) << size;
            EXPECT_TRUE(SameBits(state, before)) << size;
            ASSERT_EQ(dialogs.Messages(), std::vector<std::wstring>{L"File Error"}) << size;
        }
    }
}

TEST(StateFileRead, MissingFileShowsFileError)
{
    FakeFileSystem files;
    FakeDialogs dialogs;
    const CalcState before = AfterKeys("2 ENTER");
    CalcState state = before;
    EXPECT_FALSE(ReadStateFile(state, L"/nowhere.rpn", files, dialogs));
    EXPECT_TRUE(SameBits(state, before));
    EXPECT_EQ(dialogs.Messages(), std::vector<std::wstring>{L"File Error"});
}

// The flags and the first string, then a string whose length runs past the end.
TEST(StateFileRead, StringLongerThanTheFileIsRejected)
{
    for (const Bytes& length : {Bytes{0xC8}, Bytes{0xFF, 0xFE, 0xFF, 0xC8}, Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF},
                                Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF},
                                Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0xFF, 0xFF, 0xFF, 0x7F}}) {
        Layout layout;
        for (int flag = 0; flag < 7; ++flag)
            layout.Word(0);
        layout.bytes.insert(layout.bytes.end(), length.begin(), length.end());
        layout.bytes.insert(layout.bytes.end(), 40, 'a');
        test::MemorySource source(layout.bytes);
        EXPECT_FALSE(ReadStateRecord(MakeResetState(), source));
    }
}

// A text is at most 4096 units long both ways, so that whatever one program
// writes the other reads, and a declared length is no allocation.
TEST(StateFileText, LongerThanTheLimitFailsBothWays)
{
    for (const auto field : {&CalcState::Integer, &CalcState::AngleMode, &CalcState::SuperMode}) {
        FakeFileSystem files;
        FakeDialogs dialogs;
        files.Put(kPath, {'o', 'l', 'd'});
        CalcState state = MakeResetState();
        state.*field = std::wstring(kMostTextUnits + 1, L'D');
        EXPECT_FALSE(WriteStateFile(state, kPath, files, dialogs));
        EXPECT_EQ(files.Contents(kPath), (Bytes{'o', 'l', 'd'}));
        EXPECT_EQ(dialogs.Messages(), std::vector<std::wstring>{L"File Error"});
    }
    for (const std::uint32_t length : {std::uint32_t{kMostTextUnits + 1}, std::uint32_t{256} << 20}) {
        Layout layout;
        for (int flag = 0; flag < 7; ++flag)
            layout.Word(0);
        layout.Byte(0xFF).Word(0xFFFE).Byte(0xFF).Word(0xFFFF).Int32(length);
        layout.bytes.insert(layout.bytes.end(), 2 * (kMostTextUnits + 1), '7');
        const Bytes rest = WrittenRecord(MakeResetState());
        layout.bytes.insert(layout.bytes.end(), rest.begin() + 14 + 6, rest.end());
        test::MemorySource source(layout.bytes);
        EXPECT_FALSE(ReadStateRecord(MakeResetState(), source)) << length;
    }
}

TEST(StateFileRead, AcceptsEightBitAndLongStringForms)
{
    Layout layout;
    for (int flag = 0; flag < 7; ++flag)
        layout.Word(1);
    layout.Narrow("12");
    layout.Byte(0xFF).Word(300).bytes.insert(layout.bytes.end(), 300, '5');  // 8-bit, 16-bit length
    layout.Narrow("\xE9");
    layout.Byte(0xFF).Word(0xFFFE).Byte(0xFF).Word(0xFFFF).Int32(2).Word(u'-').Word(u'x');  // wide, 32-bit length
    layout.Narrow(" ");
    for (int reg = 0; reg < 14; ++reg)
        layout.Double(reg);
    layout.Narrow("FIX").Int32(2).Narrow("").Narrow("GRD").Int32(1).Double(-1.0).Int32(3);
    layout.bytes.push_back(0x42);  // trailing, ignored

    test::MemorySource source(layout.bytes);
    const auto loaded = ReadStateRecord(MakeResetState(), source);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->bAudibleClicks && loaded->DecimalMode && loaded->EntryMode && loaded->AutoLift);
    EXPECT_EQ(loaded->Integer, L"12");
    EXPECT_EQ(loaded->Fraction, std::wstring(300, L'5'));
    EXPECT_EQ(loaded->Exponent, L"\u00e9");
    EXPECT_EQ(loaded->IntegerSign, L"-x");
    EXPECT_EQ(loaded->ExponentSign, L" ");
    EXPECT_EQ(loaded->RegX, 0.0);
    EXPECT_EQ(loaded->RegS[9], 13.0);
    EXPECT_EQ(loaded->DisplayMode, L"FIX");
    EXPECT_EQ(loaded->AngleMode, L"GRD");
    EXPECT_EQ(loaded->RegLstX, -1.0);
    EXPECT_EQ(loaded->Brightness, 3);
}

TEST(StateFileText, TravelsAsUtf16WithReplacementForWhatItCannotCarry)
{
    CalcState state = MakeResetState();
    state.Integer = L"\U0001F600";
    state.Fraction = std::wstring{static_cast<wchar_t>(0xD800), L'a', static_cast<wchar_t>(0x110000)};
    const Bytes written = WrittenRecord(state);
    Layout prefix;
    for (int flag = 0; flag < 6; ++flag)
        prefix.Word(0);
    prefix.Word(1).Wide(u"\U0001F600").Wide(u"\uFFFDa\uFFFD");
    ASSERT_GE(written.size(), prefix.bytes.size());
    EXPECT_TRUE(std::equal(prefix.bytes.begin(), prefix.bytes.end(), written.begin()));

    // Lone surrogates in a file read as U+FFFD.
    Layout layout;
    for (int flag = 0; flag < 7; ++flag)
        layout.Word(0);
    layout.Byte(0xFF).Word(0xFFFE).Byte(3).Word(0xD83D).Word(u'b').Word(0xDE00);
    layout.Byte(0xFF).Word(0xFFFE).Byte(1).Word(0xD83D);
    Bytes rest = WrittenRecord(MakeResetState());
    layout.bytes.insert(layout.bytes.end(), rest.begin() + 14 + 8, rest.end());  // after two empty strings
    test::MemorySource source(layout.bytes);
    const auto loaded = ReadStateRecord(MakeResetState(), source);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Integer, L"\uFFFDb\uFFFD");
    EXPECT_EQ(loaded->Fraction, L"\uFFFD");
}

TEST(StateFileWrite, FailureAtAnyByteKeepsTheOldFile)
{
    CalcState state = BusyState();
    state.Integer = std::wstring(2100, L'4');  // more than one buffer
    const std::size_t size = WrittenRecord(state).size();
    const Bytes old = {'o', 'l', 'd'};
    for (std::size_t limit = 0; limit < size; ++limit) {
        FakeFileSystem files;
        FakeDialogs dialogs;
        files.Put(kPath, old);
        files.FailAfterBytes(limit);
        EXPECT_FALSE(WriteStateFile(state, kPath, files, dialogs)) << limit;
        ASSERT_EQ(files.Contents(kPath), old) << limit;
        ASSERT_EQ(dialogs.Messages(), std::vector<std::wstring>{L"File Error"}) << limit;
    }
}

TEST(StateFileWrite, FailedCreateOrCommitShowsFileError)
{
    for (const bool failCreate : {true, false}) {
        FakeFileSystem files;
        FakeDialogs dialogs;
        files.Put(kPath, {'o', 'l', 'd'});
        files.FailCreate(failCreate);
        files.FailCommit(!failCreate);
        EXPECT_FALSE(WriteStateFile(MakeResetState(), kPath, files, dialogs));
        EXPECT_EQ(files.Contents(kPath), (Bytes{'o', 'l', 'd'}));
        EXPECT_EQ(dialogs.Messages(), std::vector<std::wstring>{L"File Error"});
    }
}

TEST(SaveStateCommand, AsksForANameAndListsItBeforeWriting)
{
    FakeFileSystem files;
    FakeDialogs dialogs;
    FakeRecentFiles recent;
    int createsAtAdd = -1;
    recent.OnAdd([&](const std::wstring&) { createsAtAdd = files.Creates(); });
    dialogs.AnswerFileName(kPath);
    const CalcState state = AfterKeys("5 ENTER");
    EXPECT_EQ(OnSaveState(state, dialogs, recent, files), kPath);

    ASSERT_EQ(dialogs.Requests().size(), 1u);
    const FileDialogRequest& request = dialogs.Requests().front();
    EXPECT_EQ(request.kind, FileDialogKind::Save);
    EXPECT_EQ(request.title, L"Save State File");
    EXPECT_EQ(request.filter, L"KelRPN settings (*.rpn)|*.rpn");
    EXPECT_EQ(request.defaultExtension, L"*.rpn");
    EXPECT_TRUE(request.confirmOverwrite);
    EXPECT_EQ(recent.Paths(), std::vector<std::wstring>{kPath});
    EXPECT_EQ(createsAtAdd, 0);
    EXPECT_EQ(files.Contents(kPath), WrittenRecord(state));
}

TEST(SaveStateCommand, CancelDoesNothingAndAFailedWriteIsStillListed)
{
    FakeFileSystem files;
    FakeDialogs dialogs;
    FakeRecentFiles recent;
    dialogs.AnswerCancel();
    EXPECT_EQ(OnSaveState(MakeResetState(), dialogs, recent, files), std::nullopt);
    EXPECT_TRUE(recent.Paths().empty());
    EXPECT_EQ(files.Creates(), 0);
    EXPECT_TRUE(dialogs.Messages().empty());

    files.FailCreate(true);
    dialogs.AnswerFileName(kPath);
    EXPECT_EQ(OnSaveState(MakeResetState(), dialogs, recent, files), std::nullopt);
    EXPECT_EQ(recent.Paths(), std::vector<std::wstring>{kPath});
    EXPECT_EQ(dialogs.Messages(), std::vector<std::wstring>{L"File Error"});
}

TEST(LoadStateCommand, ReadsTheChosenFile)
{
    FakeFileSystem files;
    FakeDialogs dialogs;
    FakeRecentFiles recent;
    CalcState saved = AfterKeys("8 ENTER");
    saved.Brightness = 3;
    ASSERT_TRUE(WriteStateFile(saved, kPath, files, dialogs));
    dialogs.AnswerFileName(kPath);
    CalcState state = MakeResetState();
    EXPECT_TRUE(OnLoadState(state, dialogs, recent, files));
    EXPECT_EQ(state.Brightness, 3);
    EXPECT_EQ(state.RegY, 8.0);
    const FileDialogRequest& request = dialogs.Requests().front();
    EXPECT_EQ(request.kind, FileDialogKind::Open);
    EXPECT_EQ(request.title, L"Load State File");
    EXPECT_EQ(request.filter, L"KelRPN settings (*.rpn)|*.rpn");
    EXPECT_EQ(request.defaultExtension, L"*.rpn");
    EXPECT_FALSE(request.confirmOverwrite);
    EXPECT_EQ(recent.Paths(), std::vector<std::wstring>{kPath});
}

TEST(LoadStateCommand, MissingFileIsListedAndChangesNothing)
{
    FakeFileSystem files;
    FakeDialogs dialogs;
    FakeRecentFiles recent;
    dialogs.AnswerFileName(L"/missing.rpn");
    const CalcState before = AfterKeys("1 2");
    CalcState state = before;
    EXPECT_FALSE(OnLoadState(state, dialogs, recent, files));
    EXPECT_TRUE(SameBits(state, before));
    EXPECT_EQ(recent.Paths(), std::vector<std::wstring>{L"/missing.rpn"});
    EXPECT_EQ(dialogs.Messages(), std::vector<std::wstring>{L"File Error"});

    dialogs.AnswerCancel();
    EXPECT_FALSE(OnLoadState(state, dialogs, recent, files));
    EXPECT_EQ(recent.Paths().size(), 1u);
    EXPECT_EQ(files.Opens(), 1);
}

}  // namespace
}  // namespace rpn
