#include "face/keypad.h"

#include "engine/dispatch.h"
#include "engine/entry.h"

namespace rpn {

const std::array<KeyInfo, kKeyCount> kKeyTable{{
    {1, "eˣ", "LN", KeyColour::Grey},     {2, "10ˣ", "LOG", KeyColour::Grey},     {3, "SIN", "SIN⁻¹", KeyColour::Grey},
    {4, "COS", "COS⁻¹", KeyColour::Grey}, {5, "TAN", "TAN⁻¹", KeyColour::Grey},   {6, "1/x", "yˣ", KeyColour::Grey},
    {7, "√x", "x²", KeyColour::Grey},     {8, "EEX", "π", KeyColour::Grey},       {9, "7", "FIX", KeyColour::Blue},
    {10, "8", "SCI", KeyColour::Blue},    {11, "9", "ENG", KeyColour::Blue},      {12, "÷", "%", KeyColour::Grey},
    {13, "x≷y", "R↓", KeyColour::Grey},   {14, "CHS", "R↑", KeyColour::Grey},     {15, "4", "DEG", KeyColour::Blue},
    {16, "5", "RAD", KeyColour::Blue},    {17, "6", "GRD", KeyColour::Blue},      {18, "×", "x!", KeyColour::Grey},
    {19, "LSTx", "HYP", KeyColour::Grey}, {20, "ENTER", "RAN#", KeyColour::Grey}, {21, "1", "→P", KeyColour::Blue},
    {22, "2", "→R", KeyColour::Blue},     {23, "3", "→DEG", KeyColour::Blue},     {24, "−", "→RAD", KeyColour::Grey},
    {25, "F", "", KeyColour::Yellow},     {26, "", "", KeyColour::None},          {27, "0", "STO", KeyColour::Blue},
    {28, ".", "RCL", KeyColour::Blue},    {29, "←", "CLX", KeyColour::Blue},      {30, "+", "CLR", KeyColour::Grey},
}};

KeyRectangle KeyRect(int code)
{
    if (code < 1)
        return {};
    const int row = (code - 1) / 6;
    const int column = code - 6 * row;
    KeyRectangle rectangle{39 * column - 35, 84 + 37 * row, 39 * column - 1, 117 + 37 * row};
    if (code == kKeyEnter)
        rectangle.bottom = 117 + 37 * (row + 1);
    return rectangle;
}

int HitTest(int x, int y)
{
    for (int code = 1; code <= kKeyCount; ++code)
        if (KeyRect(code).Contains(x, y))
            return code;
    return 0;
}

namespace {

struct VirtualKeyMapping {
    int virtualKey;
    int keyCode;
};

// Digits in the order 0..9 by their key codes.
constexpr std::array<int, 10> kDigitKeyCodes{27, 21, 22, 23, 15, 16, 17, 9, 10, 11};

constexpr std::array<VirtualKeyMapping, 11> kOtherKeys{{
    {vk::Space, 14},
    {vk::Decimal, 28},
    {vk::Period, 28},
    {vk::Add, 30},
    {vk::Subtract, 24},
    {vk::Multiply, 18},
    {vk::Divide, 12},
    {vk::Enter, 20},
    {vk::E, 8},
    {vk::F, 25},
    {vk::Backspace, 29},
}};

}  // namespace

int KeyCodeForVirtualKey(int virtualKey)
{
    if (virtualKey >= vk::Digit0 && virtualKey < vk::Digit0 + 10)
        return kDigitKeyCodes[static_cast<std::size_t>(virtualKey - vk::Digit0)];
    if (virtualKey >= vk::Numpad0 && virtualKey < vk::Numpad0 + 10)
        return kDigitKeyCodes[static_cast<std::size_t>(virtualKey - vk::Numpad0)];
    for (const VirtualKeyMapping& mapping : kOtherKeys)
        if (mapping.virtualKey == virtualKey)
            return mapping.keyCode;
    return 0;
}

void KeyboardKey(CalcState& state, int virtualKey, RandomSource& random)
{
    if (virtualKey == vk::Delete) {
        ClearEntry(state);
        state.DecimalLocation = kClearedDecimalLocation;
    } else if (virtualKey == vk::Escape) {
        // The register clear of CLR, but without the dispatcher: a pending
        // prefix stays pending and the display is not reformatted.
        ClearRegisters(state);
        state.DisplayText = kClearedDisplay;
        state.DecimalLocation = kClearedDecimalLocation;
    } else if (const int code = KeyCodeForVirtualKey(virtualKey); code != 0) {
        state.KeyCode = code;
        DispatchKey(state, random);
    }
    state.KeyCode = 0;
}

}  // namespace rpn
