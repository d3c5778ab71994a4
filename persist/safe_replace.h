#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "persist/system_calls.h"

namespace rpn {

// Where a save lands: the directory and the name in it of the regular file
// that will be replaced (symbolic links already followed), and that file's
// status when it exists.
struct SaveTarget {
    std::string directory;
    std::string name;
    std::optional<struct stat> existing;
};

// Follows path's symbolic links to the file a save replaces (the links stay).
// Nothing, with errno saying why, for a link to nothing, a link loop, a
// read-only file, and anything that exists but is not a regular file.
std::optional<SaveTarget> ResolveSaveTarget(SystemCalls& calls, const std::string& path);

// Puts bytes in place of the target: written to a temporary file beside it,
// synced, renamed over it, the directory synced. The new file keeps the old
// one's permission bits and, where allowed, its owner. False, with errno
// saying why, when any step failed; up to the rename the target is as it was.
// A save leaves no temporary file behind unless it cannot tell the file is
// its own; the next save of the target takes that one over.
bool ReplaceFile(SystemCalls& calls, const SaveTarget& target, std::span<const std::uint8_t> bytes);

}  // namespace rpn
