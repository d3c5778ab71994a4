#pragma once

#include <string>
#include <string_view>

#include "engine/calc_state.h"

namespace rpn {

// What screen readers say, in words a speech synthesiser reads well: the
// display's abbreviations and legends are spelt out, the screen keeps them.

// One number as shown ("-5.000000 00", "1,234.50"): "minus 5.000000 times
// ten to the 0".
std::wstring SpokenNumber(const std::wstring& shown);
// The main line, then the display format, the angle mode and whatever prefix
// is pending: "1.234500 times ten to the 3, scientific 6, degrees, F
// pending". An error is said in words ("error: infinity").
std::wstring DisplayReading(const CalcState& state);
// Y, Z and T as the small lines show them.
std::wstring StackReading(const CalcState& state);
// What a key does, then its shifted function: "sine, shifted: inverse
// sine". Empty for key code 26, which no key produces.
std::wstring KeyName(int code);
// A register menu item's caption ("STO 4:  1.234500 03") as it is said:
// "store in register 4: 1.234500 times ten to the 3". Other captions stay.
std::wstring RegisterItemName(std::wstring_view caption);
// What a store or a recall through the menus did: "stored in register 4".
std::wstring StoredSaying(int registerNumber);
std::wstring RecalledSaying(int registerNumber);

}  // namespace rpn
