#include "testsupport/keystrokes.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/key_names.h"
#include "engine/dispatch.h"
#include "keypad/keypad.h"

namespace rpn::test {

void Press(CalcState& state, std::string_view keys, RandomSource& random)
{
    std::istringstream words{std::string(keys)};
    for (std::string token; words >> token;) {
        const auto steps = cli::ParseKey(token);
        if (!steps) {
            ADD_FAILURE() << "unknown key '" << token << "' in script \"" << keys << "\"";
            return;
        }
        for (const cli::KeyStep& step : *steps) {
            if (step.kind == cli::KeyStep::Kind::KeyCode) {
                state.KeyCode = step.value;
                DispatchKey(state, random);
                state.KeyCode = 0;
            } else {
                KeyboardKey(state, step.value, random);
            }
        }
    }
}

void Press(CalcState& state, std::string_view keys)
{
    FixedRandomSource random;
    Press(state, keys, random);
}

CalcState AfterKeys(std::string_view keys)
{
    CalcState state = MakeResetState();
    Press(state, keys);
    return state;
}

}  // namespace rpn::test
