#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rpn {

// The per-user settings store: named entries of text or 32-bit integers,
// grouped in sections. The calculator reads it when a document is created and
// writes it when the document closes; the recent-file list keeps its own
// section in the same store. The caller owns the store and passes it by
// reference; nothing holds on to it.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    // The stored text, or the empty text when the entry is absent.
    virtual std::wstring GetProfileString(std::wstring_view section, std::wstring_view entry) = 0;
    // The stored integer, or absentValue when the entry is absent or does not
    // hold a 32-bit integer.
    virtual std::int32_t GetProfileInt(std::wstring_view section, std::wstring_view entry,
                                       std::int32_t absentValue) = 0;
    // Create or replace an entry. Writes may be held in memory until Flush.
    virtual void WriteProfileString(std::wstring_view section, std::wstring_view entry, std::wstring_view text) = 0;
    virtual void WriteProfileInt(std::wstring_view section, std::wstring_view entry, std::int32_t value) = 0;
    // Makes every write so far durable. False when the backing file could not
    // be replaced; the previous file is then left as it was.
    virtual bool Flush() = 0;
};

// How every store reads an integer entry's text: optional blanks around an
// optional sign and decimal digits that fit 32 bits; anything else is no
// integer, which reads as absent.
inline std::optional<std::int32_t> ProfileIntFromText(std::wstring_view text)
{
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    std::string digits;
    for (const wchar_t c : text)
        digits += c > 0 && c < 0x80 ? static_cast<char>(c) : '?';
    // from_chars reads a minus sign, but no plus.
    const char* first = digits.data() + (digits.starts_with('+') && !digits.starts_with("+-") ? 1 : 0);
    const char* last = digits.data() + digits.size();
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

}  // namespace rpn
