#pragma once

#include "engine/calc_state.h"

namespace rpn {

// Number entry: the buffer of the number being keyed in, turned into a double
// only when an operation needs X.

// One digit key 0..9, including a pending FIX, SCI, ENG, STO or RCL prefix.
void EnterDigit(CalcState& state, int digit);
void EnterDecimalPoint(CalcState& state);
void EnterExponent(CalcState& state);
// CHS while an entry is in progress: toggles the exponent's or the mantissa's sign.
void ChangeEntrySign(CalcState& state);
void Backspace(CalcState& state);

// Abandons the entry and sets X to 0 (CLX).
void ClearEntry(CalcState& state);
// The value the entry buffer stands for; the state is not changed.
double EntryValue(const CalcState& state);
// Run by every operation before it uses X.
void EndEntry(CalcState& state);

// Toggles a sign text: anything but " " becomes " ", " " becomes "-".
void ToggleSign(std::wstring& sign);

}  // namespace rpn
