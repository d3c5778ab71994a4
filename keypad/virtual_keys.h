#pragma once

#include <cstdint>

namespace rpn {

// A released keyboard key as the window system reports it. `key` is the
// toolkit's key number: the character's code for keys that type one (digits,
// upper-case letters, punctuation), and for the few named keys the table
// needs, the values below. `text` is what the key typed when it went down,
// with the layout and the Shift state of that moment (0 when it typed nothing
// or more than one character); `scanCode` is the physical key's X keycode,
// 0 when unknown.
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

// The virtual-key code of the keyboard table for a released key, 0 for keys
// outside it. A key is what it types, whatever the layout: +, -, * or / is
// that operator (Shift+8 on a US keyboard multiplies, the 6 key of a French
// one subtracts), a digit is that digit and "." the point, so digits and
// the point that need Shift work too. The numeric pad has 96..111; other
// keys go by their key number (letters are their upper-case codes), and a
// key of the main row's digit keys (X keycodes 10..19) that types nothing
// of these is still its digit.
int VirtualKeyFor(const KeyRelease& release);

}  // namespace rpn
