#pragma once

#include <string>

#include "engine/calc_state.h"

namespace rpn::cli {

// One line of JSON with every CalcState field by its name, doubles as
// "%.17g" numbers (non-finite ones as "nan", "inf", "-inf"), plus "Display":
// the main line as drawn.
std::string StateJson(const CalcState& state);

}  // namespace rpn::cli
