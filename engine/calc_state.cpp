#include "engine/calc_state.h"

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
    state.Integer.clear();
    state.Fraction.clear();
    state.Exponent.clear();
    state.IntegerSign = L" ";
    state.ExponentSign = L" ";
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
    state.Integer.clear();
    state.Fraction.clear();
    state.Exponent.clear();
    state.IntegerSign = L" ";
    state.ExponentSign = L" ";
    state.RegX = 0.0;
    state.RegY = 0.0;
    state.RegZ = 0.0;
    state.RegT = 0.0;
    state.RegS.fill(0.0);
}

}  // namespace rpn
