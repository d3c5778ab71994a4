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

// Puts bytes in place of the target through a temporary file beside it,
// synced and renamed over it, then syncs the directory; the new file keeps
// the old one's permission bits and, where allowed, its owner. False, with
// errno saying why, when a step failed; until the rename the target is as it
// was. A temporary file a save cannot tell is its own is left for the next.
bool ReplaceFile(SystemCalls& calls, const SaveTarget& target, std::span<const std::uint8_t> bytes);

}  // namespace rpn
