#include "cli/key_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "engine/key_codes.h"

namespace rpn::cli {

namespace {

// The script names of each key, primary and shifted; "" where the key has
// no function of that kind.
struct NamedKey {
    int code;
    std::string_view primary;
    std::string_view shifted;
};

constexpr std::array<NamedKey, kKeyCount> kNamedKeys{{
    {kKeyExp, "EX", "LN"},
    {kKeyTenPower, "10X", "LOG"},
    {kKeySin, "SIN", "ASIN"},
    {kKeyCos, "COS", "ACOS"},
    {kKeyTan, "TAN", "ATAN"},
    {kKeyReciprocal, "1/X", "Y^X"},
    {kKeySquareRoot, "SQRT", "X^2"},
    {kKeyEex, "EEX", "PI"},
    {kKey7, "7", "FIX"},
    {kKey8, "8", "SCI"},
    {kKey9, "9", "ENG"},
    {kKeyDivide, "/", "%"},
    {kKeySwap, "X<>Y", "RDN"},
    {kKeyChs, "CHS", "RUP"},
    {kKey4, "4", "DEG"},
    {kKey5, "5", "RAD"},
    {kKey6, "6", "GRD"},
    {kKeyTimes, "*", "X!"},
    {kKeyLastX, "LSTX", "HYP"},
    {kKeyEnter, "ENTER", "RAN#"},
    {kKey1, "1", "->P"},
    {kKey2, "2", "->R"},
    {kKey3, "3", "->DEG"},
    {kKeyMinus, "-", "->RAD"},
    {kKeyF, "F", ""},
    {kKeyEnterLowerHalf, "", ""},
    {kKey0, "0", "STO"},
    {kKeyPoint, ".", "RCL"},
    {kKeyBackspace, "BS", "CLX"},
    {kKeyPlus, "+", "CLR"},
}};
static_assert(RowsInKeyCodeOrder(kNamedKeys));

std::optional<int> ParseInteger(std::string_view text)
{
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::string Upper(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

}  // namespace

std::optional<std::vector<KeyStep>> ParseKey(std::string_view token)
{
    const std::string upper = Upper(token);
    const std::string_view name(upper);
    if (name.starts_with("K:")) {
        if (const auto code = ParseInteger(name.substr(2)))
            return std::vector<KeyStep>{{KeyStep::Kind::KeyCode, *code}};
        return std::nullopt;
    }
    if (name.starts_with("VK:")) {
        if (const auto virtualKey = ParseInteger(name.substr(3)))
            return std::vector<KeyStep>{{KeyStep::Kind::VirtualKey, *virtualKey}};
        return std::nullopt;
    }
    if (name.empty())
        return std::nullopt;
    for (const NamedKey& key : kNamedKeys) {
        if (key.primary == name)
            return std::vector<KeyStep>{{KeyStep::Kind::KeyCode, key.code}};
        if (key.shifted == name)
            return std::vector<KeyStep>{{KeyStep::Kind::KeyCode, kKeyF}, {KeyStep::Kind::KeyCode, key.code}};
    }
    return std::nullopt;
}

std::vector<std::string> KeyNames()
{
    std::vector<std::string> names;
    for (const NamedKey& key : kNamedKeys)
        if (!key.primary.empty())
            names.emplace_back(key.primary);
    for (const NamedKey& key : kNamedKeys)
        if (!key.shifted.empty())
            names.emplace_back(key.shifted);
    return names;
}

}  // namespace rpn::cli
