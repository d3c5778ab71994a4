#include "persist/safe_replace.h"

#include <fcntl.h>
#include <sys/file.h>

#include <array>
#include <cerrno>
#include <climits>
#include <utility>

namespace rpn {

namespace {

constexpr int kMostLinkHops = 40;
constexpr mode_t kPermissionBits = 0777;

std::nullopt_t Refuse(int error)
{
    errno = error;
    return std::nullopt;
}

// The temporary file has one fixed name per target, so a save killed at any
// moment leaves at most that one file, which the next save of the target
// takes over. A save holds a lock on it while it writes; one that cannot
// lock it, or finds that it lost its name before the lock (renamed into
// place, or taken over, by another save), leaves it alone and fails. A file
// system that keeps no locks is written without one.
class Replacement {
public:
    Replacement(SystemCalls& calls, const SaveTarget& target)
        : m_calls(calls), m_target(target), m_temporary("." + target.name + ".saving")
    {
    }
    ~Replacement()
    {
        const int error = errno;
        // Only a file this save holds is removed.
        if (m_file >= 0) {
            m_calls.UnlinkAt(m_directory, m_temporary.c_str(), 0);
            m_calls.Close(m_file);
        }
        if (m_directory >= 0)
            m_calls.Close(m_directory);
        errno = error;
    }

    bool Run(std::span<const std::uint8_t> bytes)
    {
        m_directory = m_calls.Open(m_target.directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
        if (m_directory < 0 || !Claim())
            return false;
        // Replacing someone else's file (as root) keeps it theirs; where that
        // is not allowed the file is the saver's, which is no loss.
        if (m_target.existing) {
            if (m_calls.Fchmod(m_file, m_target.existing->st_mode & kPermissionBits) != 0)
                return false;
            m_calls.Fchown(m_file, m_target.existing->st_uid, m_target.existing->st_gid);
        }
        while (!bytes.empty()) {
            const ssize_t written = m_calls.Write(m_file, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            bytes = bytes.subspan(static_cast<std::size_t>(written));
        }
        // Closed only once it has the target's name: until then the lock
        // keeps other saves from taking the file over.
        if (m_calls.Fsync(m_file) != 0 ||
            m_calls.RenameAt(m_directory, m_temporary.c_str(), m_directory, m_target.name.c_str()) != 0)
            return false;
        const bool closed = m_calls.Close(std::exchange(m_file, -1)) == 0;
        return m_calls.Fsync(m_directory) == 0 && closed;
    }

private:
    bool Claim()
    {
        const int file = m_calls.OpenAt(m_directory, m_temporary.c_str(),
                                        O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
        struct stat held {};
        struct stat named {};
        const std::string path = m_target.directory + "/" + m_temporary;
        bool ours = file >= 0 && (m_calls.Flock(file, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK);
        if (ours) {
            errno = EBUSY;
            ours = m_calls.Fstat(file, &held) == 0 && m_calls.Lstat(path.c_str(), &named) == 0 &&
                   S_ISREG(held.st_mode) && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
        }
        if (!ours) {
            if (file >= 0)
                m_calls.Close(file);
            return false;
        }
        m_file = file;
        return m_calls.Ftruncate(m_file, 0) == 0;
    }

    SystemCalls& m_calls;
    const SaveTarget& m_target;
    const std::string m_temporary;
    int m_directory = -1;
    int m_file = -1;
};

}  // namespace

std::optional<SaveTarget> ResolveSaveTarget(SystemCalls& calls, const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop <= kMostLinkHops; ++hop) {
        const auto slash = current.rfind('/');
        std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : current.substr(0, slash);
        struct stat info {};
        if (calls.Lstat(current.c_str(), &info) != 0) {
            // A new file is made only where the user named it, never where a
            // link to nothing points.
            if (errno != ENOENT || hop != 0)
                return std::nullopt;
            return SaveTarget{std::move(directory), current.substr(slash + 1), std::nullopt};
        }
        if (S_ISLNK(info.st_mode)) {
            std::array<char, PATH_MAX> link{};
            const ssize_t length = calls.ReadLink(current.c_str(), link.data(), link.size());
            if (length <= 0 || static_cast<std::size_t>(length) >= link.size())
                return length < 0 ? std::nullopt : Refuse(ENAMETOOLONG);
            const std::string next(link.data(), static_cast<std::size_t>(length));
            current = next.front() == '/' ? next : directory + "/" + next;
            continue;
        }
        if (!S_ISREG(info.st_mode))
            return Refuse(kNotRegularFile);
        // No write bit at all is read-only even for root, who may write
        // anything.
        if ((info.st_mode & 0222) == 0)
            return Refuse(EACCES);
        if (calls.AccessAt(AT_FDCWD, current.c_str(), W_OK, AT_EACCESS) != 0)
            return std::nullopt;
        return SaveTarget{std::move(directory), current.substr(slash + 1), info};
    }
    return Refuse(ELOOP);
}

bool ReplaceFile(SystemCalls& calls, const SaveTarget& target, std::span<const std::uint8_t> bytes)
{
    return Replacement(calls, target).Run(bytes);
}

}  // namespace rpn
