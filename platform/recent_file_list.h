#pragma once

#include <string>
#include <vector>

#include "platform/profile_store.h"
#include "platform/recent_files.h"

namespace rpn {

inline constexpr wchar_t kRecentFileSection[] = L"Recent File List";

// The recent-file list of the File menu, newest first, at most four paths,
// kept in the profile store as File1 to File4. The list is read when it is
// made and written back (and flushed) at every change, so a path chosen
// survives even a run that never closes normally. The store must outlive the
// list.
class RecentFileList final : public RecentFiles {
public:
    explicit RecentFileList(ProfileStore& store, std::size_t capacity = 4);

    void Add(const std::wstring& path) override;
    const std::vector<std::wstring>& Paths() const { return m_paths; }

private:
    void Write();

    ProfileStore& m_store;
    std::size_t m_capacity;
    std::vector<std::wstring> m_paths;
};

}  // namespace rpn
