#pragma once

#include <string>

#include "engine/calc_state.h"

namespace rpn {

// What the view needs of its document. The document owns the state; the
// view reads and writes KeyCode, bAudibleClicks and Brightness through it and
// holds no state of its own.
class ViewDocument {
public:
    virtual ~ViewDocument() = default;
    virtual CalcState& State() = 0;
    // Performs State().KeyCode and rebuilds the display text; the views are
    // not told to update (a tap repaints by itself).
    virtual void DispatchKey() = 0;
    // A released keyboard key; ends with every view updated.
    virtual void KeyboardKey(int virtualKey) = 0;
};

// What the document tells its views. Both run before the call that caused
// them returns.
class DocumentView {
public:
    virtual ~DocumentView() = default;
    // After the document was freshly initialised (start, New, Open).
    virtual void OnInitialUpdate() = 0;
    // After the document changed the state.
    virtual void OnUpdate() = 0;
    // What a command did, in words, for screen readers.
    virtual void OnCommandDone(const std::wstring&) {}
};

}  // namespace rpn
