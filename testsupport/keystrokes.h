#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/calc_state.h"
#include "engine/random_source.h"

namespace rpn::test {

// Hands out a fixed sequence of 32-bit values, then repeats the last one.
class FixedRandomSource final : public RandomSource {
public:
    explicit FixedRandomSource(std::vector<std::uint32_t> values = {0}) : m_values(std::move(values)) {}
    std::uint32_t Next() override
    {
        const std::uint32_t value = m_values[m_next < m_values.size() ? m_next : m_values.size() - 1];
        ++m_next;
        return value;
    }

private:
    std::vector<std::uint32_t> m_values;
    std::size_t m_next = 0;
};

// Performs a key script written as rpn-cli takes it ("7 ENTER 3 +", "F SIN",
// "asin", "k:26", "vk:27"); an unknown name fails the calling test.
void Press(CalcState& state, std::string_view keys, RandomSource& random);
void Press(CalcState& state, std::string_view keys);

// A reset calculator after the keys.
CalcState AfterKeys(std::string_view keys);

using rpn::SameBits;

}  // namespace rpn::test
