#include "testsupport/fake_profile_store.h"

#include <charconv>
#include <string>

namespace rpn::test {

namespace {

std::pair<std::wstring, std::wstring> Key(std::wstring_view section, std::wstring_view entry)
{
    return {std::wstring(section), std::wstring(entry)};
}

}  // namespace

std::wstring FakeProfileStore::GetProfileString(std::wstring_view section, std::wstring_view entry)
{
    const auto found = m_entries.find(Key(section, entry));
    return found == m_entries.end() ? std::wstring() : found->second;
}

std::int32_t FakeProfileStore::GetProfileInt(std::wstring_view section, std::wstring_view entry,
                                             std::int32_t absentValue)
{
    const auto found = m_entries.find(Key(section, entry));
    if (found == m_entries.end())
        return absentValue;
    std::string narrow;
    for (const wchar_t c : found->second) {
        if (c < 0 || c > 0x7F)
            return absentValue;
        narrow += static_cast<char>(c);
    }
    std::int32_t value = 0;
    const auto result = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (narrow.empty() || result.ec != std::errc() || result.ptr != narrow.data() + narrow.size())
        return absentValue;
    return value;
}

void FakeProfileStore::WriteProfileString(std::wstring_view section, std::wstring_view entry, std::wstring_view text)
{
    m_entries[Key(section, entry)] = std::wstring(text);
    m_writeLog.emplace_back(entry);
}

void FakeProfileStore::WriteProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t value)
{
    WriteProfileString(section, entry, std::to_wstring(value));
}

bool FakeProfileStore::Has(std::wstring_view section, std::wstring_view entry) const
{
    return m_entries.contains(Key(section, entry));
}

void FakeProfileStore::Erase(std::wstring_view section, std::wstring_view entry)
{
    m_entries.erase(Key(section, entry));
}

}  // namespace rpn::test
