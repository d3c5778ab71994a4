#include "persist/utf8.h"

#include <cstdint>

namespace rpn {

namespace {

constexpr char32_t kEscapeBase = 0xDC80;
constexpr char32_t kReplacement = 0xFFFD;

bool IsCodePoint(char32_t code)
{
    return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (!IsCodePoint(code))
        code = kReplacement;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The length of the UTF-8 sequence at bytes[i], or 0 when none starts there
// (overlong forms and encoded surrogates included).
std::size_t SequenceLength(std::string_view bytes, std::size_t i, char32_t& code)
{
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[i + k]);
        if ((next & 0xC0u) != 0x80u)
            return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < minimum || !IsCodePoint(code))
        return 0;
    return length;
}

}  // namespace

std::string Utf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const wchar_t wide : text)
        AppendUtf8(out, static_cast<char32_t>(static_cast<std::uint32_t>(wide)));
    return out;
}

std::u16string Utf16(std::wstring_view text)
{
    std::u16string units;
    units.reserve(text.size());
    for (const wchar_t character : text) {
        char32_t code = static_cast<char32_t>(character);
        if (!IsCodePoint(code))
            code = kReplacement;
        if (code < 0x10000) {
            units += static_cast<char16_t>(code);
        } else {
            units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    return units;
}

std::wstring WidePath(std::string_view bytes)
{
    std::wstring path;
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t code = 0;
        const std::size_t length = SequenceLength(bytes, i, code);
        if (length == 0) {
            path += static_cast<wchar_t>(kEscapeBase + static_cast<unsigned char>(bytes[i]) - 0x80);
            ++i;
        } else {
            path += static_cast<wchar_t>(code);
            i += length;
        }
    }
    return path;
}

std::string NarrowPath(std::wstring_view path)
{
    std::string bytes;
    for (const wchar_t wide : path) {
        const auto code = static_cast<char32_t>(static_cast<std::uint32_t>(wide));
        if (code >= kEscapeBase && code <= kEscapeBase + 0x7F)
            bytes += static_cast<char>(code - kEscapeBase + 0x80);
        else
            AppendUtf8(bytes, code);
    }
    return bytes;
}

}  // namespace rpn
