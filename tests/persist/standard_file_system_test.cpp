#include "persist/standard_file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "persist/state_file.h"
#include "testsupport/fake_dialogs.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

namespace fs = std::filesystem;

enum class Call { Write, Fsync, Close, Link, Rename, Fchmod };

// The real calls, except that the nth call of one kind fails with an error.
// A save's calls come in a fixed order, so "the second fsync" is the
// directory's and "the first close" the new file's.
class FaultyCalls final : public SystemCalls {
public:
    void Fail(Call call, int nth, int error)
    {
        m_call = call;
        m_nth = nth;
        m_error = error;
    }
    // Makes O_TMPFILE unavailable, as on a file system without it.
    void WithoutUnnamedFiles() { m_withoutUnnamed = true; }
    // Short writes: at most this many bytes a call.
    void WritePieces(std::size_t size) { m_piece = size; }
    void WithoutExchange() { m_withoutExchange = true; }

    int OpenAt(int directory, const char* path, int flags, mode_t mode) override
    {
        if (m_withoutUnnamed && (flags & O_TMPFILE) == O_TMPFILE)
            return Refuse(EOPNOTSUPP);
        return SystemCalls::OpenAt(directory, path, flags, mode);
    }
    ssize_t Write(int descriptor, const void* data, std::size_t size) override
    {
        if (Fails(Call::Write))
            return Refuse(m_error);
        return SystemCalls::Write(descriptor, data, m_piece ? std::min(size, m_piece) : size);
    }
    int Fsync(int descriptor) override { return Fails(Call::Fsync) ? Refuse(m_error) : SystemCalls::Fsync(descriptor); }
    int Close(int descriptor) override
    {
        if (Fails(Call::Close)) {
            SystemCalls::Close(descriptor);  // as Linux does: the descriptor is gone all the same
            return Refuse(m_error);
        }
        return SystemCalls::Close(descriptor);
    }
    int Fchmod(int descriptor, mode_t mode) override
    {
        return Fails(Call::Fchmod) ? Refuse(m_error) : SystemCalls::Fchmod(descriptor, mode);
    }
    int LinkAt(int fromDirectory, const char* from, int toDirectory, const char* to, int flags) override
    {
        if (Fails(Call::Link))
            return Refuse(m_error);
        return SystemCalls::LinkAt(fromDirectory, from, toDirectory, to, flags);
    }
    int RenameAt(int fromDirectory, const char* from, int toDirectory, const char* to, unsigned flags) override
    {
        if (m_withoutExchange && flags == RENAME_EXCHANGE)
            return Refuse(EINVAL);
        if (Fails(Call::Rename))
            return Refuse(m_error);
        return SystemCalls::RenameAt(fromDirectory, from, toDirectory, to, flags);
    }

    int Count(Call call) const { return m_counts.contains(call) ? m_counts.at(call) : 0; }

private:
    bool Fails(Call call) { return ++m_counts[call] == m_nth && call == m_call; }
    static int Refuse(int error)
    {
        errno = error;
        return -1;
    }

    std::map<Call, int> m_counts;
    std::optional<Call> m_call;
    int m_nth = 0;
    int m_error = 0;
    bool m_withoutUnnamed = false;
    bool m_withoutExchange = false;
    std::size_t m_piece = 0;
};

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
    struct Step {
        const char* what;
        Call call;
        int nth;
        int error;
    };
    const Step steps[] = {
        {"first write", Call::Write, 1, ENOSPC},     {"write after a short one", Call::Write, 2, ENOSPC},
        {"permission bits", Call::Fchmod, 1, EPERM}, {"file sync", Call::Fsync, 1, EIO},
        {"file close", Call::Close, 1, EIO},         {"link into the directory", Call::Link, 1, ENOSPC},
        {"rename or swap", Call::Rename, 1, EIO},    {"directory sync", Call::Fsync, 2, EIO},
    };
    for (const bool unnamed : {true, false}) {
        for (const bool existing : {true, false}) {
            for (const bool exchange : {true, false}) {
                for (const Step& step : steps) {
                    // Each route makes only some of the calls: the named one links
                    // nothing, and a new unnamed file is linked under its name.
                    if ((step.call == Call::Link && !unnamed) || (step.call == Call::Rename && unnamed && !existing))
                        continue;
                    const std::string context = std::string(step.what) + (unnamed ? ", O_TMPFILE" : ", mkostemp") +
                                                (existing ? ", replacing" : ", new file") +
                                                (exchange ? "" : ", no swap");
                    fs::remove_all(m_directory);
                    fs::create_directory(m_directory);
                    StandardFileSystem plain;
                    if (existing) {
                        ASSERT_TRUE(Save(plain, "a.rpn", test::AfterKeys("1 2 3"))) << context;
                    }
                    const std::string old = existing ? Contents("a.rpn") : "";
                    const auto before = Entries();

                    FaultyCalls calls;
                    calls.Fail(step.call, step.nth, step.error);
                    calls.WritePieces(50);
                    if (!unnamed)
                        calls.WithoutUnnamedFiles();
                    if (!exchange)
                        calls.WithoutExchange();
                    StandardFileSystem files(calls);
                    EXPECT_FALSE(Save(files, "a.rpn")) << context;
                    EXPECT_EQ(m_dialogs.Messages(), kFileError) << context;
                    EXPECT_EQ(Entries(), before) << context;
                    if (existing) {
                        EXPECT_EQ(Contents("a.rpn"), old) << context;
                    }
                    EXPECT_GE(calls.Count(step.call), step.nth) << context << ": the step was never reached";
                }
            }
        }
    }
}

TEST_F(FileLayer, SavesThroughEitherKindOfTemporaryFileWithShortWrites)
{
    for (const bool unnamed : {true, false}) {
        for (const bool exchange : {true, false}) {
            fs::remove_all(m_directory);
            fs::create_directory(m_directory);
            StandardFileSystem plain;
            ASSERT_TRUE(Save(plain, "a.rpn", test::AfterKeys("1 2 3")));
            FaultyCalls calls;
            calls.WritePieces(7);
            if (!unnamed)
                calls.WithoutUnnamedFiles();
            if (!exchange)
                calls.WithoutExchange();
            StandardFileSystem files(calls);
            const CalcState saved = test::AfterKeys("4 ENTER 5");
            ASSERT_TRUE(Save(files, "a.rpn", saved));
            EXPECT_TRUE(m_dialogs.Messages().empty());
            EXPECT_EQ(Entries(), std::set<std::string>{"a.rpn"});
            CalcState loaded = MakeResetState();
            ASSERT_TRUE(ReadStateFile(loaded, Path("a.rpn"), plain, m_dialogs));
            EXPECT_TRUE(test::SameBits(loaded, saved));
        }
    }
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
    for (const char* name : {"dangling.rpn", "loop.rpn", "directory.rpn", "fifo.rpn", "socket.rpn", "read-only.rpn",
                             "device.rpn", "missing/a.rpn", "directory.rpn/"}) {
        EXPECT_FALSE(Save(files, name)) << name;
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

TEST_F(FileLayer, ReadsOnlyRegularFilesOfAtMost64KiBAndNeverWaits)
{
    StandardFileSystem files;
    ASSERT_TRUE(Save(files, "good.rpn"));
    const std::string record = Contents("good.rpn");
    Put("padded.rpn", record + std::string(kMostStateFileBytes - record.size(), 'x'));
    Put("too-long.rpn", record + std::string(kMostStateFileBytes - record.size() + 1, 'x'));
    {
        // Sparse: 256 MiB on paper, nothing on the disk.
        const int descriptor = ::open(Name("sparse.rpn").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(descriptor, 0);
        ASSERT_EQ(::ftruncate(descriptor, off_t{256} << 20), 0);
        ::close(descriptor);
    }
    ASSERT_EQ(::mkfifo(Name("fifo.rpn").c_str(), 0644), 0);
    fs::create_directory(m_directory / "directory.rpn");

    const auto started = std::chrono::steady_clock::now();
    EXPECT_NE(files.OpenFile(Path("good.rpn")), nullptr);
    EXPECT_NE(files.OpenFile(Path("padded.rpn")), nullptr);
    for (const char* name : {"too-long.rpn", "sparse.rpn", "fifo.rpn", "directory.rpn", "absent.rpn"})
        EXPECT_EQ(files.OpenFile(Path(name)), nullptr) << name;
    EXPECT_EQ(files.OpenFile(L"/dev/zero"), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
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
