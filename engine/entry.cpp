#include "engine/entry.h"

#include <cmath>

#include "engine/number_text.h"
#include "engine/stack.h"

namespace rpn {

namespace {

constexpr std::size_t kMantissaDigits = 10;

void StartEntry(CalcState& state)
{
    if (state.AutoLift)
        LiftStack(state);
    state.EntryMode = true;
    state.DecimalMode = false;
    state.ExpoMode = false;
    state.FunctionMode = false;
    state.HelpMode = false;
    ClearEntryBuffer(state);
    state.DecimalLocation = 0;
}

void MarkDecimalPoint(CalcState& state)
{
    state.DecimalMode = true;
    state.DecimalLocation = static_cast<std::int32_t>(state.Integer.size()) + 2;
}

bool IsDisplayPrefix(const std::wstring& mode)
{
    return mode == L"FIX" || mode == L"SCI" || mode == L"ENG";
}

}  // namespace

void ToggleSign(std::wstring& sign)
{
    sign = (sign == L" ") ? L"-" : L" ";
}

void EnterDigit(CalcState& state, int digit)
{
    if (IsDisplayPrefix(state.SuperMode)) {
        if (state.SuperMode == L"ENG" && digit < 2)
            return;
        state.DisplayMode = state.SuperMode;
        state.DisplayPrecision = digit;
        return;
    }
    if (state.SuperMode == L"STO") {
        EndEntry(state);
        state.RegS[static_cast<std::size_t>(digit)] = state.RegX;
        return;
    }
    if (state.SuperMode == L"RCL") {
        EndEntry(state);
        LiftStack(state);
        state.RegX = state.RegS[static_cast<std::size_t>(digit)];
        return;
    }

    const wchar_t character = static_cast<wchar_t>(L'0' + digit);
    if (!state.EntryMode)
        StartEntry(state);
    if (state.ExpoMode) {
        state.Exponent.push_back(character);
        if (state.Exponent.size() > 2)
            state.Exponent.erase(0, state.Exponent.size() - 2);
    } else if (state.DecimalMode) {
        if (state.Integer.size() + state.Fraction.size() < kMantissaDigits)
            state.Fraction.push_back(character);
    } else if (state.Integer.size() < kMantissaDigits) {
        state.Integer.push_back(character);
    }
}

void EnterDecimalPoint(CalcState& state)
{
    if (!state.EntryMode) {
        EnterDigit(state, 0);
        MarkDecimalPoint(state);
        return;
    }
    if (state.ExpoMode || state.DecimalMode)
        return;
    MarkDecimalPoint(state);
}

void EnterExponent(CalcState& state)
{
    if (!state.EntryMode)
        return;
    state.ExpoMode = true;
    state.Exponent = L"00";
}

void ChangeEntrySign(CalcState& state)
{
    ToggleSign(state.ExpoMode ? state.ExponentSign : state.IntegerSign);
}

void Backspace(CalcState& state)
{
    if (state.DecimalMode && !state.ExpoMode) {
        if (!state.Fraction.empty()) {
            state.Fraction.pop_back();
        } else {
            state.DecimalMode = false;
            state.DecimalLocation = 0;
        }
        return;
    }
    if (state.ExpoMode) {
        if (state.Exponent != L"00") {
            // A damaged store can leave the exponent short; read a missing digit as 0.
            const wchar_t first = state.Exponent.empty() ? L'0' : state.Exponent.front();
            state.Exponent = std::wstring{L'0', first};
        } else {
            state.ExpoMode = false;
            state.ExponentSign = L" ";
            state.Exponent.clear();
        }
        return;
    }
    if (!state.Integer.empty())
        state.Integer.pop_back();
    if (state.Integer.empty())
        ClearEntry(state);
}

void ClearEntry(CalcState& state)
{
    state.DecimalMode = false;
    state.EntryMode = false;
    state.ExpoMode = false;
    state.AutoLift = false;
    ClearEntryBuffer(state);
    state.RegX = 0.0;
    state.DisplayText = kClearedDisplay;
}

double EntryValue(const CalcState& state)
{
    const double mantissa = ParseLeadingNumber(state.IntegerSign + state.Integer + L"." + state.Fraction);
    const double exponent = ParseLeadingNumber(state.ExponentSign + state.Exponent);
    // Mantissa and power of ten are rounded separately, as the calculator always did.
    return std::pow(10.0, exponent) * mantissa;
}

void EndEntry(CalcState& state)
{
    if (!state.EntryMode)
        return;
    state.RegX = EntryValue(state);
    state.EntryMode = false;
}

}  // namespace rpn
