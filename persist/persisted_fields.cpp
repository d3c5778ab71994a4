#include "persist/persisted_fields.h"

#include <algorithm>

namespace rpn {

namespace {

// Positions in kPersistedFields, named after the entries.
namespace field {
enum : std::size_t {
    AngleMode,
    SuperMode,
    DisplayPrecision,
    DecimalLocation,
    DisplayMode,
    RegS0,
    RegS1,
    RegS2,
    RegS3,
    RegS4,
    RegS5,
    RegS6,
    RegS7,
    RegS8,
    RegS9,
    RegT,
    RegZ,
    RegY,
    RegX,
    ExponentSign,
    IntegerSign,
    Exponent,
    Fraction,
    Integer,
    AutoLift,
    HelpMode,
    FunctionMode,
    EntryMode,
    ExpoMode,
    DecimalMode,
    bAudibleClicks,
    RegLstX,
    Brightness,
};
}  // namespace field

// GetProfileInt defaults that mark an absent entry; a stored value equal to
// one of them ends the load as well.
constexpr std::int32_t kAbsentInteger = -1;
constexpr std::int32_t kAbsentFlag = -2;
constexpr std::int32_t kAbsentBrightness = -5;

constexpr PersistedField Text(std::wstring_view entry, std::wstring CalcState::*member)
{
    return {entry, member, 0, false};
}
constexpr PersistedField SpacedText(std::wstring_view entry, std::wstring CalcState::*member)
{
    return {entry, member, 0, true};
}
constexpr PersistedField Flag(std::wstring_view entry, bool CalcState::*member)
{
    return {entry, member, kAbsentFlag, false};
}
constexpr PersistedField Register(std::wstring_view entry, std::size_t index)
{
    return {entry, StorageRegister{index}, 0, false};
}

template <std::size_t N>
constexpr bool IsPermutation(const std::array<std::size_t, N>& order)
{
    std::array<std::size_t, N> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < N; ++i)
        if (sorted[i] != i)
            return false;
    return true;
}

}  // namespace

constexpr std::array<PersistedField, kPersistedFieldCount> kPersistedFields = {{
    Text(L"AngleMode", &CalcState::AngleMode),
    SpacedText(L"SuperMode", &CalcState::SuperMode),
    {L"DisplayPrecision", &CalcState::DisplayPrecision, kAbsentInteger, false},
    {L"DecimalLocation", &CalcState::DecimalLocation, kAbsentInteger, false},
    Text(L"DisplayMode", &CalcState::DisplayMode),
    Register(L"RegS0", 0),
    Register(L"RegS1", 1),
    Register(L"RegS2", 2),
    Register(L"RegS3", 3),
    Register(L"RegS4", 4),
    Register(L"RegS5", 5),
    Register(L"RegS6", 6),
    Register(L"RegS7", 7),
    Register(L"RegS8", 8),
    Register(L"RegS9", 9),
    {L"RegT", &CalcState::RegT, 0, false},
    {L"RegZ", &CalcState::RegZ, 0, false},
    {L"RegY", &CalcState::RegY, 0, false},
    {L"RegX", &CalcState::RegX, 0, false},
    Text(L"ExponentSign", &CalcState::ExponentSign),
    Text(L"IntegerSign", &CalcState::IntegerSign),
    SpacedText(L"Exponent", &CalcState::Exponent),
    SpacedText(L"Fraction", &CalcState::Fraction),
    SpacedText(L"Integer", &CalcState::Integer),
    Flag(L"AutoLift", &CalcState::AutoLift),
    Flag(L"HelpMode", &CalcState::HelpMode),
    Flag(L"FunctionMode", &CalcState::FunctionMode),
    Flag(L"EntryMode", &CalcState::EntryMode),
    Flag(L"ExpoMode", &CalcState::ExpoMode),
    Flag(L"DecimalMode", &CalcState::DecimalMode),
    Flag(L"bAudibleClicks", &CalcState::bAudibleClicks),
    {L"RegLstX", &CalcState::RegLstX, 0, false},
    {L"Brightness", &CalcState::Brightness, kAbsentBrightness, false},
}};

// LAST X moves up beside the stack, the rest keeps the load order.
constexpr std::array<std::size_t, kPersistedFieldCount> kSettingsSaveOrder = {
    field::AngleMode,
    field::SuperMode,
    field::DisplayPrecision,
    field::DecimalLocation,
    field::DisplayMode,
    field::RegS0,
    field::RegS1,
    field::RegS2,
    field::RegS3,
    field::RegS4,
    field::RegS5,
    field::RegS6,
    field::RegS7,
    field::RegS8,
    field::RegS9,
    field::RegT,
    field::RegZ,
    field::RegY,
    field::RegX,
    field::RegLstX,
    field::ExponentSign,
    field::IntegerSign,
    field::Exponent,
    field::Fraction,
    field::Integer,
    field::AutoLift,
    field::HelpMode,
    field::FunctionMode,
    field::EntryMode,
    field::ExpoMode,
    field::DecimalMode,
    field::bAudibleClicks,
    field::Brightness,
};

constexpr std::array<std::size_t, kPersistedFieldCount> kStateFileOrder = {
    field::bAudibleClicks,
    field::DecimalMode,
    field::EntryMode,
    field::ExpoMode,
    field::FunctionMode,
    field::HelpMode,
    field::AutoLift,
    field::Integer,
    field::Fraction,
    field::Exponent,
    field::IntegerSign,
    field::ExponentSign,
    field::RegX,
    field::RegY,
    field::RegZ,
    field::RegT,
    field::RegS0,
    field::RegS1,
    field::RegS2,
    field::RegS3,
    field::RegS4,
    field::RegS5,
    field::RegS6,
    field::RegS7,
    field::RegS8,
    field::RegS9,
    field::DisplayMode,
    field::DisplayPrecision,
    field::SuperMode,
    field::AngleMode,
    field::DecimalLocation,
    field::RegLstX,
    field::Brightness,
};

static_assert(IsPermutation(kSettingsSaveOrder));
static_assert(IsPermutation(kStateFileOrder));
static_assert(field::Brightness + 1 == kPersistedFieldCount);

}  // namespace rpn
