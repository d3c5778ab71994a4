#pragma once

#include <string>
#include <string_view>

namespace rpn {

// The decimal conversions of the calculator, independent of the process
// locale: a comma-decimal locale still reads and writes a point.

// Reads the leading number of a text as the C library's wcstod does in the
// "C" locale: leading white space skipped, reading stops at the first
// character that cannot continue the number, and a text that does not begin
// with a number gives 0. Looks at no more of the text than the number's
// characters, and copies only those: a pasted text may be huge.
double ParseLeadingNumber(std::wstring_view text);
// The same for UTF-16 text, as the clipboard gives it.
double ParseLeadingNumber(std::u16string_view text);

// printf("%.*f", precision, value) and printf("%.*e", precision, value), as
// the C library prints them ("nan", "-inf", at least two exponent digits).
std::string PrintFixed(double value, int precision);
std::string PrintScientific(double value, int precision);

// The "%.6e" form in which registers travel as text (settings, clipboard).
std::wstring RegisterText(double value);

}  // namespace rpn
