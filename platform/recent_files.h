#pragma once

#include <string>

namespace rpn {

// The File menu's list of recently used state files, kept in the profile
// store's "Recent File List" section (File1 to File4). Save State and Load
// State add the chosen path before they touch the file. Owned by the caller.
class RecentFiles {
public:
    virtual ~RecentFiles() = default;

    // Puts path at the top of the list, dropping a duplicate and the oldest.
    virtual void Add(const std::wstring& path) = 0;
};

}  // namespace rpn
