#pragma once

#include <cstdint>
#include <memory>
#include <random>

namespace rpn {

// Where RAN# draws its numbers. Every value from 0 to 2^32 - 1 must be
// possible; tests and rpn-cli --seed substitute a fixed sequence.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual std::uint32_t Next() = 0;
};

// A Mersenne twister; seeded from std::random_device unless a seed is given.
class StandardRandomSource final : public RandomSource {
public:
    StandardRandomSource();
    explicit StandardRandomSource(std::uint64_t seed);
    std::uint32_t Next() override;

private:
    std::mt19937 m_generator;
};

}  // namespace rpn
