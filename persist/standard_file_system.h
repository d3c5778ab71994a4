#pragma once

#include <string>
#include <string_view>

#include "platform/byte_stream.h"

namespace rpn {

// State files through the POSIX file calls, for programs without Qt
// (rpn-cli). A save goes to a temporary file beside the target, is flushed to
// the disk and renamed over the target, so a failed save keeps the old file.
class StandardFileSystem final : public FileSystem {
public:
    std::unique_ptr<ByteSink> CreateFile(const std::wstring& path) override;
    std::unique_ptr<ByteSource> OpenFile(const std::wstring& path) override;
};

// A file name given as bytes (a command-line argument) as the wide path the
// file system takes. UTF-8 is decoded; a byte that is no part of UTF-8 is
// kept as U+DC80 plus the byte, which CreateFile and OpenFile turn back into
// that byte, so every name reaches the same file.
std::wstring WidePath(std::string_view bytes);
std::string NarrowPath(const std::wstring& path);

}  // namespace rpn
