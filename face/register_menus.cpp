#include "face/register_menus.h"

#include <array>

#include "display/format.h"
#include "engine/entry.h"
#include "engine/stack.h"
#include "face/command_ids.h"

namespace rpn {

namespace {

std::size_t Index(int registerNumber)
{
    return static_cast<std::size_t>(registerNumber);
}

std::wstring ItemText(const wchar_t* prefix, const CalcState& state, int registerNumber)
{
    return prefix + std::to_wstring(registerNumber) + L": " + FormatNumber(state, state.RegS[Index(registerNumber)]);
}

void CancelPrefixes(CalcState& state)
{
    state.FunctionMode = false;
    state.SuperMode.clear();
}

}  // namespace

int StoreCommandId(int registerNumber)
{
    if (registerNumber == 0)
        return command::StoreRegister0;
    if (registerNumber == 1)
        return command::StoreRegister1;
    return command::StoreRegister2 + registerNumber - 2;
}

int RecallCommandId(int registerNumber)
{
    return command::RecallRegister0 + registerNumber;
}

void OnStoreRegister(CalcState& state, int registerNumber)
{
    EndEntry(state);
    state.RegS[Index(registerNumber)] = state.RegX;
    CancelPrefixes(state);
    UpdateDisplay(state);
}

void OnRecallRegister(CalcState& state, int registerNumber)
{
    EndEntry(state);
    LiftStack(state);
    state.RegX = state.RegS[Index(registerNumber)];
    CancelPrefixes(state);
    UpdateDisplay(state);
}

void OnUpdateStoreRegister(const CalcState& state, int registerNumber, CmdUI& item)
{
    item.SetText(ItemText(L"STO ", state, registerNumber));
}

void OnUpdateRecallRegister(const CalcState& state, int registerNumber, CmdUI& item)
{
    item.SetText(ItemText(L"RCL ", state, registerNumber));
}

}  // namespace rpn
