#include "face/virtual_keys.h"

#include "keypad/keypad.h"

namespace rpn {

namespace {

constexpr quint32 kFirstDigitRowScanCode = 10;
constexpr quint32 kLastDigitRowScanCode = 19;

int PadKey(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return vk::Numpad0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return vk::Decimal;
        case Qt::Key_Plus:
            return vk::Add;
        case Qt::Key_Minus:
            return vk::Subtract;
        case Qt::Key_Asterisk:
            return vk::Multiply;
        case Qt::Key_Slash:
            return vk::Divide;
        default:
            return 0;
    }
}

int MainKey(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return vk::Digit0 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey;
    switch (qtKey) {
        case Qt::Key_Period:
            return vk::Period;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return vk::Enter;
        case Qt::Key_Backspace:
            return vk::Backspace;
        case Qt::Key_Space:
            return vk::Space;
        case Qt::Key_Delete:
            return vk::Delete;
        case Qt::Key_Escape:
            return vk::Escape;
        default:
            return 0;
    }
}

}  // namespace

int VirtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode)
{
    if (modifiers.testFlag(Qt::KeypadModifier))
        if (const int pad = PadKey(qtKey); pad != 0)
            return pad;
    if (const int main = MainKey(qtKey); main != 0)
        return main;
    if (nativeScanCode >= kFirstDigitRowScanCode && nativeScanCode <= kLastDigitRowScanCode) {
        // The row runs 1, 2, ..., 9, 0.
        const quint32 digit = (nativeScanCode - kFirstDigitRowScanCode + 1) % 10;
        return vk::Digit0 + static_cast<int>(digit);
    }
    return 0;
}

}  // namespace rpn
