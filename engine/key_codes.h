#pragma once

#include <array>
#include <cstddef>

namespace rpn {

// The key codes: a key's row-major place on the 6-column keypad, 1 top left
// to 30 bottom right, named after the key's primary legend. Every table that
// has a row per key (handlers, legends, spoken words, script names) uses
// these names and lists its rows in this order.
inline constexpr int kNoKey = 0;
inline constexpr int kKeyExp = 1;
inline constexpr int kKeyTenPower = 2;
inline constexpr int kKeySin = 3;
inline constexpr int kKeyCos = 4;
inline constexpr int kKeyTan = 5;
inline constexpr int kKeyReciprocal = 6;
inline constexpr int kKeySquareRoot = 7;
inline constexpr int kKeyEex = 8;
inline constexpr int kKey7 = 9;
inline constexpr int kKey8 = 10;
inline constexpr int kKey9 = 11;
inline constexpr int kKeyDivide = 12;
inline constexpr int kKeySwap = 13;
inline constexpr int kKeyChs = 14;
inline constexpr int kKey4 = 15;
inline constexpr int kKey5 = 16;
inline constexpr int kKey6 = 17;
inline constexpr int kKeyTimes = 18;
inline constexpr int kKeyLastX = 19;
inline constexpr int kKeyEnter = 20;
inline constexpr int kKey1 = 21;
inline constexpr int kKey2 = 22;
inline constexpr int kKey3 = 23;
inline constexpr int kKeyMinus = 24;
inline constexpr int kKeyF = 25;
// The grid place under the lower half of ENTER: no key of its own.
inline constexpr int kKeyEnterLowerHalf = 26;
inline constexpr int kKey0 = 27;
inline constexpr int kKeyPoint = 28;
inline constexpr int kKeyBackspace = 29;
inline constexpr int kKeyPlus = 30;
inline constexpr int kKeyCount = 30;

// The digit keys, indexed by their digit.
inline constexpr std::array<int, 10> kDigitKeys{kKey0, kKey1, kKey2, kKey3, kKey4, kKey5, kKey6, kKey7, kKey8, kKey9};

// True when a table has one row per key code, 1 to 30, in code order; each
// per-key table checks itself with it.
template <typename Row, std::size_t Rows>
constexpr bool RowsInKeyCodeOrder(const std::array<Row, Rows>& table)
{
    if (Rows != kKeyCount)
        return false;
    for (std::size_t i = 0; i < Rows; ++i)
        if (table[i].code != static_cast<int>(i) + 1)
            return false;
    return true;
}

}  // namespace rpn
