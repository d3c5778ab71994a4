#include "engine/calc_state.h"

#include <bit>

namespace rpn {

void ResetState(CalcState& state)
{
    state.bAudibleClicks = false;
    state.DisplayText = kClearedDisplay;
    state.DecimalMode = false;
    state.EntryMode = false;
    state.ExpoMode = false;
    state.FunctionMode = false;
    state.AutoLift = true;
    state.HelpMode = false;
    ClearEntryBuffer(state);
    state.DecimalLocation = kClearedDecimalLocation;
    state.RegX = 0.0;
    state.RegY = 0.0;
    state.RegZ = 0.0;
    state.RegT = 0.0;
    state.RegS.fill(0.0);
    state.DisplayMode = L"SCI";
    state.DisplayPrecision = 6;
    state.SuperMode.clear();
    state.AngleMode = L"DEG";
    state.Brightness = 0;
}

CalcState MakeResetState()
{
    CalcState state;
    ResetState(state);
    return state;
}

void ClearRegisters(CalcState& state)
{
    state.DecimalMode = false;
    state.EntryMode = false;
    state.ExpoMode = false;
    state.FunctionMode = false;
    state.HelpMode = false;
    state.AutoLift = true;
    ClearEntryBuffer(state);
    state.RegX = 0.0;
    state.RegY = 0.0;
    state.RegZ = 0.0;
    state.RegT = 0.0;
    state.RegS.fill(0.0);
}

void ClearEntryBuffer(CalcState& state)
{
    state.Integer.clear();
    state.Fraction.clear();
    state.Exponent.clear();
    state.IntegerSign = L" ";
    state.ExponentSign = L" ";
}

bool SameBits(const CalcState& a, const CalcState& b)
{
    const auto bits = [](double value) { return std::bit_cast<std::uint64_t>(value); };
    if (bits(a.RegX) != bits(b.RegX) || bits(a.RegY) != bits(b.RegY) || bits(a.RegZ) != bits(b.RegZ) ||
        bits(a.RegT) != bits(b.RegT) || bits(a.RegLstX) != bits(b.RegLstX))
        return false;
    for (std::size_t i = 0; i < a.RegS.size(); ++i)
        if (bits(a.RegS[i]) != bits(b.RegS[i]))
            return false;
    CalcState left = a;
    CalcState right = b;
    left.RegX = right.RegX = left.RegY = right.RegY = left.RegZ = right.RegZ = 0;
    left.RegT = right.RegT = left.RegLstX = right.RegLstX = 0;
    left.RegS.fill(0);
    right.RegS.fill(0);
    return left == right;
}

}  // namespace rpn
