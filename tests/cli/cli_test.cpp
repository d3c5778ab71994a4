#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <set>
#include <sstream>

#include "cli/key_names.h"
#include "cli/runner.h"
#include "cli/state_json.h"
#include "engine/calc_state.h"
#include "engine/key_codes.h"

namespace rpn::cli {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result RunCli(std::vector<std::string> arguments, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = Run(arguments, in, out, err);
    return {status, out.str(), err.str()};
}

TEST(RpnCli, PrintsTheDrawnMainLine)
{
    const Result result = RunCli({"2", "ENTER", "3", "+"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, " 5.000000 00\n");
    EXPECT_EQ(result.err, "");
}

TEST(RpnCli, UnknownKeyPerformsNothingAndPrintsNothing)
{
    const Result result = RunCli({"2", "ENTER", "fnord", "+"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "rpn-cli: unknown key 'fnord'\n");

    const Result lines = RunCli({"--lines"}, "2 ENTER 3 +\n4 k:x\n");
    EXPECT_EQ(lines.status, 2);
    EXPECT_EQ(lines.out, "");
    EXPECT_EQ(lines.err, "rpn-cli: unknown key 'k:x'\n");
}

TEST(RpnCli, KeyNamesAreCaseInsensitiveAndShiftedNamesPressF)
{
    EXPECT_EQ(RunCli({"enter", "sqrt"}).out, RunCli({"ENTER", "SQRT"}).out);
    const auto asin = ParseKey("asin");
    ASSERT_TRUE(asin);
    EXPECT_EQ(asin->size(), 2u);
    EXPECT_EQ((*asin)[0].value, kKeyF);
    EXPECT_EQ((*asin)[1].value, kKeySin);
    EXPECT_FALSE(ParseKey("k:"));
    EXPECT_FALSE(ParseKey("vk:1x"));
    EXPECT_TRUE(ParseKey("k:-5"));
}

TEST(RpnCli, LinesRunEachFromTheResetState)
{
    const Result result = RunCli({"--lines"}, "2 ENTER 3 +\n\n7 ENTER\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, " 5.000000 00\n 0.000000 00\n 7.000000 00\n");
}

TEST(RpnCli, SeedRepeatsRandomNumbers)
{
    const Result first = RunCli({"--seed", "42", "RAN#", "RAN#", "+"});
    const Result second = RunCli({"--seed", "42", "RAN#", "RAN#", "+"});
    const Result other = RunCli({"--seed", "43", "RAN#", "RAN#", "+"});
    EXPECT_EQ(first.out, second.out);
    EXPECT_NE(first.out, other.out);
    EXPECT_EQ(RunCli({"--seed", "x"}).status, 2);
    EXPECT_EQ(RunCli({"--seed"}).status, 2);
}

TEST(RpnCli, JsonHasEveryFieldAndNonFiniteNumbersAsStrings)
{
    const Result result = RunCli({"--json", "0", "ENTER", "0", "->P"});
    EXPECT_EQ(result.status, 0);
    for (const char* field : {"\"bAudibleClicks\":", "\"KeyCode\":0", "\"RegY\":\"nan\"",
                              "\"RegS\":[0,0,0,0,0,0,0,0,0,0]", "\"Brightness\":0", "\"Display\":\" 0.000000 00\""})
        EXPECT_NE(result.out.find(field), std::string::npos) << field;
    EXPECT_EQ(result.out.back(), '\n');

    CalcState state = MakeResetState();
    state.RegX = 0.1;
    state.RegZ = std::numeric_limits<double>::infinity();
    state.RegT = -std::numeric_limits<double>::infinity();
    state.IntegerSign = L"\"\\\u00e9";
    const std::string json = StateJson(state);
    for (const char* field : {"\"RegX\":0.10000000000000001,", "\"RegZ\":\"inf\"", "\"RegT\":\"-inf\"",
                              "\"IntegerSign\":\"\\\"\\\\\xc3\xa9\""})
        EXPECT_NE(json.find(field), std::string::npos) << field << " in " << json;
}

// The golden every-key table presses every key name in a script of its own
// (its start does not count), so a key added without a row fails here.
TEST(EveryKeyTable, HasARowForEveryKeyName)
{
    std::ifstream table(RPN_EVERY_KEY_TABLE);
    ASSERT_TRUE(table) << RPN_EVERY_KEY_TABLE;
    std::set<std::string> pressed;
    for (std::string line; std::getline(table, line);) {
        const std::size_t arrow = line.find(" => ");
        if (line.starts_with('#') || arrow == std::string::npos)
            continue;
        std::istringstream keys(line.substr(0, arrow));
        for (std::string key; keys >> key;)
            pressed.insert(key);
    }
    for (const std::string& name : KeyNames())
        EXPECT_TRUE(pressed.contains(name)) << name << " has no row";
}

}  // namespace
}  // namespace rpn::cli
