#include "keypad/virtual_keys.h"

#include <array>
#include <utility>

#include "keypad/keypad.h"

namespace rpn {

namespace {

constexpr std::uint32_t kFirstDigitRowScanCode = 10;
constexpr std::uint32_t kLastDigitRowScanCode = 19;

using KeyMapping = std::pair<int, int>;
constexpr std::array<KeyMapping, 4> kOperators{
    {{'+', vk::Add}, {'-', vk::Subtract}, {'*', vk::Multiply}, {'/', vk::Divide}}};
constexpr std::array<KeyMapping, 7> kOtherMainKeys{{{'.', vk::Period},
                                                    {named_key::Return, vk::Enter},
                                                    {named_key::Enter, vk::Enter},
                                                    {named_key::Backspace, vk::Backspace},
                                                    {' ', vk::Space},
                                                    {named_key::Delete, vk::Delete},
                                                    {named_key::Escape, vk::Escape}}};

template <std::size_t Size>
int Find(const std::array<KeyMapping, Size>& table, int key)
{
    for (const auto& [from, to] : table)
        if (from == key)
            return to;
    return 0;
}

int PadKey(int key)
{
    if (key >= '0' && key <= '9')
        return vk::Numpad0 + (key - '0');
    return key == '.' || key == ',' ? vk::Decimal : Find(kOperators, key);
}

// The main keyboard's key for what a key typed: an operator, a digit or the
// point, wherever the layout puts them.
int TypedKey(int character)
{
    if (character >= '0' && character <= '9')
        return vk::Digit0 + (character - '0');
    return character == '.' ? vk::Period : Find(kOperators, character);
}

int MainKey(int key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return key;
    return Find(kOtherMainKeys, key);
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
