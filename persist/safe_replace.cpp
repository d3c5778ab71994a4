#include "persist/safe_replace.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/random.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace rpn {

namespace {

constexpr int kMostLinkHops = 40;
constexpr mode_t kPermissionBits = 0777;
constexpr mode_t kNewFileMode = 0666;

std::string DirectoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The umask without changing it (umask() itself would, for a moment, for
// every thread of the window).
mode_t CurrentUmask()
{
    const int descriptor = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (descriptor >= 0) {
        std::array<char, 4096> text{};
        const ssize_t got = ::read(descriptor, text.data(), text.size() - 1);
        ::close(descriptor);
        const std::string status(text.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
        const auto at = status.find("Umask:");
        if (at != std::string::npos)
            return static_cast<mode_t>(std::strtoul(status.c_str() + at + 6, nullptr, 8)) & kPermissionBits;
    }
    return 022;
}

// A hidden name beside the target that nobody can guess in advance.
std::optional<std::string> RandomName(const std::string& name)
{
    std::array<unsigned char, 8> random{};
    if (::getrandom(random.data(), random.size(), 0) != static_cast<ssize_t>(random.size()))
        return std::nullopt;
    std::string text = "." + name + ".";
    for (const unsigned char byte : random) {
        static constexpr char kHex[] = "0123456789abcdef";
        text += kHex[byte >> 4];
        text += kHex[byte & 0xF];
    }
    return text;
}

class Replacement {
public:
    Replacement(SystemCalls& calls, const SaveTarget& target, std::span<const std::uint8_t> bytes)
        : m_calls(calls), m_target(target), m_bytes(bytes)
    {
    }
    ~Replacement()
    {
        if (m_file >= 0)
            m_calls.Close(m_file);
        if (!m_temporaryName.empty())
            m_calls.UnlinkAt(m_directory, m_temporaryName.c_str(), 0);
        if (m_directory >= 0)
            m_calls.Close(m_directory);
    }
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    bool Run()
    {
        m_directory = m_calls.Open(m_target.directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
        if (m_directory < 0)
            return false;
        m_mode = m_target.existing ? (m_target.existing->st_mode & kPermissionBits) : (kNewFileMode & ~CurrentUmask());
        const Outcome unnamed = WriteUnnamed();
        if (unnamed == Outcome::Unsupported)
            return WriteNamed() && PutInPlace();
        return unnamed == Outcome::Done && PutInPlace();
    }

private:
    enum class Outcome { Done, Failed, Unsupported };

    bool FillFile()
    {
        if (m_calls.Fchmod(m_file, m_mode) != 0)
            return false;
        // Replacing someone else's file (as root) keeps it theirs; where that
        // is not allowed the file is the saver's, which is no loss.
        if (m_target.existing)
            m_calls.Fchown(m_file, m_target.existing->st_uid, m_target.existing->st_gid);
        std::span<const std::uint8_t> rest = m_bytes;
        while (!rest.empty()) {
            const ssize_t written = m_calls.Write(m_file, rest.data(), rest.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            rest = rest.subspan(static_cast<std::size_t>(written));
        }
        return m_calls.Fsync(m_file) == 0;
    }

    bool CloseFile()
    {
        const int file = m_file;
        m_file = -1;
        return m_calls.Close(file) == 0;
    }

    // The complete file, synced, gets its name only now: a save that dies
    // before leaves nothing in the directory.
    Outcome WriteUnnamed()
    {
        m_file = m_calls.OpenAt(m_directory, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, m_mode);
        if (m_file < 0)
            return Outcome::Unsupported;
        if (!FillFile())
            return Outcome::Failed;
        // A new file is linked under its own name at once; a replacement
        // under a hidden one, then swapped.
        std::string name = m_target.name;
        if (m_target.existing) {
            const auto hidden = RandomName(m_target.name);
            if (!hidden)
                return Outcome::Failed;
            name = *hidden;
        }
        const std::string self = "/proc/self/fd/" + std::to_string(m_file);
        int linked = m_calls.LinkAt(AT_FDCWD, self.c_str(), m_directory, name.c_str(), AT_SYMLINK_FOLLOW);
        if (linked != 0 && errno == ENOENT)
            linked = m_calls.LinkAt(m_file, "", m_directory, name.c_str(), AT_EMPTY_PATH);
        if (linked != 0) {
            // No /proc and no right to link by descriptor: the named way.
            const bool unsupported = errno == ENOENT || errno == EPERM || errno == EACCES || errno == EOPNOTSUPP;
            CloseFile();
            return unsupported ? Outcome::Unsupported : Outcome::Failed;
        }
        m_temporaryName = name;
        return CloseFile() ? Outcome::Done : Outcome::Failed;
    }

    bool WriteNamed()
    {
        std::string pathTemplate = m_target.directory + "/." + m_target.name + ".XXXXXX";
        m_file = m_calls.MakeTemporary(pathTemplate.data(), O_CLOEXEC);
        if (m_file < 0)
            return false;
        m_temporaryName = NameOf(pathTemplate);
        return FillFile() && CloseFile();
    }

    bool PutInPlace()
    {
        const char* temporary = m_temporaryName.c_str();
        const char* name = m_target.name.c_str();
        bool exchanged = false;
        if (m_target.existing) {
            // Swapped rather than renamed over, so that the old file is still
            // at hand until the directory is synced.
            exchanged = m_calls.RenameAt(m_directory, temporary, m_directory, name, RENAME_EXCHANGE) == 0;
            if (!exchanged && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
                return false;
        }
        // Without the swap, the old file keeps a second name while the new one
        // is renamed over it, where the file system has hard links.
        std::string backup;
        if (m_target.existing && !exchanged) {
            if (const auto hidden = RandomName(m_target.name);
                hidden && m_calls.LinkAt(m_directory, name, m_directory, hidden->c_str(), 0) == 0)
                backup = *hidden;
        }
        const bool newlyLinked = !m_target.existing && m_temporaryName == m_target.name;
        if (!exchanged && !newlyLinked && m_calls.RenameAt(m_directory, temporary, m_directory, name, 0) != 0) {
            if (!backup.empty())
                m_calls.UnlinkAt(m_directory, backup.c_str(), 0);
            return false;
        }
        if (m_calls.Fsync(m_directory) != 0) {
            // Undone as far as it can be: the old file back under its name
            // (should that fail too, the hidden name keeps it), a new one
            // gone.
            const bool swappedBack =
                exchanged && m_calls.RenameAt(m_directory, temporary, m_directory, name, RENAME_EXCHANGE) == 0;
            if (!backup.empty())
                m_calls.RenameAt(m_directory, backup.c_str(), m_directory, name, 0);
            if (!m_target.existing)
                m_calls.UnlinkAt(m_directory, name, 0);
            if (!swappedBack)
                m_temporaryName.clear();
            return false;
        }
        if (!exchanged) {
            m_temporaryName.clear();
            if (!backup.empty()) {
                m_calls.UnlinkAt(m_directory, backup.c_str(), 0);
                m_calls.Fsync(m_directory);
            }
            return true;
        }
        // The old file, now under the hidden name, goes; that it might come
        // back after a crash costs a stray file, never the save.
        m_calls.UnlinkAt(m_directory, temporary, 0);
        m_temporaryName.clear();
        m_calls.Fsync(m_directory);
        return true;
    }

    SystemCalls& m_calls;
    const SaveTarget& m_target;
    std::span<const std::uint8_t> m_bytes;
    int m_directory = -1;
    int m_file = -1;
    mode_t m_mode = 0;
    std::string m_temporaryName;
};

}  // namespace

std::optional<SaveTarget> ResolveSaveTarget(SystemCalls& calls, const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop <= kMostLinkHops; ++hop) {
        if (current.empty() || current.back() == '/')
            return std::nullopt;
        struct stat info {};
        if (calls.Lstat(current.c_str(), &info) != 0) {
            // A new file is made only where the user named it, never where a
            // link to nothing points.
            struct stat directory {};
            if (errno == ENOENT && hop == 0 && calls.Stat(DirectoryOf(current).c_str(), &directory) == 0 &&
                S_ISDIR(directory.st_mode))
                return SaveTarget{DirectoryOf(current), NameOf(current), std::nullopt};
            return std::nullopt;
        }
        if (S_ISLNK(info.st_mode)) {
            std::array<char, PATH_MAX> link{};
            const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
            if (length <= 0 || static_cast<std::size_t>(length) >= link.size())
                return std::nullopt;
            std::string next(link.data(), static_cast<std::size_t>(length));
            current = next.front() == '/' ? next : DirectoryOf(current) + "/" + next;
            continue;
        }
        if (!S_ISREG(info.st_mode))
            return std::nullopt;
        // No write bit at all is read-only even for root, who may write
        // anything.
        if ((info.st_mode & 0222) == 0 || calls.AccessAt(AT_FDCWD, current.c_str(), W_OK, AT_EACCESS) != 0)
            return std::nullopt;
        return SaveTarget{DirectoryOf(current), NameOf(current), info};
    }
    return std::nullopt;
}

bool ReplaceFile(SystemCalls& calls, const SaveTarget& target, std::span<const std::uint8_t> bytes)
{
    Replacement replacement(calls, target, bytes);
    return replacement.Run();
}

}  // namespace rpn
