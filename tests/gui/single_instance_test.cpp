#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <future>

#include "app/command_line.h"

namespace rpn::test {
namespace {

using namespace std::chrono_literals;

class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_directory.isValid());
        chmod(m_directory.path().toLocal8Bit().constData(), 0700);
        const std::optional<InstancePaths> paths = InstancePathsIn(Directory(), "/nonexistent");
        ASSERT_TRUE(paths.has_value());
        m_paths = *paths;
    }

    std::string Directory() const { return m_directory.path().toStdString(); }

    // A later start, in a thread of its own, while this one runs the event
    // loop the way the running calculator does.
    InstanceClaim ClaimFromAnotherStart(const SecondStart& request, std::chrono::milliseconds patience = 1s)
    {
        auto later = std::async(std::launch::async, [&] { return ClaimInstance(m_paths, request, patience); });
        EXPECT_TRUE(QTest::qWaitFor([&] { return later.wait_for(0s) == std::future_status::ready; }, 5000));
        return later.get();
    }

    // A socket bound at the path that nobody will ever accept on.
    int BindSilentSocket(bool listening)
    {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", m_paths.socket.c_str());
        EXPECT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        if (listening) {
            EXPECT_EQ(listen(fd, 4), 0);
        }
        return fd;
    }

    QTemporaryDir m_directory;
    InstancePaths m_paths;
};

TEST_F(SingleInstance, TheFirstStartListensAndALaterOneHandsItsRequestOver)
{
    InstanceClaim first = ClaimInstance(m_paths, {});
    ASSERT_FALSE(first.handedOver);
    ASSERT_TRUE(first.listener.Listening());
    InstanceServer server(std::move(first.listener));

    std::vector<SecondStart> received;
    const InstanceClaim early = ClaimFromAnotherStart({std::string("/home/u/a b.rpn")});
    EXPECT_TRUE(early.handedOver) << "answered even before the receiver is set";
    server.SetReceiver([&received](const SecondStart& request) { received.push_back(request); });
    EXPECT_TRUE(ClaimFromAnotherStart({}).handedOver);
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, 2000));
    EXPECT_EQ(received[0].path, std::optional<std::string>("/home/u/a b.rpn"));
    EXPECT_EQ(received[1].path, std::nullopt);

    server.Stop();
    EXPECT_FALSE(server.Listening());
    struct stat status {};
    EXPECT_NE(stat(m_paths.socket.c_str(), &status), 0) << "the socket file goes with the listener";
    const InstanceClaim after = ClaimInstance(m_paths, {}, 100ms);
    EXPECT_FALSE(after.handedOver) << "a stopped calculator takes nothing more";
}

TEST_F(SingleInstance, ASocketLeftBehindIsTakenOverAtOnce)
{
    close(BindSilentSocket(false));
    const auto begin = std::chrono::steady_clock::now();
    InstanceClaim claim = ClaimInstance(m_paths, {});
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 200ms);
    EXPECT_FALSE(claim.handedOver);
    ASSERT_TRUE(claim.listener.Listening());
    InstanceServer server(std::move(claim.listener));
    server.SetReceiver([](const SecondStart&) {});
    EXPECT_TRUE(ClaimFromAnotherStart({}).handedOver);
}

TEST_F(SingleInstance, AHungCalculatorIsWaitedOnForItsPatienceOnlyAndReplaced)
{
    const int hung = BindSilentSocket(true);
    const auto begin = std::chrono::steady_clock::now();
    InstanceClaim claim = ClaimInstance(m_paths, {std::string("/x.rpn")}, 300ms);
    const auto waited = std::chrono::steady_clock::now() - begin;
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(waited, 1s);
    EXPECT_FALSE(claim.handedOver);
    ASSERT_TRUE(claim.listener.Listening());
    InstanceServer server(std::move(claim.listener));
    server.SetReceiver([](const SecondStart&) {});
    EXPECT_TRUE(ClaimFromAnotherStart({}).handedOver) << "the socket is the new calculator's now";
    close(hung);
}

TEST_F(SingleInstance, AStartingCalculatorHoldingTheLockIsWaitedFor)
{
    InstanceClaim first = ClaimInstance(m_paths, {});
    ASSERT_TRUE(first.listener.Listening());
    // As if it had not come to listening yet: the socket is not there, the
    // lock is still held.
    unlink(m_paths.socket.c_str());
    const InstanceClaim later = ClaimInstance(m_paths, {}, 200ms);
    EXPECT_FALSE(later.handedOver);
    EXPECT_TRUE(later.listener.Listening()) << "after the wait it starts on its own";
}

TEST(InstanceProtocol, RequestsRoundTripAndBadBytesAreRefused)
{
    const std::string path = "/tmp/\xC3\xA9t\xC3\xA9.rpn";
    for (const SecondStart& request : {SecondStart{}, SecondStart{path}}) {
        const std::string bytes = EncodeSecondStart(request);
        SecondStart decoded{std::string("stale")};
        EXPECT_EQ(DecodeSecondStart(bytes, decoded), DecodeResult::Complete);
        EXPECT_EQ(decoded.path, request.path);
        EXPECT_EQ(DecodeSecondStart(bytes.substr(0, bytes.size() - 1), decoded), DecodeResult::Incomplete);
    }
    SecondStart ignored;
    const struct {
        std::string bytes;
        DecodeResult expected;
    } cases[] = {
        {"", DecodeResult::Incomplete},
        {"RP", DecodeResult::Incomplete},
        {"GET / HTTP/1.0\r\n", DecodeResult::Invalid},
        {std::string("RPN1\x02\x00\x00\x00", 8) + "ab" + "c", DecodeResult::Invalid},
        {std::string("RPN1\x02\x00\x00\x00", 8) + std::string("a\0", 2), DecodeResult::Invalid},
        {std::string("RPN1\x01\x00\x01\x00", 8), DecodeResult::Invalid},
    };
    for (const auto& each : cases)
        EXPECT_EQ(DecodeSecondStart(each.bytes, ignored), each.expected) << each.bytes;
}

TEST(InstancePlace, ARuntimeDirectoryThatIsNotPrivateIsPassedOver)
{
    QTemporaryDir runtime;
    QTemporaryDir temporary;
    const std::string runtimePath = runtime.path().toStdString();
    chmod(runtimePath.c_str(), 0700);
    EXPECT_EQ(InstancePathsIn(runtimePath, "/nonexistent")->socket,
              runtimePath + "/io.github.rpn_calculator.rpn.socket");
    chmod(runtimePath.c_str(), 0755);
    const std::optional<InstancePaths> fallback = InstancePathsIn(runtimePath, temporary.path().toStdString());
    ASSERT_TRUE(fallback.has_value());
    const std::string own = temporary.path().toStdString() + "/rpn-" + std::to_string(geteuid());
    EXPECT_EQ(fallback->lock, own + "/io.github.rpn_calculator.rpn.lock");
    struct stat status {};
    ASSERT_EQ(stat(own.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_EQ(InstancePathsIn("", temporary.path().toStdString())->lock, fallback->lock);
    // A directory of that name open to others is not used at all.
    chmod(own.c_str(), 0777);
    EXPECT_FALSE(InstancePathsIn("", temporary.path().toStdString()).has_value());
}

TEST(CommandLine, TheOptionsAndTheStateFile)
{
    const struct {
        std::vector<const char*> arguments;
        std::optional<ProgramOption> option;
        std::optional<std::string> file;
    } cases[] = {
        {{"rpn"}, std::nullopt, std::nullopt},
        {{"rpn", "--help"}, ProgramOption::Help, "/work/--help"},
        {{"rpn", "-h"}, ProgramOption::Help, "/work/-h"},
        {{"rpn", "--version"}, ProgramOption::Version, "/work/--version"},
        {{"rpn", "a.rpn", "--version"}, ProgramOption::Version, "/work/a.rpn"},
        {{"rpn", "--helpme"}, std::nullopt, "/work/--helpme"},
        {{"rpn", "/s/a.rpn"}, std::nullopt, "/s/a.rpn"},
        {{"rpn", "d/a.rpn", "b.rpn"}, std::nullopt, "/work/d/a.rpn"},
        {{"rpn", ""}, std::nullopt, std::nullopt},
    };
    for (const auto& each : cases) {
        const int count = static_cast<int>(each.arguments.size());
        EXPECT_EQ(FindProgramOption(count, each.arguments.data()), each.option) << each.arguments.back();
        EXPECT_EQ(StateFileArgument(count, each.arguments.data(), "/work"), each.file) << each.arguments.back();
    }
    EXPECT_EQ(ProgramOptionText(ProgramOption::Help).rfind("Usage: rpn [FILE]\n", 0), 0u);
    EXPECT_EQ(ProgramOptionText(ProgramOption::Version).rfind("rpn ", 0), 0u);
}

}  // namespace
}  // namespace rpn::test
