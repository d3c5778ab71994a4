#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/byte_stream.h"

namespace rpn::test {

using Bytes = std::vector<std::uint8_t>;

// Files in memory. A sink can be made to fail after a number of bytes; its
// Commit puts whatever it accepted in place of the file (unless told to
// fail), so a writer that commits after a failed write leaves a damaged file
// that the test sees. Sources can hand out their bytes in small pieces.
class FakeFileSystem final : public FileSystem {
public:
    std::unique_ptr<ByteSink> CreateFile(const std::wstring& path) override;
    std::unique_ptr<ByteSource> OpenFile(const std::wstring& path) override;

    void Put(const std::wstring& path, Bytes bytes) { m_files[path] = std::move(bytes); }
    std::optional<Bytes> Contents(const std::wstring& path) const;

    void FailCreate(bool fail) { m_failCreate = fail; }
    void FailAfterBytes(std::optional<std::size_t> count) { m_failAfter = count; }
    void FailCommit(bool fail) { m_failCommit = fail; }
    void ReadPieceSize(std::size_t size) { m_pieceSize = size; }

    int Creates() const { return m_creates; }
    int Opens() const { return m_opens; }

private:
    friend class FakeSink;

    std::map<std::wstring, Bytes> m_files;
    bool m_failCreate = false;
    std::optional<std::size_t> m_failAfter;
    bool m_failCommit = false;
    std::size_t m_pieceSize = 0;
    int m_creates = 0;
    int m_opens = 0;
};

// A source over bytes in memory, at most pieceSize bytes a read (0: no limit).
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(Bytes bytes, std::size_t pieceSize = 0) : m_bytes(std::move(bytes)), m_pieceSize(pieceSize) {}
    std::size_t Read(std::span<std::uint8_t> buffer) override;
    std::optional<std::uint64_t> Remaining() const override { return m_bytes.size() - m_position; }

private:
    Bytes m_bytes;
    std::size_t m_pieceSize;
    std::size_t m_position = 0;
};

// A sink that collects bytes in memory, failing after limit bytes if given.
class MemorySink final : public ByteSink {
public:
    explicit MemorySink(std::optional<std::size_t> limit = std::nullopt) : m_limit(limit) {}
    bool Write(std::span<const std::uint8_t> bytes) override;
    bool Commit() override { return true; }
    const Bytes& Written() const { return m_bytes; }

private:
    Bytes m_bytes;
    std::optional<std::size_t> m_limit;
};

}  // namespace rpn::test
