#include "display/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace rpn {

namespace {

constexpr double kOverflowThreshold = 9.999999999e99;
constexpr double kOverflowValue = 9.999999e99;
constexpr double kUnderflowThreshold = 1e-99;
constexpr double kFixToSciLogarithm = 20.0;
constexpr std::size_t kFixMaxLength = 12;
constexpr int kSciMaxFractionDigits = 6;
constexpr std::size_t kMantissaField = 9;
constexpr std::size_t kEntryMantissaWidth = 8;
constexpr std::size_t kMainLineCells = 11;

// A printed number with the sign column in front: " " unless it starts with "-".
struct SignedText {
    char buffer[400];
    std::string_view text;
};

SignedText PrintWithSignColumn(double x, std::chars_format format, int precision)
{
    SignedText printed;
    // Wide enough for the largest double in fixed notation with nine decimals.
    const auto end =
        std::to_chars(printed.buffer + 1, printed.buffer + sizeof printed.buffer, x, format, precision).ptr;
    const char* begin = printed.buffer + 1;
    if (*begin != '-') {
        printed.buffer[0] = ' ';
        begin = printed.buffer;
    }
    printed.text = std::string_view(begin, static_cast<std::size_t>(end - begin));
    return printed;
}

void ShowError(CalcState& state, const wchar_t* text)
{
    state.AutoLift = false;
    state.DisplayText = text;
    state.DecimalLocation = 0;
    state.EntryMode = false;
}

void ShowX(CalcState& state)
{
    std::wstring text = FormatNumber(state, state.RegX);
    const std::size_t point = text.find(L'.');
    if (point == std::wstring::npos) {
        state.DecimalLocation = 0;
    } else {
        state.DecimalLocation = static_cast<std::int32_t>(point) + 1;
        text.erase(point, 1);
    }
    state.DisplayText = std::move(text);
}

// Only a damaged store can hold entry texts longer than the cells; what
// does not fit is not even copied, so a key costs the same however long
// they are.
void AppendUpTo(std::wstring& text, const std::wstring& part, std::size_t most)
{
    if (text.size() < most)
        text.append(part, 0, most - text.size());
}

void ShowEntry(CalcState& state)
{
    std::wstring text;
    const std::size_t mantissaCells = state.ExpoMode ? kEntryMantissaWidth : kMainLineCells;
    AppendUpTo(text, state.IntegerSign, mantissaCells);
    AppendUpTo(text, state.Integer, mantissaCells);
    if (state.DecimalMode)
        AppendUpTo(text, state.Fraction, mantissaCells);
    if (state.ExpoMode) {
        text.resize(kEntryMantissaWidth, L' ');
        AppendUpTo(text, state.ExponentSign, kMainLineCells);
        AppendUpTo(text, state.Exponent, kMainLineCells);
    }
    state.DisplayText = std::move(text);
}

}  // namespace

bool IsErrorText(const std::wstring& text)
{
    return text == kErrorNaN || text == kErrorInf || text == kErrorOverflow;
}

int EffectivePrecision(const CalcState& state)
{
    return std::clamp(state.DisplayPrecision, 0, 9);
}

void UpdateDisplay(CalcState& state)
{
    if (state.EntryMode) {
        ShowEntry(state);
        return;
    }
    const double x = state.RegX;
    if (std::isnan(x)) {
        state.RegX = 0.0;
        ShowError(state, kErrorNaN);
    } else if (!std::isfinite(x)) {
        state.RegX = 0.0;
        ShowError(state, kErrorInf);
    } else if (std::fabs(x) > kOverflowThreshold) {
        state.RegX = x > 0 ? kOverflowValue : -kOverflowValue;
        ShowError(state, kErrorOverflow);
    } else {
        if (x != 0.0 && std::fabs(x) < kUnderflowThreshold)
            state.RegX = 0.0;
        ShowX(state);
    }
}

std::wstring FormatNumber(const CalcState& state, double x)
{
    if (state.DisplayMode == L"SCI")
        return FormatSci(state, x);
    if (state.DisplayMode == L"FIX") {
        // log10 of x itself: a negative x never takes this branch.
        if (x != 0.0 && std::fabs(std::log10(x)) > kFixToSciLogarithm)
            return FormatSci(state, x);
        const int precision = EffectivePrecision(state);
        const SignedText printed = PrintWithSignColumn(x, std::chars_format::fixed, precision);
        const std::size_t length = printed.text.size() + (precision == 0 ? 1 : 0);
        if (length > kFixMaxLength)
            return FormatSci(state, x);
        std::wstring text(printed.text.begin(), printed.text.end());
        if (precision == 0)
            text += L'.';
        return text;
    }
    if (state.DisplayMode == L"ENG")
        return FormatEng(state, x);
    return L"0";
}

std::wstring FormatSci(const CalcState& state, double x)
{
    const int digits = std::min(EffectivePrecision(state), kSciMaxFractionDigits);
    const SignedText printed = PrintWithSignColumn(x, std::chars_format::scientific, digits);
    const std::string_view text = printed.text;

    const std::size_t e = text.find('e');
    std::wstring result(kMantissaField + 3, L' ');
    if (e == std::string_view::npos || e < 2) {
        // Not a number or infinite: nothing to lay out, keep the printed word.
        std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min(text.size(), result.size())),
                  result.begin());
        return result;
    }

    result[0] = static_cast<wchar_t>(text[0]);
    result[1] = static_cast<wchar_t>(text[1]);
    result[2] = L'.';
    for (int i = 0; i < digits; ++i)
        result[static_cast<std::size_t>(3 + i)] = static_cast<wchar_t>(text[static_cast<std::size_t>(3 + i)]);

    const bool negative = text[e + 1] == '-';
    int magnitude = 0;
    for (std::size_t i = e + 2; i < text.size(); ++i)
        magnitude = (magnitude * 10 + (text[i] - '0')) % 100;
    result[kMantissaField] = negative ? L'-' : L' ';
    result[kMantissaField + 1] = static_cast<wchar_t>(L'0' + magnitude / 10);
    result[kMantissaField + 2] = static_cast<wchar_t>(L'0' + magnitude % 10);
    return result;
}

std::wstring FormatEng(const CalcState& state, double x)
{
    std::wstring result = FormatSci(state, x);
    const auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    const wchar_t tens = result[kMantissaField + 1];
    const wchar_t units = result[kMantissaField + 2];
    if (!isDigit(tens) || !isDigit(units))
        return result;

    int exponent = (tens - L'0') * 10 + (units - L'0');
    if (result[kMantissaField] == L'-')
        exponent = -exponent;
    int steps = 0;
    while (exponent % 3 != 0) {
        --exponent;
        ++steps;
    }
    for (int step = 0; step < steps; ++step) {
        const std::size_t point = result.find(L'.');
        if (point == std::wstring::npos || point + 1 >= kMantissaField)
            break;
        std::swap(result[point], result[point + 1]);
    }

    // The magnitude with a "0" in front, of which the last two characters count.
    const int magnitude = std::abs(exponent);
    result[kMantissaField + 1] = magnitude < 10 ? L'0' : static_cast<wchar_t>(L'0' + (magnitude / 10) % 10);
    result[kMantissaField + 2] = static_cast<wchar_t>(L'0' + magnitude % 10);
    return result;
}

std::vector<MainLineCell> LayoutMainLine(const CalcState& state, std::size_t mostCells)
{
    const std::wstring& text = state.DisplayText;
    std::vector<MainLineCell> cells;
    const std::size_t shown = std::min(text.size(), mostCells);
    cells.reserve(shown);
    for (std::size_t index = 0; index < shown; ++index)
        cells.push_back({text[index]});
    if (cells.empty())
        return cells;

    const auto mark = [&cells](long long index, bool MainLineCell::*flag) {
        if (index >= 0 && index < static_cast<long long>(cells.size()))
            cells[static_cast<std::size_t>(index)].*flag = true;
    };

    const long long location = state.DecimalLocation;
    mark(location - 2, &MainLineCell::point);
    if (IsErrorText(text))
        return cells;

    if (location != 0) {
        for (const long long step : {5, 8, 11})
            if (location > step)
                mark(location - step, &MainLineCell::separator);
    } else {
        long long end = static_cast<long long>(text.size());
        if (state.ExpoMode) {
            const std::size_t blank = text.find(L' ', 1);
            // A mantissa that fills all seven cells leaves no blank: the
            // integer digits then end at the exponent's sign cell.
            end = blank == std::wstring::npos ? 8 : static_cast<long long>(blank);
        }
        for (const long long step : {4, 7, 10})
            if (end > step)
                mark(end - step, &MainLineCell::separator);
    }
    return cells;
}

std::wstring DrawnMainLine(const CalcState& state)
{
    std::wstring drawn;
    for (const MainLineCell& cell : LayoutMainLine(state)) {
        drawn += cell.character;
        if (cell.point)
            drawn += L'.';
        if (cell.separator)
            drawn += L',';
    }
    return drawn;
}

std::wstring StackLineText(const CalcState& state, double value)
{
    std::wstring text = FormatNumber(state, value);
    if (state.DisplayMode != L"FIX")
        return text;
    const std::size_t found = text.find(L'.');
    const std::size_t position = found == std::wstring::npos ? 0 : found + 1;
    for (const std::size_t step : {4u, 7u, 10u})
        if (position > step + 1)
            text.insert(position - step, L",");
    return text;
}

std::wstring ModeLabel(const CalcState& state)
{
    return state.DisplayMode + L"." + static_cast<wchar_t>(L'0' + EffectivePrecision(state));
}

}  // namespace rpn
