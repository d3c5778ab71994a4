#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace rpn {

// Bytes on their way into one file. The state-file writer creates a sink,
// writes the whole record and commits; until the commit the target file keeps
// its old content, and a sink destroyed without a successful commit leaves the
// target untouched.
class ByteSink {
public:
    virtual ~ByteSink() = default;

    // Appends all of bytes; false when the medium refused any of them. After a
    // failure the sink stays failed.
    virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
    // Flushes and puts the written bytes in place of the target in one step.
    // False when that failed; the target then holds what it held before.
    virtual bool Commit() = 0;
};

// Bytes read from one file, front to back.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Fills the front of buffer and returns how many bytes it got; 0 at the
    // end of the file or on a read error. May return fewer than asked for
    // before the end.
    virtual std::size_t Read(std::span<std::uint8_t> buffer) = 0;
    // How many bytes are still to come, where the source knows; a reader
    // checks the lengths a file declares against it.
    virtual std::optional<std::uint64_t> Remaining() const { return std::nullopt; }
};

// Opens the files the user names for state files. Owned by the caller; the
// streams it returns belong to the caller and close when destroyed.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // A sink that will replace (or create) path when committed; nullptr when
    // the file cannot be created there.
    virtual std::unique_ptr<ByteSink> CreateFile(const std::wstring& path) = 0;
    // nullptr when the file does not exist or cannot be read.
    virtual std::unique_ptr<ByteSource> OpenFile(const std::wstring& path) = 0;
};

}  // namespace rpn
