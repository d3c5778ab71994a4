#pragma once

#include "platform/byte_stream.h"

namespace rpn {

// State files on the local file system. Writing goes through QSaveFile: a
// temporary file beside the target, flushed and renamed over it on commit.
class QtFileSystem final : public FileSystem {
public:
    std::unique_ptr<ByteSink> CreateFile(const std::wstring& path) override;
    std::unique_ptr<ByteSource> OpenFile(const std::wstring& path) override;
};

}  // namespace rpn
