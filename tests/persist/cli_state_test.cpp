#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/runner.h"

namespace rpn {
namespace {

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result RunCli(const std::vector<std::string>& arguments, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::Run(arguments, in, out, err);
    return {status, out.str(), err.str()};
}

class CliStateFiles : public testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        m_directory =
            fs::temp_directory_path() / (std::string("rpn-cli-") + info->name() + "-" + std::to_string(::getpid()));
        fs::remove_all(m_directory);
        fs::create_directories(m_directory);
    }
    void TearDown() override { fs::remove_all(m_directory); }

    std::string Path(const char* name) const { return (m_directory / name).string(); }

    fs::path m_directory;
};

TEST_F(CliStateFiles, SavedStateReadsBackWithEveryFieldEqual)
{
    const Result saved = RunCli({"--save", Path("f.rpn"), "--json", "1", "2", ".", "5", "ENTER"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    const Result loaded = RunCli({"--state", Path("f.rpn"), "--json"});
    ASSERT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_EQ(loaded.out, saved.out);
    EXPECT_EQ(RunCli({"--state", Path("f.rpn"), "+"}).out, " 2.500000 01\n");
}

TEST_F(CliStateFiles, DamagedOrMissingStateFileIsAFileError)
{
    ASSERT_EQ(RunCli({"--save", Path("f.rpn"), "7"}).status, 0);
    const auto size = fs::file_size(Path("f.rpn"));
    fs::copy_file(Path("f.rpn"), Path("short.rpn"));
    fs::resize_file(Path("short.rpn"), size - 1);
    for (const char* name : {"short.rpn", "absent.rpn"}) {
        const Result result = RunCli({"--state", Path(name), "--json", "1"});
        EXPECT_EQ(result.status, 1) << name;
        EXPECT_EQ(result.out, "") << name;
        EXPECT_EQ(result.err, "File Error\n") << name;
    }
}

TEST_F(CliStateFiles, FailedSaveKeepsTheOldFile)
{
    ASSERT_EQ(RunCli({"--save", Path("f.rpn"), "7"}).status, 0);
    const Result result = RunCli({"--save", Path("missing/f.rpn"), "8"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, " 8\n");
    EXPECT_EQ(result.err, "File Error\n");
    EXPECT_EQ(RunCli({"--state", Path("f.rpn")}).out, " 7\n");
}

TEST_F(CliStateFiles, EveryLineStartsFromTheStateFile)
{
    ASSERT_EQ(RunCli({"--save", Path("f.rpn"), "4", "ENTER"}).status, 0);
    const Result result = RunCli({"--state", Path("f.rpn"), "--lines", "--save", Path("g.rpn")}, "+\n*\n");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, " 8.000000 00\n 1.600000 01\n");
    EXPECT_EQ(RunCli({"--state", Path("g.rpn")}).out, " 1.600000 01\n");
}

TEST(CliOptions, StateAndSaveNeedAFileName)
{
    EXPECT_EQ(RunCli({"--state"}).status, 2);
    EXPECT_EQ(RunCli({"1", "--save"}).status, 2);
}

}  // namespace
}  // namespace rpn
