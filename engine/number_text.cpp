#include "engine/number_text.h"

#include <locale.h>

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cwctype>

namespace rpn {

namespace {

locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

std::string Print(double value, std::chars_format format, int precision)
{
    // Wide enough for the largest double in fixed notation with nine decimals.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return std::string(buffer, result.ptr);
}

// Every character that can be part of a number's text: digits, letters
// (exponents, hexadecimal digits, "inf", "nan"), the point, signs, and the
// parentheses and underscore of "nan(...)". All of them ASCII.
bool CanBeInNumber(char32_t c)
{
    return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || c == U'.' || c == U'+' ||
           c == U'-' || c == U'(' || c == U')' || c == U'_';
}

// White space is skipped in place, as wcstod skips it; the number that
// follows lies within the run of characters that can be part of one, so
// strtod reads the same number from a narrow copy of that run alone.
template <typename Char>
double ParseLeading(std::basic_string_view<Char> text)
{
    std::size_t start = 0;
    while (start < text.size() && iswspace_l(static_cast<wint_t>(text[start]), CLocale()))
        ++start;
    std::string number;
    for (std::size_t at = start; at < text.size() && CanBeInNumber(static_cast<char32_t>(text[at])); ++at)
        number += static_cast<char>(text[at]);
    return strtod_l(number.c_str(), nullptr, CLocale());
}

}  // namespace

double ParseLeadingNumber(std::wstring_view text)
{
    return ParseLeading(text);
}

double ParseLeadingNumber(std::u16string_view text)
{
    return ParseLeading(text);
}

std::string PrintFixed(double value, int precision)
{
    return Print(value, std::chars_format::fixed, precision);
}

std::string PrintScientific(double value, int precision)
{
    return Print(value, std::chars_format::scientific, precision);
}

std::wstring RegisterText(double value)
{
    const std::string narrow = PrintScientific(value, 6);
    return std::wstring(narrow.begin(), narrow.end());
}

}  // namespace rpn
