#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace rpn {

// Everything the calculator knows. The field names double as the settings
// entry names, so they keep the calculator's own spelling. Texts are compared
// by exact equality; no enumeration stands behind the modes.
struct CalcState {
    bool bAudibleClicks = false;
    std::int32_t KeyCode = 0;
    std::wstring DisplayText;
    bool DecimalMode = false;
    bool EntryMode = false;
    bool ExpoMode = false;
    bool FunctionMode = false;
    bool AutoLift = true;
    bool HelpMode = false;
    std::wstring Integer;
    std::wstring Fraction;
    std::wstring Exponent;
    std::wstring IntegerSign;
    std::wstring ExponentSign;
    std::int32_t DecimalLocation = 0;
    double RegX = 0.0;
    // LAST X survives a reset, so it needs a defined value before anything
    // writes it; 0.0 matches what a fresh calculator shows.
    double RegLstX = 0.0;
    double RegY = 0.0;
    double RegZ = 0.0;
    double RegT = 0.0;
    std::array<double, 10> RegS{};
    std::wstring DisplayMode;
    std::int32_t DisplayPrecision = 0;
    std::wstring SuperMode;
    std::wstring AngleMode;
    std::int32_t Brightness = 0;

    bool operator==(const CalcState&) const = default;
};

// The display text after a reset, and what X = 0 in SCI 6 formats to.
inline constexpr wchar_t kClearedDisplay[] = L" 0000000 00";
inline constexpr std::int32_t kClearedDecimalLocation = 3;

// Puts every field but KeyCode and RegLstX to its default. Neither reformats
// the display nor redraws: the caller has the views updated.
void ResetState(CalcState& state);

// A state as a freshly constructed document holds it after ResetState.
CalcState MakeResetState();

// Bit-for-bit equality of two states: NaN payloads and signed zeros count,
// which operator== cannot see. Used to prove a rejected input changed nothing.
bool SameBits(const CalcState& a, const CalcState& b);

// Empties the entry buffer: no digits, both signs " ".
void ClearEntryBuffer(CalcState& state);

// The register clear shared by CLR and the Escape key: stack, registers and
// entry cleared; LAST X, modes, brightness and clicks kept.
void ClearRegisters(CalcState& state);

}  // namespace rpn
