#include "engine/number_text.h"

#include <locale.h>

#include <cctype>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cstring>
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

// White space is skipped in place, as wcstod skips it. The number lies in the
// run of ASCII characters that can be part of one (those of "nan(...)", signs
// and the point among them), so strtod reads it from a copy of that run alone.
template <typename Char>
double ParseLeading(std::basic_string_view<Char> text)
{
    std::size_t at = 0;
    while (at < text.size() && iswspace_l(static_cast<wint_t>(text[at]), CLocale()))
        ++at;
    std::string number;
    while (at < text.size() && text[at] > 0 && text[at] < 0x80 &&
           (isalnum_l(static_cast<char>(text[at]), CLocale()) || std::strchr(".+-()_", static_cast<char>(text[at]))))
        number += static_cast<char>(text[at++]);
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
