#include "display/format.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/number_text.h"

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

std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// A sign column in front of anything that does not start with "-".
std::wstring WithSignColumn(const std::string& text)
{
    std::wstring wide = Widen(text);
    if (wide.empty() || wide.front() != L'-')
        wide.insert(wide.begin(), L' ');
    return wide;
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

void ShowEntry(CalcState& state)
{
    std::wstring text = state.IntegerSign + state.Integer;
    if (state.DecimalMode)
        text += state.Fraction;
    if (state.ExpoMode) {
        text.resize(kEntryMantissaWidth, L' ');
        text += state.ExponentSign;
        text += state.Exponent;
    } else if (text.size() > kMainLineCells) {
        // Only a damaged store can hold longer entry texts; show what fits.
        text.resize(kMainLineCells);
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
        std::wstring text = WithSignColumn(PrintFixed(x, precision));
        if (precision == 0)
            text += L'.';
        if (text.size() > kFixMaxLength)
            return FormatSci(state, x);
        return text;
    }
    if (state.DisplayMode == L"ENG")
        return FormatEng(state, x);
    return L"0";
}

std::wstring FormatSci(const CalcState& state, double x)
{
    const int precision = EffectivePrecision(state);
    const int digits = std::min(precision, kSciMaxFractionDigits);
    const std::wstring text = WithSignColumn(PrintScientific(x, digits));

    const std::size_t e = text.find(L'e');
    if (e == std::wstring::npos || e < 2) {
        // Not a number or infinite: nothing to lay out, keep the printed word.
        std::wstring word = text;
        word.resize(kMantissaField + 3, L' ');
        return word;
    }

    std::wstring mantissa = text.substr(0, 2);
    mantissa += L'.';
    if (digits > 0)
        mantissa += text.substr(3, static_cast<std::size_t>(digits));
    mantissa.resize(kMantissaField, L' ');

    const int exponent = std::atoi(std::string(text.begin() + static_cast<std::ptrdiff_t>(e) + 1, text.end()).c_str());
    const int magnitude = std::abs(exponent) % 100;
    mantissa += exponent < 0 ? L'-' : L' ';
    mantissa += static_cast<wchar_t>(L'0' + magnitude / 10);
    mantissa += static_cast<wchar_t>(L'0' + magnitude % 10);
    return mantissa;
}

std::wstring FormatEng(const CalcState& state, double x)
{
    const std::wstring sci = FormatSci(state, x);
    std::wstring mantissa = sci.substr(0, kMantissaField);
    const wchar_t sign = sci[kMantissaField];
    const std::wstring digits = sci.substr(sci.size() - 2);
    const auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    if (!isDigit(digits[0]) || !isDigit(digits[1]))
        return sci;

    int exponent = (digits[0] - L'0') * 10 + (digits[1] - L'0');
    if (sign == L'-')
        exponent = -exponent;
    if (exponent % 3 == 0)
        return sci;

    int steps = 0;
    while (exponent % 3 != 0) {
        --exponent;
        ++steps;
    }
    for (int step = 0; step < steps; ++step) {
        const std::size_t point = mantissa.find(L'.');
        if (point == std::wstring::npos || point + 1 >= mantissa.size())
            break;
        std::swap(mantissa[point], mantissa[point + 1]);
    }

    const std::wstring written = L"0" + std::to_wstring(std::abs(exponent));
    return mantissa + sign + written.substr(written.size() - 2);
}

std::vector<MainLineCell> LayoutMainLine(const CalcState& state)
{
    const std::wstring& text = state.DisplayText;
    std::vector<MainLineCell> cells;
    cells.reserve(text.size());
    for (const wchar_t character : text)
        cells.push_back({character});
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
