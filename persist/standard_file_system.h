#pragma once

#include <cstddef>

#include "persist/system_calls.h"
#include "persist/utf8.h"
#include "platform/byte_stream.h"

namespace rpn {

// A state file is about 200 bytes; anything past this is no state file, and
// neither program reads or writes more.
inline constexpr std::size_t kMostStateFileBytes = 64 * 1024;

// State files through the POSIX file calls, the one file layer of the window
// and of rpn-cli. No Qt.
//
// Saving keeps the whole record in memory and writes it at the commit: into
// an unnamed file in the target's directory (O_TMPFILE, linked in once it is
// complete) or, where the file system has none, a file of an unpredictable
// name made there by mkostemp. Every write, the sync, the close and the link
// are checked; only then is the new file swapped with the target (renamed
// over it where the file system cannot swap, the old file keeping a hidden
// second name meanwhile), and the directory synced. Any failure leaves the
// target as it was (a failed directory sync puts the old file back) and no
// temporary file behind.
//
// Targets: a symbolic link is followed and the file it names is replaced (the
// link stays); a link to nothing, a read-only file and anything that is not a
// regular file (a directory, device, FIFO or socket) are refused. The new
// file keeps the old one's permission bits and, where allowed, its owner.
//
// Loading opens without blocking and without taking a terminal, and reads
// only a regular file of at most kMostStateFileBytes.
class StandardFileSystem final : public FileSystem {
public:
    StandardFileSystem() : m_calls(m_ownCalls) {}
    // Through calls instead of the system's own, for tests that fail a step.
    explicit StandardFileSystem(SystemCalls& calls) : m_calls(calls) {}
    StandardFileSystem(const StandardFileSystem&) = delete;
    StandardFileSystem& operator=(const StandardFileSystem&) = delete;

    std::unique_ptr<ByteSink> CreateFile(const std::wstring& path) override;
    std::unique_ptr<ByteSource> OpenFile(const std::wstring& path) override;

private:
    SystemCalls m_ownCalls;
    SystemCalls& m_calls;
};

}  // namespace rpn
