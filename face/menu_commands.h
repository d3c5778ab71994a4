#pragma once

#include "engine/calc_state.h"
#include "platform/cmd_ui.h"

namespace rpn {

// Reset State: every field but KeyCode and LAST X to its default, clicks off
// and brightness 0 included; the display text is the reset one, not
// rebuilt. The caller updates the views.
void OnResetState(CalcState& state);

// Audible Clicks flips the setting and repaints nothing; the item's check
// mark follows the setting when the menu next opens.
void OnAudibleClicks(CalcState& state);
void OnUpdateAudibleClicks(const CalcState& state, CmdUI& item);

}  // namespace rpn
