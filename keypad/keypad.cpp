#include "keypad/keypad.h"

#include "engine/dispatch.h"
#include "engine/entry.h"

namespace rpn {

constexpr std::array<KeyInfo, kKeyCount> kKeyTable{{
    {kKeyExp, "eˣ", "LN", KeyColour::Grey},        {kKeyTenPower, "10ˣ", "LOG", KeyColour::Grey},
    {kKeySin, "SIN", "SIN⁻¹", KeyColour::Grey},    {kKeyCos, "COS", "COS⁻¹", KeyColour::Grey},
    {kKeyTan, "TAN", "TAN⁻¹", KeyColour::Grey},    {kKeyReciprocal, "1/x", "yˣ", KeyColour::Grey},
    {kKeySquareRoot, "√x", "x²", KeyColour::Grey}, {kKeyEex, "EEX", "π", KeyColour::Grey},
    {kKey7, "7", "FIX", KeyColour::Blue},          {kKey8, "8", "SCI", KeyColour::Blue},
    {kKey9, "9", "ENG", KeyColour::Blue},          {kKeyDivide, "÷", "%", KeyColour::Grey},
    {kKeySwap, "x≷y", "R↓", KeyColour::Grey},      {kKeyChs, "CHS", "R↑", KeyColour::Grey},
    {kKey4, "4", "DEG", KeyColour::Blue},          {kKey5, "5", "RAD", KeyColour::Blue},
    {kKey6, "6", "GRD", KeyColour::Blue},          {kKeyTimes, "×", "x!", KeyColour::Grey},
    {kKeyLastX, "LSTx", "HYP", KeyColour::Grey},   {kKeyEnter, "ENTER", "RAN#", KeyColour::Grey},
    {kKey1, "1", "→P", KeyColour::Blue},           {kKey2, "2", "→R", KeyColour::Blue},
    {kKey3, "3", "→DEG", KeyColour::Blue},         {kKeyMinus, "−", "→RAD", KeyColour::Grey},
    {kKeyF, "F", "", KeyColour::Yellow},           {kKeyEnterLowerHalf, "", "", KeyColour::None},
    {kKey0, "0", "STO", KeyColour::Blue},          {kKeyPoint, ".", "RCL", KeyColour::Blue},
    {kKeyBackspace, "←", "CLX", KeyColour::Blue},  {kKeyPlus, "+", "CLR", KeyColour::Grey},
}};
static_assert(RowsInKeyCodeOrder(kKeyTable));

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
    return kNoKey;
}

namespace {

struct VirtualKeyMapping {
    int virtualKey;
    int keyCode;
};

constexpr std::array<VirtualKeyMapping, 11> kOtherKeys{{
    {vk::Space, kKeyChs},
    {vk::Decimal, kKeyPoint},
    {vk::Period, kKeyPoint},
    {vk::Add, kKeyPlus},
    {vk::Subtract, kKeyMinus},
    {vk::Multiply, kKeyTimes},
    {vk::Divide, kKeyDivide},
    {vk::Enter, kKeyEnter},
    {vk::E, kKeyEex},
    {vk::F, kKeyF},
    {vk::Backspace, kKeyBackspace},
}};

}  // namespace

int KeyCodeForVirtualKey(int virtualKey)
{
    if (virtualKey >= vk::Digit0 && virtualKey < vk::Digit0 + 10)
        return kDigitKeys[static_cast<std::size_t>(virtualKey - vk::Digit0)];
    if (virtualKey >= vk::Numpad0 && virtualKey < vk::Numpad0 + 10)
        return kDigitKeys[static_cast<std::size_t>(virtualKey - vk::Numpad0)];
    for (const VirtualKeyMapping& mapping : kOtherKeys)
        if (mapping.virtualKey == virtualKey)
            return mapping.keyCode;
    return kNoKey;
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
    state.KeyCode = kNoKey;
}

}  // namespace rpn
