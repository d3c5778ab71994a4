#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/calc_state.h"

namespace rpn {

// The three error texts that replace the display text.
inline constexpr wchar_t kErrorNaN[] = L"ERROR: NaN";
inline constexpr wchar_t kErrorInf[] = L"ERROR: Inf";
inline constexpr wchar_t kErrorOverflow[] = L"ERROR: OVR";

bool IsErrorText(const std::wstring& text);

// Rebuilds DisplayText and DecimalLocation from the entry or from X, and
// replaces an X the display cannot show (NaN, infinity, overflow, underflow).
void UpdateDisplay(CalcState& state);

// One double in the current display mode, point included. Used for the main
// line, the stack lines and the register menu texts.
std::wstring FormatNumber(const CalcState& state, double x);
std::wstring FormatSci(const CalcState& state, double x);
std::wstring FormatEng(const CalcState& state, double x);

// The precision the formatter works with: a stored value outside 0..9 (only a
// hand-edited store holds one) is clamped, so formats stay well formed.
int EffectivePrecision(const CalcState& state);

// One cell of the main display line: the character, and whether the decimal
// point and a group separator are drawn just right of it.
struct MainLineCell {
    wchar_t character;
    bool point = false;
    bool separator = false;
};

// The first mostCells cells (all by default); the marks are placed as the
// whole text puts them, so a long text costs only the cells asked for.
std::vector<MainLineCell> LayoutMainLine(const CalcState& state, std::size_t mostCells = SIZE_MAX);

// The main line as it is seen: each character followed by the point or the
// separator drawn beside it.
std::wstring DrawnMainLine(const CalcState& state);

// A FIX stack line with its group separators, as the small lines show it.
std::wstring StackLineText(const CalcState& state, double value);

// The mode label, for example "SCI.6".
std::wstring ModeLabel(const CalcState& state);

}  // namespace rpn
