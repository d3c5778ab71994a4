#include "app/single_instance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
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
    InstanceClaim ClaimFromAnotherStart(const SecondStart& request, std::chrono::milliseconds patience = 2s)
    {
        auto later = std::async(std::launch::async, [&] { return ClaimInstance(m_paths, request, patience); });
        EXPECT_TRUE(QTest::qWaitFor([&] { return later.wait_for(0s) == std::future_status::ready; }, 5000));
        return later.get();
    }

    // The socket file's identity, to tell whether anyone replaced it.
    ino_t SocketInode() const
    {
        struct stat status {};
        return stat(m_paths.socket.c_str(), &status) == 0 ? status.st_ino : 0;
    }

    // A socket at the path made by someone other than this code: connected
    // to it, bound there (as a killed calculator leaves it), or listening
    // there as a calculator does.
    enum class Use { Connect, Bind, Listen };
    int Socket(Use use) const
    {
        const int fd = socket(AF_UNIX, SOCK_SEQPACKET | (use == Use::Listen ? SOCK_NONBLOCK : 0), 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", m_paths.socket.c_str());
        const auto* name = reinterpret_cast<const sockaddr*>(&address);
        EXPECT_EQ(use == Use::Connect ? connect(fd, name, sizeof address) : bind(fd, name, sizeof address), 0);
        if (use == Use::Listen) {
            EXPECT_EQ(listen(fd, 4), 0);
        }
        return fd;
    }

    // The lock held as a calculator holds it, in a file of its own.
    int HoldLock() const
    {
        const int fd = open(m_paths.lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        EXPECT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
        return fd;
    }

    QTemporaryDir m_directory;
    InstancePaths m_paths;
};

TEST_F(SingleInstance, TheFirstStartListensAndALaterOneHandsItsRequestOver)
{
    InstanceClaim first = ClaimInstance(m_paths, {});
    ASSERT_EQ(first.result, ClaimResult::Calculator);
    InstanceServer server(std::move(first));
    ASSERT_TRUE(server.Listening());

    std::vector<SecondStart> received;
    const SecondStart withFile{std::string("/home/u/a b.rpn"), "launcher-1_TIME42", "token-1"};
    EXPECT_EQ(ClaimFromAnotherStart(withFile).result, ClaimResult::HandedOver) << "answered before the receiver is set";
    server.SetReceiver([&received](const SecondStart& request) { received.push_back(request); });
    EXPECT_EQ(ClaimFromAnotherStart({}).result, ClaimResult::HandedOver);
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }, 2000));
    EXPECT_EQ(received[0].path, withFile.path);
    EXPECT_EQ(received[0].startupId, withFile.startupId);
    EXPECT_EQ(received[0].activationToken, withFile.activationToken);
    EXPECT_EQ(received[1].path, std::nullopt);

    server.Stop();
    EXPECT_FALSE(server.Listening());
    EXPECT_EQ(SocketInode(), 0u) << "the socket file goes with the calculator";
    InstanceClaim after = ClaimInstance(m_paths, {}, 100ms);
    EXPECT_EQ(after.result, ClaimResult::Calculator) << "the lock is free: the next start is the calculator";
    InstanceServer next(std::move(after));
    EXPECT_TRUE(next.Listening());
}

TEST_F(SingleInstance, ASocketLeftByAKilledCalculatorIsReplacedAtOnce)
{
    close(Socket(Use::Bind));
    const auto begin = std::chrono::steady_clock::now();
    InstanceServer server(ClaimInstance(m_paths, {}));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 200ms);
    ASSERT_TRUE(server.Listening());
    server.SetReceiver([](const SecondStart&) {});
    EXPECT_EQ(ClaimFromAnotherStart({}).result, ClaimResult::HandedOver);
}

TEST_F(SingleInstance, AStartThatGetsNoAnswerSaysSoAndLeavesTheSocketAlone)
{
    // A calculator that holds the lock and its socket but never answers, as a
    // hung or stopped one does.
    InstanceClaim hung = ClaimInstance(m_paths, {});
    ASSERT_EQ(hung.result, ClaimResult::Calculator);
    const ino_t socket = SocketInode();
    const auto begin = std::chrono::steady_clock::now();
    const InstanceClaim later = ClaimInstance(m_paths, {.path = "/x.rpn"}, 300ms);
    const auto waited = std::chrono::steady_clock::now() - begin;
    EXPECT_EQ(later.result, ClaimResult::NoAnswer);
    EXPECT_EQ(later.lockFd, -1);
    EXPECT_EQ(later.socketFd, -1);
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(waited, 1s);
    EXPECT_EQ(SocketInode(), socket) << "the running calculator's socket is still there";

    // Once it answers, the queued start's request is not the one taken:
    // a start that gave up is not acted for.
    std::vector<SecondStart> received;
    InstanceServer server(std::move(hung));
    server.SetReceiver([&received](const SecondStart& request) { received.push_back(request); });
    EXPECT_EQ(ClaimFromAnotherStart({.path = "/y.rpn"}).result, ClaimResult::HandedOver);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !received.empty(); }, 2000));
    QTest::qWait(0);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].path, std::optional<std::string>("/y.rpn"));
}

TEST_F(SingleInstance, AStartWaitsForACalculatorStillStartingOrBecomesItWhenThatOneEnds)
{
    // The lock taken, the socket not there yet: the start waits for it.
    const int starting = HoldLock();
    auto later = std::async(std::launch::async, [this] { return ClaimInstance(m_paths, {.path = "/a.rpn"}); });
    InstanceServer server({ClaimResult::Calculator, starting, Socket(Use::Listen), m_paths.socket});
    server.SetReceiver([](const SecondStart&) {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return later.wait_for(0s) == std::future_status::ready; }, 5000));
    EXPECT_EQ(later.get().result, ClaimResult::HandedOver);
    server.Stop();

    // The holder ends after the start has reached it, without an answer: the
    // start takes its place and replaces the socket it left.
    const int ending = HoldLock();
    const int listening = Socket(Use::Listen);
    auto next = std::async(std::launch::async, [this] { return ClaimInstance(m_paths, {}); });
    pollfd reached{listening, POLLIN, 0};
    ASSERT_EQ(poll(&reached, 1, 5000), 1);
    close(accept(listening, nullptr, nullptr));
    close(listening);
    close(ending);
    InstanceClaim claim = next.get();
    EXPECT_EQ(claim.result, ClaimResult::Calculator);
    InstanceServer replacement(std::move(claim));
    replacement.SetReceiver([](const SecondStart&) {});
    EXPECT_EQ(ClaimFromAnotherStart({}).result, ClaimResult::HandedOver);
}

TEST_F(SingleInstance, StartsThatComeAllAtOnceLeaveOneCalculatorAndHandEveryFileOver)
{
    constexpr int kStarts = 16;
    std::vector<std::future<InstanceClaim>> starts;
    for (int index = 0; index < kStarts; ++index)
        starts.push_back(std::async(std::launch::async, [this, index] {
            return ClaimInstance(m_paths, {.path = "/s/" + std::to_string(index) + ".rpn"});
        }));
    std::vector<SecondStart> received;
    std::unique_ptr<InstanceServer> server;
    int calculators = 0;
    int handedOver = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (auto& start : starts) {
                if (!start.valid() || start.wait_for(0s) != std::future_status::ready)
                    continue;
                InstanceClaim claim = start.get();
                handedOver += claim.result == ClaimResult::HandedOver ? 1 : 0;
                if (claim.result == ClaimResult::Calculator && ++calculators == 1) {
                    server = std::make_unique<InstanceServer>(std::move(claim));
                    server->SetReceiver([&received](const SecondStart& request) { received.push_back(request); });
                }
            }
            return calculators + handedOver == kStarts && received.size() == kStarts - 1u;
        },
        10000));
    EXPECT_EQ(calculators, 1);
    EXPECT_EQ(handedOver, kStarts - 1);
}

TEST_F(SingleInstance, SilentOrGarbledConnectionsHoldNoStartUp)
{
    InstanceServer server(ClaimInstance(m_paths, {}));
    std::vector<SecondStart> received;
    server.SetReceiver([&received](const SecondStart& request) { received.push_back(request); });
    // More connections that say nothing than the calculator keeps open, one
    // that sent half a request, and one that sent something else entirely.
    std::vector<int> idle;
    for (int index = 0; index < 40; ++index)
        idle.push_back(Socket(Use::Connect));
    const std::string request = EncodeSecondStart({.path = "/half.rpn"});
    ASSERT_EQ(send(idle.front(), request.data(), request.size() / 2, 0), static_cast<ssize_t>(request.size() / 2));
    const int garbled = Socket(Use::Connect);
    ASSERT_EQ(send(garbled, "GET / HTTP/1.0\r\n\r\n", 18, 0), 18);
    char reply = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return recv(garbled, &reply, 1, MSG_DONTWAIT) == 0; }, 2000))
        << "closed without an answer";

    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(ClaimFromAnotherStart({.path = "/b.rpn"}).result, ClaimResult::HandedOver);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 1s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !received.empty(); }, 2000));
    EXPECT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].path, std::optional<std::string>("/b.rpn"));
    for (const int fd : idle)
        close(fd);
    close(garbled);
}

TEST(InstanceProtocol, RequestsRoundTripAndBadBytesAreRefused)
{
    const std::string path = "/tmp/\xC3\xA9t\xC3\xA9\n.rpn";
    for (const SecondStart& request : {SecondStart{}, SecondStart{path, "id_TIME1", ""}, SecondStart{{}, "", "tok"}}) {
        const std::string bytes = EncodeSecondStart(request);
        const std::optional<SecondStart> decoded = DecodeSecondStart(bytes);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->path, request.path);
        EXPECT_EQ(decoded->startupId, request.startupId);
        EXPECT_EQ(decoded->activationToken, request.activationToken);
        EXPECT_FALSE(DecodeSecondStart(bytes.substr(0, bytes.size() - 1)).has_value()) << "cut short";
        EXPECT_FALSE(DecodeSecondStart(bytes + "x").has_value()) << "more after the end";
    }
    const std::string refused[] = {
        "",
        "GET / HTTP/1.0\r\n",
        std::string("RPN2\0/a\0b\0", 10),
        std::string("RPN2\0/a\0b\0c\0d\0", 14),
        std::string("RPN1\x02\x00\x00\x00"
                    "ab",
                    10),
        std::string("RPN2\0", 5) + std::string(64 * 1024, 'a') + std::string("\0\0\0", 3),
    };
    for (const std::string& bytes : refused)
        EXPECT_FALSE(DecodeSecondStart(bytes).has_value()) << bytes.substr(0, 20);
}

TEST(InstancePlace, ARuntimeDirectoryThatIsNotPrivateGivesWayToAPrivateFolderUnderTheStateDirectory)
{
    QTemporaryDir runtime;
    QTemporaryDir home;
    const std::string runtimePath = runtime.path().toStdString();
    chmod(runtimePath.c_str(), 0700);
    EXPECT_EQ(InstancePathsIn(runtimePath, "/nonexistent")->socket,
              runtimePath + "/io.github.rpn_calculator.rpn.socket");
    chmod(runtimePath.c_str(), 0755);
    // The state directory need not exist yet.
    const std::string state = home.path().toStdString() + "/.local/state";
    const std::optional<InstancePaths> fallback = InstancePathsIn(runtimePath, state);
    ASSERT_TRUE(fallback.has_value());
    EXPECT_EQ(fallback->lock, state + "/rpn/io.github.rpn_calculator.rpn.lock");
    struct stat status {};
    ASSERT_EQ(stat((state + "/rpn").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_EQ(InstancePathsIn("", state)->lock, fallback->lock);
    EXPECT_FALSE(InstancePathsIn("", "").has_value());
    EXPECT_FALSE(InstancePathsIn("", "relative/state").has_value());
    // A folder of that name open to others, or a link, is not used at all.
    chmod((state + "/rpn").c_str(), 0777);
    EXPECT_FALSE(InstancePathsIn("", state).has_value());
    const std::string linked = home.path().toStdString() + "/linked";
    ASSERT_EQ(mkdir(linked.c_str(), 0700), 0);
    ASSERT_EQ(symlink(runtimePath.c_str(), (linked + "/rpn").c_str()), 0);
    chmod(runtimePath.c_str(), 0700);
    EXPECT_FALSE(InstancePathsIn("", linked).has_value());
}

TEST(CommandLine, TheOptionsAndTheStateFile)
{
    const struct {
        std::vector<const char*> arguments;
        std::optional<ProgramOption> option;
        std::optional<std::string> file;
    } cases[] = {
        {{"rpn"}, std::nullopt, std::nullopt},
        {{"rpn", "--help"}, ProgramOption::Help, std::nullopt},
        {{"rpn", "-h"}, ProgramOption::Help, std::nullopt},
        {{"rpn", "--version"}, ProgramOption::Version, std::nullopt},
        {{"rpn", "a.rpn", "--version"}, ProgramOption::Version, "/work/a.rpn"},
        {{"rpn", "--verison"}, ProgramOption::Unknown, std::nullopt},
        {{"rpn", "a.rpn", "-x"}, ProgramOption::Unknown, std::nullopt},
        {{"rpn", "-"}, ProgramOption::Unknown, std::nullopt},
        {{"rpn", "--", "-name"}, std::nullopt, "/work/-name"},
        {{"rpn", "--", "--help"}, std::nullopt, "/work/--help"},
        {{"rpn", "./-name"}, std::nullopt, "/work/./-name"},
        {{"rpn", "/s/a.rpn"}, std::nullopt, "/s/a.rpn"},
        {{"rpn", "d/a.rpn", "b.rpn"}, std::nullopt, "/work/d/a.rpn"},
        {{"rpn", ""}, std::nullopt, std::nullopt},
    };
    for (const auto& each : cases) {
        const CommandLine parsed =
            ParseCommandLine(static_cast<int>(each.arguments.size()), each.arguments.data(), "/work");
        EXPECT_EQ(parsed.option, each.option) << each.arguments.back();
        if (!parsed.option) {
            EXPECT_EQ(parsed.file, each.file) << each.arguments.back();
        }
    }
    const char* const misused[] = {"rpn", "--verison"};
    const std::string text = ProgramOptionText(ParseCommandLine(2, misused, "/work"));
    EXPECT_EQ(text.rfind("rpn: unknown option '--verison'\nUsage: rpn [FILE]\n", 0), 0u) << text;
    EXPECT_EQ(ProgramOptionText({.option = ProgramOption::Help}).rfind("Usage: rpn [FILE]\n", 0), 0u);
    EXPECT_EQ(ProgramOptionText({.option = ProgramOption::Version}).rfind("rpn ", 0), 0u);
}

}  // namespace
}  // namespace rpn::test
