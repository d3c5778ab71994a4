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
    return ProfileIntFromText(found->second).value_or(absentValue);
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
