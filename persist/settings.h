#pragma once

#include <cstddef>

#include "engine/calc_state.h"
#include "platform/profile_store.h"

namespace rpn {

// The section of the profile store that holds the calculator's 33 entries.
inline constexpr wchar_t kSettingsSection[] = L"KelRPN8";

// The largest settings file read or written: the calculator writes about a
// kilobyte, and a file this size still costs only milliseconds and megabytes.
inline constexpr std::size_t kMostSettingsFileBytes = 1024 * 1024;

// Reads the entries over state (which the caller has reset) as one chain:
// the first absent entry, or one holding its absent marker, ends the load and
// every later field keeps its value. Only a complete load rebuilds the
// display text. True when the chain ran to its end.
bool LoadSettings(CalcState& state, ProfileStore& store);

// Writes all 33 entries and flushes the store. False when the store could
// not be written; the previous settings file is then kept.
bool SaveSettings(const CalcState& state, ProfileStore& store);

}  // namespace rpn
