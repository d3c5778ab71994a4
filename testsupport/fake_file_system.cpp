#include "testsupport/fake_file_system.h"

#include <algorithm>

namespace rpn::test {

class FakeSink final : public ByteSink {
public:
    FakeSink(FakeFileSystem& files, std::wstring path)
        : m_files(files), m_path(std::move(path)), m_bytes(files.m_failAfter)
    {
    }

    bool Write(std::span<const std::uint8_t> bytes) override { return m_bytes.Write(bytes); }
    bool Commit() override
    {
        if (m_files.m_failCommit)
            return false;
        m_files.m_files[m_path] = m_bytes.Written();
        return true;
    }

private:
    FakeFileSystem& m_files;
    std::wstring m_path;
    MemorySink m_bytes;
};

std::unique_ptr<ByteSink> FakeFileSystem::CreateFile(const std::wstring& path)
{
    ++m_creates;
    if (m_failCreate)
        return nullptr;
    return std::make_unique<FakeSink>(*this, path);
}

std::unique_ptr<ByteSource> FakeFileSystem::OpenFile(const std::wstring& path)
{
    ++m_opens;
    const auto found = m_files.find(path);
    if (found == m_files.end())
        return nullptr;
    return std::make_unique<MemorySource>(found->second, m_pieceSize);
}

std::optional<Bytes> FakeFileSystem::Contents(const std::wstring& path) const
{
    const auto found = m_files.find(path);
    if (found == m_files.end())
        return std::nullopt;
    return found->second;
}

std::size_t MemorySource::Read(std::span<std::uint8_t> buffer)
{
    std::size_t count = std::min(buffer.size(), m_bytes.size() - m_position);
    if (m_pieceSize != 0)
        count = std::min(count, m_pieceSize);
    std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_position), count, buffer.begin());
    m_position += count;
    return count;
}

bool MemorySink::Write(std::span<const std::uint8_t> bytes)
{
    std::size_t accepted = bytes.size();
    if (m_limit)
        accepted = std::min(accepted, *m_limit - std::min(*m_limit, m_bytes.size()));
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(accepted));
    return accepted == bytes.size();
}

}  // namespace rpn::test
