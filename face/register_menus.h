#pragma once

#include <string>

#include "engine/calc_state.h"
#include "platform/cmd_ui.h"

namespace rpn {

inline constexpr int kRegisterCount = 10;

// The command ids of the STO and RCL items of register n (0..9).
int StoreCommandId(int registerNumber);
int RecallCommandId(int registerNumber);

// STO n: X, with any entry ended, goes into register n; prefixes cancelled.
// RCL n: the stack lifts whatever AutoLift says and X takes register n.
// Both rebuild the display text; the caller then updates the views.
void OnStoreRegister(CalcState& state, int registerNumber);
void OnRecallRegister(CalcState& state, int registerNumber);

// The item texts, rebuilt each time the menu opens: "STO 3: " or "RCL 3: "
// followed by the register in the current display format.
void OnUpdateStoreRegister(const CalcState& state, int registerNumber, CmdUI& item);
void OnUpdateRecallRegister(const CalcState& state, int registerNumber, CmdUI& item);

}  // namespace rpn
