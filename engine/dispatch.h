#pragma once

#include "engine/calc_state.h"
#include "engine/key_codes.h"
#include "engine/random_source.h"

namespace rpn {

// Performs the key whose code is in state.KeyCode (0 or any code outside
// 1..30 only runs the common ending), then rebuilds the display text. The
// caller sets KeyCode before and back to 0 after. RAN# draws from random.
void DispatchKey(CalcState& state, RandomSource& random);

}  // namespace rpn
