#include "persist/standard_file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "persist/state_file.h"
#include "testsupport/fake_dialogs.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

namespace fs = std::filesystem;

class StandardFileSystemTest : public testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        m_directory =
            fs::temp_directory_path() / (std::string("rpn-persist-") + info->name() + "-" + std::to_string(::getpid()));
        fs::remove_all(m_directory);
        fs::create_directories(m_directory);
    }
    void TearDown() override { fs::remove_all(m_directory); }

    std::wstring Path(const std::string& name) const { return WidePath((m_directory / name).string()); }
    std::string Contents(const std::string& name) const
    {
        std::ifstream in(m_directory / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::size_t EntryCount() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(m_directory), fs::directory_iterator()));
    }

    fs::path m_directory;
    StandardFileSystem m_files;
};

TEST_F(StandardFileSystemTest, CommitReplacesTheFileAndLeavesNoTemporary)
{
    std::ofstream(m_directory / "a.rpn") << "old";
    auto sink = m_files.CreateFile(Path("a.rpn"));
    ASSERT_TRUE(sink);
    const std::uint8_t bytes[] = {'n', 'e', 'w', 0};
    ASSERT_TRUE(sink->Write(bytes));
    EXPECT_EQ(Contents("a.rpn"), "old");
    ASSERT_TRUE(sink->Commit());
    EXPECT_EQ(Contents("a.rpn"), std::string("new\0", 4));
    sink.reset();
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(StandardFileSystemTest, AbandonedSinkKeepsTheOldFile)
{
    std::ofstream(m_directory / "a.rpn") << "old";
    {
        auto sink = m_files.CreateFile(Path("a.rpn"));
        ASSERT_TRUE(sink);
        const std::uint8_t bytes[] = {'x'};
        sink->Write(bytes);
    }
    EXPECT_EQ(Contents("a.rpn"), "old");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(StandardFileSystemTest, MissingDirectoryOrFileFails)
{
    EXPECT_EQ(m_files.CreateFile(Path("no/such/dir.rpn")), nullptr);
    EXPECT_EQ(m_files.OpenFile(Path("absent.rpn")), nullptr);
}

TEST_F(StandardFileSystemTest, StateFileRoundTripsThroughTheDisk)
{
    test::FakeDialogs dialogs;
    const CalcState saved = test::AfterKeys("1 ENTER 7 /");
    const std::wstring path = Path("\xC3\xA9t\xE9.rpn");  // UTF-8 and a stray byte
    ASSERT_TRUE(WriteStateFile(saved, path, m_files, dialogs));
    EXPECT_TRUE(fs::exists(m_directory / "\xC3\xA9t\xE9.rpn"));
    CalcState state = MakeResetState();
    ASSERT_TRUE(ReadStateFile(state, path, m_files, dialogs));
    EXPECT_TRUE(test::SameBits(state, saved));
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST(WidePath, KeepsEveryByteSequence)
{
    for (const std::string bytes : {"plain", "\xC3\xA9", "\xF0\x9F\x98\x80", "\xFF\xC3", "\xED\xA0\x80", "\xC0\xAF"})
        EXPECT_EQ(NarrowPath(WidePath(bytes)), bytes);
    EXPECT_EQ(WidePath("\xC3\xA9"), L"\u00e9");
}

}  // namespace
}  // namespace rpn
