#pragma once

#include "engine/calc_state.h"

namespace rpn {

// T takes Z, Z takes Y, Y takes X; X and AutoLift unchanged.
void LiftStack(CalcState& state);
// Y takes Z, Z takes T, T kept; X unchanged (the caller stored the result); AutoLift set.
void DropStack(CalcState& state);

}  // namespace rpn
