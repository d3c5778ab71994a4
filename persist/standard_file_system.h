#pragma once

#include <cstddef>
#include <cstring>
#include <string>

#include "persist/system_calls.h"
#include "persist/utf8.h"
#include "platform/byte_stream.h"

namespace rpn {

// A state file is about 200 bytes; anything past this is no state file, and
// neither program reads or writes more.
inline constexpr std::size_t kMostStateFileBytes = 64 * 1024;

// What went wrong, for a message: the system's text for errno, or the file
// layer's own words for kNotRegularFile.
inline std::string FileErrorText(int error)
{
    return error == kNotRegularFile ? "not a regular file" : std::strerror(error);
}

// Files through the POSIX file calls, the one file layer of the window and of
// rpn-cli, for state files and the settings file alike. No Qt. A save keeps
// the whole file in memory and writes it at the commit with ReplaceFile; a
// load opens without blocking or taking a terminal, and reads only a regular
// file of at most the limit. Every refusal and failure leaves errno saying
// why (EFBIG past the limit), for FileErrorText.
class StandardFileSystem final : public FileSystem {
public:
    // Through calls instead of the system's own, for tests that fail a step.
    explicit StandardFileSystem(std::size_t mostBytes = kMostStateFileBytes, SystemCalls* calls = nullptr)
        : m_calls(calls != nullptr ? *calls : m_ownCalls), m_mostBytes(mostBytes)
    {
    }
    StandardFileSystem(const StandardFileSystem&) = delete;
    StandardFileSystem& operator=(const StandardFileSystem&) = delete;

    std::unique_ptr<ByteSink> CreateFile(const std::wstring& path) override;
    std::unique_ptr<ByteSource> OpenFile(const std::wstring& path) override;

private:
    SystemCalls m_ownCalls;
    SystemCalls& m_calls;
    std::size_t m_mostBytes;
};

}  // namespace rpn
