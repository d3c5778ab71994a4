#pragma once

#include <cstdint>

namespace rpn {

// A released key: the toolkit's key number (the character's code for keys
// that type one, the values below for named keys), whether it is on the pad,
// the one character it typed when it went down (0 for none), and its X
// keycode (0 when unknown).
struct KeyRelease {
    int key = 0;
    bool keypad = false;
    char32_t text = 0;
    std::uint32_t scanCode = 0;
};

namespace named_key {
inline constexpr int Escape = 0x01000000;
inline constexpr int Backspace = 0x01000003;
inline constexpr int Return = 0x01000004;
inline constexpr int Enter = 0x01000005;
inline constexpr int Delete = 0x01000007;
}  // namespace named_key

// The keyboard table's virtual-key code for a released key, 0 for none. A
// key is what it typed in any layout: +, -, * or / that operator (Shift+8 on
// a US keyboard multiplies, the French 6 key subtracts), a digit or "." the
// digit or the point. The pad has 96..111; other keys go by their number,
// and a digit-row key (X keycodes 10..19) that typed none of these is its
// digit.
int VirtualKeyFor(const KeyRelease& release);

}  // namespace rpn
