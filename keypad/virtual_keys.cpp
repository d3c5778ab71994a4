#include "keypad/virtual_keys.h"

#include "keypad/keypad.h"

namespace rpn {

namespace {

constexpr std::uint32_t kFirstDigitRowScanCode = 10;
constexpr std::uint32_t kLastDigitRowScanCode = 19;

int OperatorKey(int character)
{
    switch (character) {
        case '+':
            return vk::Add;
        case '-':
            return vk::Subtract;
        case '*':
            return vk::Multiply;
        case '/':
            return vk::Divide;
        default:
            return 0;
    }
}

int PadKey(int key)
{
    if (key >= '0' && key <= '9')
        return vk::Numpad0 + (key - '0');
    if (key == '.' || key == ',')
        return vk::Decimal;
    return OperatorKey(key);
}

// The main keyboard's key for what a key typed: an operator, a digit or the
// point, wherever the layout puts them.
int TypedKey(int character)
{
    if (character >= '0' && character <= '9')
        return vk::Digit0 + (character - '0');
    if (character == '.')
        return vk::Period;
    return OperatorKey(character);
}

int MainKey(int key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return key;
    switch (key) {
        case '.':
            return vk::Period;
        case named_key::Return:
        case named_key::Enter:
            return vk::Enter;
        case named_key::Backspace:
            return vk::Backspace;
        case ' ':
            return vk::Space;
        case named_key::Delete:
            return vk::Delete;
        case named_key::Escape:
            return vk::Escape;
        default:
            return 0;
    }
}

}  // namespace

int VirtualKeyFor(const KeyRelease& release)
{
    if (release.keypad)
        if (const int pad = PadKey(release.key); pad != 0)
            return pad;
    if (const int typed = TypedKey(release.text != 0 ? static_cast<int>(release.text) : release.key); typed != 0)
        return typed;
    if (const int main = MainKey(release.key); main != 0)
        return main;
    if (release.scanCode >= kFirstDigitRowScanCode && release.scanCode <= kLastDigitRowScanCode) {
        // The row runs 1, 2, ..., 9, 0.
        const std::uint32_t digit = (release.scanCode - kFirstDigitRowScanCode + 1) % 10;
        return vk::Digit0 + static_cast<int>(digit);
    }
    return 0;
}

}  // namespace rpn
