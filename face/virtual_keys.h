#pragma once

#include <Qt>

namespace rpn {

// The virtual-key code of a released Qt key, as the keypad's keyboard table
// knows them: digits and letters are their upper-case character codes, the
// numeric pad (Qt::KeypadModifier) has 96..111, the main period 190. Keys
// outside the table give 0. The main-row digit keys are also recognised by
// their X keycode (10..19), so that Shift+8 or a layout that types symbols
// there still gives the digit.
int VirtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode);

}  // namespace rpn
