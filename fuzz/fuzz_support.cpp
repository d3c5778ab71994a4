#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace rpn::fuzz {

void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

std::size_t BytesSource::Read(std::span<std::uint8_t> buffer)
{
    const std::size_t count = std::min(buffer.size(), m_bytes.size());
    std::copy_n(m_bytes.begin(), count, buffer.begin());
    m_bytes = m_bytes.subspan(count);
    return count;
}

namespace {

std::wstring_view Trim(std::wstring_view text)
{
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace

IniProfileStore::IniProfileStore(std::wstring_view text)
{
    std::wstring section;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(L'\n'), text.size());
        const std::wstring_view line = Trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
            section = std::wstring(line.substr(1, line.size() - 2));
            continue;
        }
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos)
            continue;
        std::wstring_view value = Trim(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
            value = value.substr(1, value.size() - 2);
        m_entries[{section, std::wstring(Trim(line.substr(0, equals)))}] = std::wstring(value);
    }
}

std::wstring IniProfileStore::GetProfileString(std::wstring_view section, std::wstring_view entry)
{
    const auto found = m_entries.find({std::wstring(section), std::wstring(entry)});
    return found == m_entries.end() ? std::wstring() : found->second;
}

std::int32_t IniProfileStore::GetProfileInt(std::wstring_view section, std::wstring_view entry,
                                            std::int32_t absentValue)
{
    const auto found = m_entries.find({std::wstring(section), std::wstring(entry)});
    if (found == m_entries.end())
        return absentValue;
    return ProfileIntFromText(found->second).value_or(absentValue);
}

void IniProfileStore::WriteProfileString(std::wstring_view section, std::wstring_view entry, std::wstring_view text)
{
    m_entries[{std::wstring(section), std::wstring(entry)}] = std::wstring(text);
}

void IniProfileStore::WriteProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t value)
{
    WriteProfileString(section, entry, std::to_wstring(value));
}

void FuzzClipboard::ExpectOpen() const
{
    if (!m_open)
        Fail("clipboard used while closed");
}

bool FuzzClipboard::Open()
{
    if (m_open)
        Fail("clipboard opened twice");
    if (m_content == Content::Busy)
        return false;
    m_open = true;
    return true;
}

void FuzzClipboard::Close()
{
    ExpectOpen();
    m_open = false;
}

void FuzzClipboard::PutText(std::wstring_view text)
{
    ExpectOpen();
    m_content = Content::Text;
    m_text = std::wstring(text);
}

bool FuzzClipboard::HasText()
{
    ExpectOpen();
    return m_content == Content::Text;
}

std::u16string_view FuzzClipboard::GetText()
{
    ExpectOpen();
    m_given = m_content == Content::Text ? Utf16(m_text) : std::u16string();
    return m_given;
}

CalcState BusyState()
{
    CalcState state = MakeResetState();
    state.RegX = 1.0 / 3.0;
    state.RegY = -0.0;
    state.RegZ = 42.0;
    state.RegT = 1e300;
    state.RegLstX = 7.0;
    state.RegS[4] = 2.5;
    state.EntryMode = true;
    state.DecimalMode = true;
    state.Integer = L"12";
    state.Fraction = L"5";
    state.DisplayText = L" 125";
    state.DecimalLocation = 4;
    state.AngleMode = L"RAD";
    state.SuperMode = L"STO";
    state.Brightness = 2;
    state.KeyCode = 11;
    return state;
}

}  // namespace rpn::fuzz
