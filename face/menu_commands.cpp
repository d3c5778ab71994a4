#include "face/menu_commands.h"

namespace rpn {

void OnResetState(CalcState& state)
{
    ResetState(state);
}

void OnAudibleClicks(CalcState& state)
{
    state.bAudibleClicks = !state.bAudibleClicks;
}

void OnUpdateAudibleClicks(const CalcState& state, CmdUI& item)
{
    item.SetCheck(state.bAudibleClicks ? 1 : 0);
}

}  // namespace rpn
