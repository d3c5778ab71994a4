#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rpn::cli {

// One step of a key script: a key code for DispatchKey, or a virtual key for
// KeyboardKey.
struct KeyStep {
    enum class Kind { KeyCode, VirtualKey } kind;
    int value;
    bool operator==(const KeyStep&) const = default;
};

// A script token ("k:12", "vk:27", "SIN", "asin", ...) as the steps it
// performs; a shifted function's name performs F and then its key. Nothing
// when the token is unknown.
std::optional<std::vector<KeyStep>> ParseKey(std::string_view token);

// Every key name, primary and shifted, for the usage text.
std::vector<std::string> KeyNames();

}  // namespace rpn::cli
