#include "persist/standard_file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <utility>

#include "persist/safe_replace.h"
#include "persist/settings.h"
#include "persist/state_file.h"
#include "testsupport/fake_dialogs.h"
#include "testsupport/faulty_system_calls.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

namespace fs = std::filesystem;
using test::Call;
using test::FaultyCalls;
using test::kSaveSteps;
using test::SaveStep;

class FileLayer : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "rpn-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_directory = pattern;
    }
    void TearDown() override { fs::remove_all(m_directory); }

    std::string Name(const std::string& name) const { return (m_directory / name).string(); }
    std::wstring Path(const std::string& name) const { return WidePath(Name(name)); }
    std::string Contents(const std::string& name) const
    {
        std::ifstream in(m_directory / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Put(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(m_directory / name, std::ios::binary) << bytes;
    }
    std::set<std::string> Entries() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_directory))
            names.insert(entry.path().filename().string());
        return names;
    }
    bool Save(FileSystem& files, const std::string& name, const CalcState& state = test::AfterKeys("7 ENTER 2"))
    {
        m_dialogs = test::FakeDialogs();
        return WriteStateFile(state, Path(name), files, m_dialogs);
    }

    fs::path m_directory;
    test::FakeDialogs m_dialogs;
};

const std::vector<std::wstring> kFileError{L"File Error"};

TEST_F(FileLayer, AFailureAtAnyStepOfASaveKeepsTheOldFileAndLeavesNothingBehind)
{
    for (const bool existing : {true, false}) {
        for (const SaveStep& step : kSaveSteps) {
            // A new file has no permission bits to keep.
            if (step.call == Call::Fchmod && !existing)
                continue;
            const std::string context = std::string(step.what) + (existing ? ", replacing" : ", new file");
            fs::remove_all(m_directory);
            fs::create_directory(m_directory);
            StandardFileSystem plain;
            if (existing) {
                ASSERT_TRUE(Save(plain, "a.rpn", test::AfterKeys("1 2 3"))) << context;
            }
            const std::string old = existing ? Contents("a.rpn") : "";

            FaultyCalls calls;
            calls.Fail(step.call, step.nth, step.error);
            calls.WritePieces(50);
            StandardFileSystem files(kMostStateFileBytes, &calls);
            errno = 0;
            EXPECT_FALSE(Save(files, "a.rpn")) << context;
            EXPECT_EQ(errno, step.error) << context << ": the cause is lost";
            EXPECT_EQ(m_dialogs.Messages(), kFileError) << context;
            EXPECT_GE(calls.Count(step.call), step.nth) << context << ": the step was never reached";
            if (step.leavesTemporary) {
                EXPECT_EQ(Contents(".a.rpn.saving"), "") << context;
                fs::remove(m_directory / ".a.rpn.saving");
            }
            if (step.afterRename) {
                // Too late to keep the old file: the new one is in place, and
                // the failure is still reported.
                EXPECT_EQ(Entries(), std::set<std::string>{"a.rpn"}) << context;
                CalcState loaded = MakeResetState();
                ASSERT_TRUE(ReadStateFile(loaded, Path("a.rpn"), plain, m_dialogs)) << context;
                EXPECT_TRUE(test::SameBits(loaded, test::AfterKeys("7 ENTER 2"))) << context;
            } else if (existing) {
                EXPECT_EQ(Entries(), std::set<std::string>{"a.rpn"}) << context;
                EXPECT_EQ(Contents("a.rpn"), old) << context;
            } else {
                EXPECT_EQ(Entries(), std::set<std::string>{}) << context;
            }
        }
    }
}

// Each save below runs in a child process that is killed at one step, the
// way a SIGKILL at that moment would end it.
TEST_F(FileLayer, ASaveKilledAtAnyStepLeavesTheOldOrTheNewFileAndAtMostOneOther)
{
    StandardFileSystem plain;
    const CalcState before = test::AfterKeys("1 2 3");
    const CalcState after = test::AfterKeys("7 ENTER 2");
    for (const bool existing : {true, false}) {
        for (const SaveStep& step : kSaveSteps) {
            if (step.call == Call::Fchmod && !existing)
                continue;
            const std::string context = std::string("killed at ") + step.what + (existing ? ", replacing" : ", new");
            fs::remove_all(m_directory);
            fs::create_directory(m_directory);
            if (existing) {
                ASSERT_TRUE(Save(plain, "a.rpn", before)) << context;
            }
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                FaultyCalls calls;
                calls.Kill(step.call, step.nth);
                calls.WritePieces(50);
                StandardFileSystem files(kMostStateFileBytes, &calls);
                Save(files, "a.rpn", after);
                ::_exit(0);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
                << context << ": the step was never reached";

            auto entries = Entries();
            entries.erase(".a.rpn.saving");
            EXPECT_EQ(entries, existing || step.afterRename ? std::set<std::string>{"a.rpn"} : std::set<std::string>{})
                << context;
            if (existing || step.afterRename) {
                CalcState loaded = MakeResetState();
                ASSERT_TRUE(ReadStateFile(loaded, Path("a.rpn"), plain, m_dialogs)) << context;
                EXPECT_TRUE(test::SameBits(loaded, step.afterRename ? after : before)) << context;
            }
            // The next save takes over what the killed one left.
            ASSERT_TRUE(Save(plain, "a.rpn", after)) << context;
            EXPECT_EQ(Entries(), std::set<std::string>{"a.rpn"}) << context;
        }
    }
}

TEST_F(FileLayer, ASaveLeavesAnotherSavesTemporaryFileAlone)
{
    StandardFileSystem files;
    ASSERT_TRUE(Save(files, "a.rpn", test::AfterKeys("1 2 3")));
    const std::string old = Contents("a.rpn");
    // Another save is writing: its temporary file is locked.
    Put(".a.rpn.saving", "half a rec");
    const int other = ::open(Name(".a.rpn.saving").c_str(), O_RDONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    EXPECT_FALSE(Save(files, "a.rpn"));
    EXPECT_EQ(m_dialogs.Messages(), kFileError);
    EXPECT_EQ(Contents("a.rpn"), old);
    EXPECT_EQ(Contents(".a.rpn.saving"), "half a rec");
    // Once that save is gone, what it left is taken over.
    ::close(other);
    EXPECT_TRUE(Save(files, "a.rpn"));
    EXPECT_EQ(Entries(), std::set<std::string>{"a.rpn"});
}

// Another save renames the temporary file into place between this save's
// open and its lock, and a third makes a new one: this save must notice, and
// write neither into the target nor into the third save's file.
TEST_F(FileLayer, ASaveWhoseTemporaryFileLosesItsNameBeforeTheLockFails)
{
    class RacedCalls final : public SystemCalls {
    public:
        explicit RacedCalls(std::string directory) : m_directory(std::move(directory)) {}
        int Flock(int descriptor, int operation) override
        {
            const std::string temporary = m_directory + "/.a.rpn.saving";
            const std::string target = m_directory + "/a.rpn";
            if (std::exchange(m_first, false)) {
                ::rename(temporary.c_str(), target.c_str());
                std::ofstream(temporary) << "a third save's";
            }
            return SystemCalls::Flock(descriptor, operation);
        }

    private:
        std::string m_directory;
        bool m_first = true;
    };
    StandardFileSystem plain;
    ASSERT_TRUE(Save(plain, "a.rpn", test::AfterKeys("1 2 3")));
    const std::string old = Contents("a.rpn");
    // What the other save wrote: here, the old record again.
    Put(".a.rpn.saving", old);
    RacedCalls calls(m_directory.string());
    StandardFileSystem files(kMostStateFileBytes, &calls);
    EXPECT_FALSE(Save(files, "a.rpn"));
    EXPECT_EQ(errno, EBUSY);
    EXPECT_EQ(Contents("a.rpn"), old);
    EXPECT_EQ(Contents(".a.rpn.saving"), "a third save's");
}

TEST_F(FileLayer, SavesWithShortWrites)
{
    StandardFileSystem plain;
    ASSERT_TRUE(Save(plain, "a.rpn", test::AfterKeys("1 2 3")));
    FaultyCalls calls;
    calls.WritePieces(7);
    StandardFileSystem files(kMostStateFileBytes, &calls);
    const CalcState saved = test::AfterKeys("4 ENTER 5");
    ASSERT_TRUE(Save(files, "a.rpn", saved));
    EXPECT_TRUE(m_dialogs.Messages().empty());
    EXPECT_EQ(Entries(), std::set<std::string>{"a.rpn"});
    CalcState loaded = MakeResetState();
    ASSERT_TRUE(ReadStateFile(loaded, Path("a.rpn"), plain, m_dialogs));
    EXPECT_TRUE(test::SameBits(loaded, saved));
}

TEST_F(FileLayer, NothingTouchesTheDiskBeforeTheCommit)
{
    Put("a.rpn", "old");
    StandardFileSystem files;
    {
        auto sink = files.CreateFile(Path("a.rpn"));
        ASSERT_TRUE(sink);
        const std::uint8_t bytes[] = {'n', 'e', 'w'};
        ASSERT_TRUE(sink->Write(bytes));
        EXPECT_EQ(Entries(), std::set<std::string>{"a.rpn"});
    }
    EXPECT_EQ(Contents("a.rpn"), "old");
    EXPECT_EQ(Entries(), std::set<std::string>{"a.rpn"});
    // Nor does a record past the limit ever reach it.
    auto sink = files.CreateFile(Path("a.rpn"));
    ASSERT_TRUE(sink);
    const std::vector<std::uint8_t> tooMany(kMostStateFileBytes + 1, 'x');
    EXPECT_FALSE(sink->Write(tooMany));
    EXPECT_FALSE(sink->Commit());
    EXPECT_EQ(Contents("a.rpn"), "old");
}

TEST_F(FileLayer, ASymbolicLinkStaysALinkAndTheFileItNamesIsReplaced)
{
    StandardFileSystem files;
    fs::create_directory(m_directory / "sub");
    ASSERT_TRUE(Save(files, "sub/real.rpn", test::AfterKeys("1")));
    fs::create_symlink("sub/real.rpn", m_directory / "relative.rpn");
    fs::create_symlink(m_directory / "relative.rpn", m_directory / "chain.rpn");
    ASSERT_TRUE(Save(files, "chain.rpn", test::AfterKeys("9 ENTER")));
    EXPECT_TRUE(fs::is_symlink(m_directory / "chain.rpn"));
    EXPECT_TRUE(fs::is_symlink(m_directory / "relative.rpn"));
    CalcState loaded = MakeResetState();
    ASSERT_TRUE(ReadStateFile(loaded, Path("sub/real.rpn"), files, m_dialogs));
    EXPECT_EQ(loaded.RegY, 9.0);
    EXPECT_EQ(Entries(), (std::set<std::string>{"chain.rpn", "relative.rpn", "sub"}));
}

TEST_F(FileLayer, RefusesWhatIsNoWritableRegularFile)
{
    StandardFileSystem files;
    fs::create_symlink(m_directory / "nowhere.rpn", m_directory / "dangling.rpn");
    fs::create_symlink("loop.rpn", m_directory / "loop.rpn");
    fs::create_directory(m_directory / "directory.rpn");
    ASSERT_EQ(::mkfifo(Name("fifo.rpn").c_str(), 0644), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    Name("socket.rpn").copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    Put("read-only.rpn", "old");
    fs::permissions(m_directory / "read-only.rpn", fs::perms::owner_read | fs::perms::group_read);
    fs::create_symlink("/dev/null", m_directory / "device.rpn");
    const auto before = Entries();
    const std::string notRegular = "not a regular file";
    const std::pair<const char*, std::string> refusals[] = {
        {"dangling.rpn", std::strerror(ENOENT)},
        {"loop.rpn", std::strerror(ELOOP)},
        {"directory.rpn", notRegular},
        {"fifo.rpn", notRegular},
        {"socket.rpn", notRegular},
        {"read-only.rpn", std::strerror(EACCES)},
        {"device.rpn", notRegular},
        {"missing/a.rpn", std::strerror(ENOENT)},
        {"directory.rpn/", notRegular},
    };
    for (const auto& [name, cause] : refusals) {
        errno = 0;
        EXPECT_FALSE(Save(files, name)) << name;
        EXPECT_EQ(FileErrorText(errno), cause) << name;
        EXPECT_EQ(m_dialogs.Messages(), kFileError) << name;
    }
    ::close(listener);
    EXPECT_EQ(Entries(), before);
    EXPECT_TRUE(fs::is_symlink(m_directory / "dangling.rpn"));
    EXPECT_EQ(Contents("read-only.rpn"), "old");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(FileLayer, TheNewFileKeepsThePermissionBitsOfTheOld)
{
    StandardFileSystem files;
    for (const mode_t mode : {0600u, 0640u, 0664u, 0604u}) {
        Put("a.rpn", "old");
        ASSERT_EQ(::chmod(Name("a.rpn").c_str(), mode), 0);
        ASSERT_TRUE(Save(files, "a.rpn"));
        struct stat info {};
        ASSERT_EQ(::stat(Name("a.rpn").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, mode);
    }
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(Save(files, "new.rpn"));
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(Name("new.rpn").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(FileLayer, ReadsOnlyRegularFilesWithinTheLimitAndNeverWaits)
{
    {
        // Sparse: 256 MiB on paper, nothing on the disk.
        const int descriptor = ::open(Name("sparse.rpn").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(descriptor, 0);
        ASSERT_EQ(::ftruncate(descriptor, off_t{256} << 20), 0);
        ::close(descriptor);
    }
    ASSERT_EQ(::mkfifo(Name("fifo.rpn").c_str(), 0644), 0);
    fs::create_directory(m_directory / "directory.rpn");
    const std::string notRegular = "not a regular file";
    const std::pair<const char*, std::string> refusals[] = {
        {"too-long.rpn", std::strerror(EFBIG)}, {"sparse.rpn", std::strerror(EFBIG)},  {"fifo.rpn", notRegular},
        {"directory.rpn", notRegular},          {"absent.rpn", std::strerror(ENOENT)}, {"/dev/zero", notRegular},
    };
    // State files, and the settings file with its own limit.
    for (const std::size_t limit : {kMostStateFileBytes, kMostSettingsFileBytes}) {
        StandardFileSystem files(limit);
        Put("exact.rpn", std::string(limit, 'x'));
        Put("too-long.rpn", std::string(limit + 1, 'x'));
        const auto started = std::chrono::steady_clock::now();
        EXPECT_NE(files.OpenFile(Path("exact.rpn")), nullptr) << limit;
        for (const auto& [name, cause] : refusals) {
            errno = 0;
            EXPECT_EQ(files.OpenFile(name[0] == '/' ? WidePath(name) : Path(name)), nullptr) << name;
            EXPECT_EQ(FileErrorText(errno), cause) << name;
        }
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    }
    // Nor is a file past the limit ever written.
    StandardFileSystem files(kMostSettingsFileBytes);
    auto sink = files.CreateFile(Path("exact.rpn"));
    ASSERT_TRUE(sink);
    const std::vector<std::uint8_t> tooMany(kMostSettingsFileBytes + 1, 'y');
    EXPECT_FALSE(sink->Write(tooMany));
    errno = 0;
    EXPECT_FALSE(sink->Commit());
    EXPECT_EQ(errno, EFBIG);
    EXPECT_EQ(Contents("exact.rpn"), std::string(kMostSettingsFileBytes, 'x'));
}

TEST_F(FileLayer, StateFileRoundTripsThroughTheDiskUnderAnyName)
{
    test::FakeDialogs dialogs;
    StandardFileSystem files;
    const CalcState saved = test::AfterKeys("1 ENTER 7 /");
    const std::wstring path = Path("\xC3\xA9t\xE9.rpn");  // UTF-8 and a stray byte
    ASSERT_TRUE(WriteStateFile(saved, path, files, dialogs));
    EXPECT_TRUE(fs::exists(m_directory / "\xC3\xA9t\xE9.rpn"));
    CalcState state = MakeResetState();
    ASSERT_TRUE(ReadStateFile(state, path, files, dialogs));
    EXPECT_TRUE(test::SameBits(state, saved));
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST(Utf8, PathsKeepEveryByteSequenceAndTextsReplaceWhatIsNoCodePoint)
{
    for (const std::string bytes : {"plain", "\xC3\xA9", "\xF0\x9F\x98\x80", "\xFF\xC3", "\xED\xA0\x80", "\xC0\xAF"})
        EXPECT_EQ(NarrowPath(WidePath(bytes)), bytes);
    EXPECT_EQ(WidePath("\xC3\xA9"), L"\u00e9");
    EXPECT_EQ(Utf8(L"a\u00e9\u20ac\U0001F600"), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8(std::wstring{static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000)}),
              "\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace rpn
