#include "persist/standard_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "persist/safe_replace.h"

namespace rpn {

namespace {

// Collects the record; the file is written only at the commit, in one piece.
class ReplacingSink final : public ByteSink {
public:
    ReplacingSink(SystemCalls& calls, SaveTarget target, std::size_t mostBytes)
        : m_calls(calls), m_target(std::move(target)), m_mostBytes(mostBytes)
    {
    }

    bool Write(std::span<const std::uint8_t> bytes) override
    {
        m_failed = m_failed || bytes.size() > m_mostBytes - m_bytes.size();
        if (m_failed)
            errno = EFBIG;
        else
            m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return !m_failed;
    }

    bool Commit() override
    {
        if (m_failed)
            errno = EFBIG;
        if (m_failed || m_committed)
            return false;
        m_committed = true;
        return ReplaceFile(m_calls, m_target, m_bytes);
    }

private:
    SystemCalls& m_calls;
    SaveTarget m_target;
    std::size_t m_mostBytes;
    std::vector<std::uint8_t> m_bytes;
    bool m_failed = false;
    bool m_committed = false;
};

class FileSource final : public ByteSource {
public:
    FileSource(SystemCalls& calls, int descriptor, std::size_t size)
        : m_calls(calls), m_descriptor(descriptor), m_budget(size)
    {
    }
    ~FileSource() override { m_calls.Close(m_descriptor); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    // The file is read as long as it was when opened, which is within the
    // limit; whatever it grew by since is no part of it.
    std::size_t Read(std::span<std::uint8_t> buffer) override
    {
        const std::size_t wanted = std::min(buffer.size(), m_budget);
        for (;;) {
            const ssize_t got = m_calls.Read(m_descriptor, buffer.data(), wanted);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return 0;
            m_budget -= static_cast<std::size_t>(got);
            return static_cast<std::size_t>(got);
        }
    }

    std::optional<std::uint64_t> Remaining() const override { return m_budget; }

private:
    SystemCalls& m_calls;
    int m_descriptor;
    std::size_t m_budget;
};

}  // namespace

std::unique_ptr<ByteSink> StandardFileSystem::CreateFile(const std::wstring& path)
{
    auto target = ResolveSaveTarget(m_calls, NarrowPath(path));
    if (!target)
        return nullptr;
    return std::make_unique<ReplacingSink>(m_calls, std::move(*target), m_mostBytes);
}

std::unique_ptr<ByteSource> StandardFileSystem::OpenFile(const std::wstring& path)
{
    // Only a regular file is opened at all (opening a device can act on it),
    // and without blocking, so that a FIFO put there in the meantime cannot
    // hold the program; what was opened is checked again.
    const std::string name = NarrowPath(path);
    struct stat info {};
    if (m_calls.Stat(name.c_str(), &info) != 0)
        return nullptr;
    const int descriptor =
        S_ISREG(info.st_mode) ? m_calls.Open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0) : -1;
    if (descriptor >= 0 && m_calls.Fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) &&
        info.st_size <= static_cast<off_t>(m_mostBytes))
        return std::make_unique<FileSource>(m_calls, descriptor, static_cast<std::size_t>(info.st_size));
    int error = errno;
    if (!S_ISREG(info.st_mode))
        error = kNotRegularFile;
    else if (descriptor >= 0 && info.st_size > static_cast<off_t>(m_mostBytes))
        error = EFBIG;
    if (descriptor >= 0)
        m_calls.Close(descriptor);
    errno = error;
    return nullptr;
}

}  // namespace rpn
