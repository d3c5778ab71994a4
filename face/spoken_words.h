#pragma once

#include <string>
#include <string_view>

#include "engine/calc_state.h"

namespace rpn {

// What screen readers say, in words a synthesiser reads well; the screen
// keeps its abbreviations and legends.

// A number as shown ("-5.000000 00"): "minus 5.000000 times ten to the 0".
std::wstring SpokenNumber(const std::wstring& shown);
// The main line, the display format, the angle mode and a pending prefix:
// "1.234500 times ten to the 3, scientific 6, degrees, F pending"; an error
// as "error: infinity".
std::wstring DisplayReading(const CalcState& state);
// Y, Z and T as the small lines show them.
std::wstring StackReading(const CalcState& state);
// "sine, shifted: inverse sine"; empty for key code 26, which no key has.
std::wstring KeyName(int code);
// A register menu item's caption ("STO 4:  1.234500 03") as it is said,
// "store in register 4: 1.234500 times ten to the 3"; other captions stay.
std::wstring RegisterItemName(std::wstring_view caption);
// What a store or a recall through the menus did: "stored in register 4".
std::wstring StoredSaying(int registerNumber);
std::wstring RecalledSaying(int registerNumber);

}  // namespace rpn
