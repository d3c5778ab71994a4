#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/calc_state.h"
#include "engine/key_codes.h"
#include "engine/random_source.h"

namespace rpn {

// A key's place on the 240 x 268 face; right and bottom are exclusive.
struct KeyRectangle {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool Contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
    bool operator==(const KeyRectangle&) const = default;
};

inline constexpr int kFaceWidth = 240;
inline constexpr int kFaceHeight = 268;

enum class KeyColour { Blue, Yellow, Grey, None };

// One key of the face: its legends as printed (UTF-8), the shifted one in
// yellow above the key, and the key's colour.
struct KeyInfo {
    int code;
    std::string_view primary;
    std::string_view shifted;
    KeyColour colour;
};

// Index k - 1 describes key code k.
extern const std::array<KeyInfo, kKeyCount> kKeyTable;

KeyRectangle KeyRect(int code);
// The key code under a face point, 0 for none; ENTER wins over the code it covers.
int HitTest(int x, int y);

// Virtual-key codes of the keyboard keys the calculator answers.
namespace vk {
inline constexpr int Backspace = 8;
inline constexpr int Enter = 13;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int Delete = 46;
inline constexpr int Digit0 = 48;
inline constexpr int E = 69;
inline constexpr int F = 70;
inline constexpr int Numpad0 = 96;
inline constexpr int Multiply = 106;
inline constexpr int Add = 107;
inline constexpr int Subtract = 109;
inline constexpr int Decimal = 110;
inline constexpr int Divide = 111;
inline constexpr int Period = 190;
}  // namespace vk

// The key code a virtual key performs, 0 when it performs none (Delete and
// Escape act directly and also map to 0).
int KeyCodeForVirtualKey(int virtualKey);

// A released keyboard key: dispatches its key code or, for Delete and Escape,
// clears directly. KeyCode is 0 again afterwards; the caller updates the views.
void KeyboardKey(CalcState& state, int virtualKey, RandomSource& random);

}  // namespace rpn
