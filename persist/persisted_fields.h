#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "engine/calc_state.h"

namespace rpn {

// One storage register, RegS[index].
struct StorageRegister {
    std::size_t index;
};

// Where a persisted value lives in CalcState; the alternative is also its kind.
using FieldMember = std::variant<bool CalcState::*, std::int32_t CalcState::*, double CalcState::*,
                                 std::wstring CalcState::*, StorageRegister>;

// One of the 33 fields that survive a run: its settings entry, where it
// lives, the value GetProfileInt is given so that an absent integer can be
// told apart, and whether an empty text is stored as a single space (an
// empty settings text reads as absent).
struct PersistedField {
    std::wstring_view entry;
    FieldMember member;
    std::int32_t absentValue = 0;
    bool spaceWhenEmpty = false;
};

inline constexpr std::size_t kPersistedFieldCount = 33;

// In the order the settings are loaded, which is the chain's order.
extern const std::array<PersistedField, kPersistedFieldCount> kPersistedFields;
// Positions in kPersistedFields, in the order SaveSettings writes the entries.
extern const std::array<std::size_t, kPersistedFieldCount> kSettingsSaveOrder;
// Positions in kPersistedFields, in the order of the state-file record.
extern const std::array<std::size_t, kPersistedFieldCount> kStateFileOrder;

// The value a field member names, for std::visit over FieldMember.
template <typename State>
auto& FieldValue(State& state, bool CalcState::*member)
{
    return state.*member;
}
template <typename State>
auto& FieldValue(State& state, std::int32_t CalcState::*member)
{
    return state.*member;
}
template <typename State>
auto& FieldValue(State& state, double CalcState::*member)
{
    return state.*member;
}
template <typename State>
auto& FieldValue(State& state, std::wstring CalcState::*member)
{
    return state.*member;
}
template <typename State>
auto& FieldValue(State& state, StorageRegister reg)
{
    return state.RegS[reg.index];
}

}  // namespace rpn
