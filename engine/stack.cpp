#include "engine/stack.h"

namespace rpn {

void LiftStack(CalcState& state)
{
    state.RegT = state.RegZ;
    state.RegZ = state.RegY;
    state.RegY = state.RegX;
}

void DropStack(CalcState& state)
{
    state.RegY = state.RegZ;
    state.RegZ = state.RegT;
    state.AutoLift = true;
}

}  // namespace rpn
