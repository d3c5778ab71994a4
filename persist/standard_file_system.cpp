#include "persist/standard_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace rpn {

namespace {

constexpr char32_t kEscapeBase = 0xDC80;

// The length of the UTF-8 sequence at bytes[i], or 0 when none starts there.
std::size_t SequenceLength(std::string_view bytes, std::size_t i, char32_t& code)
{
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[i + k]);
        if ((next & 0xC0u) != 0x80u)
            return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

class PosixSink final : public ByteSink {
public:
    PosixSink(std::string target, std::string temporary, int descriptor)
        : m_target(std::move(target)), m_temporary(std::move(temporary)), m_descriptor(descriptor)
    {
    }
    ~PosixSink() override
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        if (!m_committed)
            ::unlink(m_temporary.c_str());
    }
    PosixSink(const PosixSink&) = delete;
    PosixSink& operator=(const PosixSink&) = delete;

    bool Write(std::span<const std::uint8_t> bytes) override
    {
        while (!m_failed && !bytes.empty()) {
            const ssize_t written = ::write(m_descriptor, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                m_failed = true;
            else
                bytes = bytes.subspan(static_cast<std::size_t>(written));
        }
        return !m_failed;
    }

    bool Commit() override
    {
        if (m_failed || ::fsync(m_descriptor) != 0)
            return false;
        const int descriptor = m_descriptor;
        m_descriptor = -1;
        if (::close(descriptor) != 0 || std::rename(m_temporary.c_str(), m_target.c_str()) != 0)
            return false;
        m_committed = true;
        return true;
    }

private:
    std::string m_target;
    std::string m_temporary;
    int m_descriptor;
    bool m_failed = false;
    bool m_committed = false;
};

class PosixSource final : public ByteSource {
public:
    explicit PosixSource(int descriptor) : m_descriptor(descriptor) {}
    ~PosixSource() override { ::close(m_descriptor); }
    PosixSource(const PosixSource&) = delete;
    PosixSource& operator=(const PosixSource&) = delete;

    std::size_t Read(std::span<std::uint8_t> buffer) override
    {
        for (;;) {
            const ssize_t got = ::read(m_descriptor, buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR)
                continue;
            return got > 0 ? static_cast<std::size_t>(got) : 0;
        }
    }

private:
    int m_descriptor;
};

}  // namespace

std::wstring WidePath(std::string_view bytes)
{
    std::wstring path;
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t code = 0;
        const std::size_t length = SequenceLength(bytes, i, code);
        if (length == 0) {
            path += static_cast<wchar_t>(kEscapeBase + static_cast<unsigned char>(bytes[i]) - 0x80);
            ++i;
        } else {
            path += static_cast<wchar_t>(code);
            i += length;
        }
    }
    return path;
}

std::string NarrowPath(const std::wstring& path)
{
    std::string bytes;
    for (const wchar_t wide : path) {
        const auto code = static_cast<char32_t>(wide);
        if (code >= kEscapeBase && code <= kEscapeBase + 0x7F) {
            bytes += static_cast<char>(code - kEscapeBase + 0x80);
        } else if (code < 0x80) {
            bytes += static_cast<char>(code);
        } else if (code < 0x800) {
            bytes += static_cast<char>(0xC0 | (code >> 6));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            bytes += static_cast<char>(0xE0 | (code >> 12));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (code >> 18));
            bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return bytes;
}

std::unique_ptr<ByteSink> StandardFileSystem::CreateFile(const std::wstring& path)
{
    std::string target = NarrowPath(path);
    // A replaced file keeps its permissions; a new one gets the usual ones
    // through the umask.
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    const mode_t mode = replacing ? (existing.st_mode & 07777) : 0666;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::string temporary = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor >= 0) {
            if (replacing)
                ::fchmod(descriptor, mode);
            return std::make_unique<PosixSink>(std::move(target), std::move(temporary), descriptor);
        }
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

std::unique_ptr<ByteSource> StandardFileSystem::OpenFile(const std::wstring& path)
{
    const int descriptor = ::open(NarrowPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    return std::make_unique<PosixSource>(descriptor);
}

}  // namespace rpn
