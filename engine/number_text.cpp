#include "engine/number_text.h"

#include <locale.h>

#include <charconv>
#include <clocale>
#include <cwchar>

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

}  // namespace

double ParseLeadingNumber(std::wstring_view text)
{
    // wcstod needs a terminated string, and any character that is not part of
    // a number simply ends the conversion, so a copy is all the guarding needed.
    const std::wstring terminated(text);
    return wcstod_l(terminated.c_str(), nullptr, CLocale());
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
