#include "testsupport/keystrokes.h"

#include <gtest/gtest.h>

#include <bit>
#include <sstream>
#include <string>

#include "cli/key_names.h"
#include "engine/dispatch.h"
#include "face/keypad.h"

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

bool SameBits(const CalcState& a, const CalcState& b)
{
    const auto bits = [](double value) { return std::bit_cast<std::uint64_t>(value); };
    if (bits(a.RegX) != bits(b.RegX) || bits(a.RegY) != bits(b.RegY) || bits(a.RegZ) != bits(b.RegZ) ||
        bits(a.RegT) != bits(b.RegT) || bits(a.RegLstX) != bits(b.RegLstX))
        return false;
    for (std::size_t i = 0; i < a.RegS.size(); ++i)
        if (bits(a.RegS[i]) != bits(b.RegS[i]))
            return false;
    CalcState left = a;
    CalcState right = b;
    left.RegX = right.RegX = left.RegY = right.RegY = left.RegZ = right.RegZ = 0;
    left.RegT = right.RegT = left.RegLstX = right.RegLstX = 0;
    left.RegS.fill(0);
    right.RegS.fill(0);
    return left == right;
}

}  // namespace rpn::test
