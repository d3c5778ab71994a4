#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/profile_store.h"

namespace rpn::test {

// An in-memory profile store that keeps every value as text, as an INI file
// does: an integer entry holding no 32-bit integer reads as absent. Records
// the order of writes.
class FakeProfileStore final : public ProfileStore {
public:
    std::wstring GetProfileString(std::wstring_view section, std::wstring_view entry) override;
    std::int32_t GetProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t absentValue) override;
    void WriteProfileString(std::wstring_view section, std::wstring_view entry, std::wstring_view text) override;
    void WriteProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t value) override;
    // Fails when told to; the writes stay in memory either way.
    bool Flush() override { return !m_failFlush; }

    bool Has(std::wstring_view section, std::wstring_view entry) const;
    void Erase(std::wstring_view section, std::wstring_view entry);
    std::size_t Size() const { return m_entries.size(); }

    // Entry names in the order they were written, any section.
    const std::vector<std::wstring>& WriteLog() const { return m_writeLog; }
    void FailFlush(bool fail) { m_failFlush = fail; }

private:
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> m_entries;
    std::vector<std::wstring> m_writeLog;
    bool m_failFlush = false;
};

}  // namespace rpn::test
