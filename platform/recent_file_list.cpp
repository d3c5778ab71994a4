#include "platform/recent_file_list.h"

#include <algorithm>

namespace rpn {

namespace {

std::wstring EntryName(std::size_t index)
{
    return L"File" + std::to_wstring(index + 1);
}

}  // namespace

RecentFileList::RecentFileList(ProfileStore& store, std::size_t capacity) : m_store(store), m_capacity(capacity)
{
    for (std::size_t index = 0; index < m_capacity; ++index) {
        std::wstring path = m_store.GetProfileString(kRecentFileSection, EntryName(index));
        if (!path.empty() && std::find(m_paths.begin(), m_paths.end(), path) == m_paths.end())
            m_paths.push_back(std::move(path));
    }
}

void RecentFileList::Add(const std::wstring& path)
{
    if (path.empty())
        return;
    // path may be one of the list's own entries, which the erase destroys.
    std::wstring chosen = path;
    std::erase(m_paths, chosen);
    m_paths.insert(m_paths.begin(), std::move(chosen));
    if (m_paths.size() > m_capacity)
        m_paths.resize(m_capacity);
    Write();
}

void RecentFileList::Write()
{
    for (std::size_t index = 0; index < m_paths.size(); ++index)
        m_store.WriteProfileString(kRecentFileSection, EntryName(index), m_paths[index]);
    m_store.Flush();
}

}  // namespace rpn
