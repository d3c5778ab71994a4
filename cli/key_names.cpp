#include "cli/key_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "engine/dispatch.h"

namespace rpn::cli {

namespace {

struct NamedKey {
    std::string_view name;
    int code;
    bool shifted;
};

constexpr std::array<NamedKey, 57> kNamedKeys{{
    {"0", 27, false},  {"1", 21, false},     {"2", 22, false},    {"3", 23, false},    {"4", 15, false},
    {"5", 16, false},  {"6", 17, false},     {"7", 9, false},     {"8", 10, false},    {"9", 11, false},
    {".", 28, false},  {"ENTER", 20, false}, {"+", 30, false},    {"-", 24, false},    {"*", 18, false},
    {"/", 12, false},  {"CHS", 14, false},   {"EEX", 8, false},   {"F", kKeyF, false}, {"BS", 29, false},
    {"1/X", 6, false}, {"SQRT", 7, false},   {"EX", 1, false},    {"10X", 2, false},   {"SIN", 3, false},
    {"COS", 4, false}, {"TAN", 5, false},    {"X<>Y", 13, false}, {"LSTX", 19, false}, {"LN", 1, true},
    {"LOG", 2, true},  {"ASIN", 3, true},    {"ACOS", 4, true},   {"ATAN", 5, true},   {"Y^X", 6, true},
    {"X^2", 7, true},  {"PI", 8, true},      {"FIX", 9, true},    {"SCI", 10, true},   {"ENG", 11, true},
    {"%", 12, true},   {"RDN", 13, true},    {"RUP", 14, true},   {"DEG", 15, true},   {"RAD", 16, true},
    {"GRD", 17, true}, {"X!", 18, true},     {"HYP", 19, true},   {"RAN#", 20, true},  {"->P", 21, true},
    {"->R", 22, true}, {"->DEG", 23, true},  {"->RAD", 24, true}, {"STO", 27, true},   {"RCL", 28, true},
    {"CLX", 29, true}, {"CLR", 30, true},
}};

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
    for (const NamedKey& key : kNamedKeys) {
        if (key.name != name)
            continue;
        std::vector<KeyStep> steps;
        if (key.shifted)
            steps.push_back({KeyStep::Kind::KeyCode, kKeyF});
        steps.push_back({KeyStep::Kind::KeyCode, key.code});
        return steps;
    }
    return std::nullopt;
}

std::vector<std::string> KeyNames()
{
    std::vector<std::string> names;
    for (const NamedKey& key : kNamedKeys)
        names.emplace_back(key.name);
    return names;
}

}  // namespace rpn::cli
