#include "engine/random_source.h"

namespace rpn {

namespace {
std::mt19937 SeededFromDevice()
{
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device(), device(), device(), device(), device()};
    return std::mt19937(seed);
}
}  // namespace

StandardRandomSource::StandardRandomSource() : m_generator(SeededFromDevice()) {}

StandardRandomSource::StandardRandomSource(std::uint64_t seed)
{
    std::seed_seq sequence{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32)};
    m_generator.seed(sequence);
}

std::uint32_t StandardRandomSource::Next()
{
    return static_cast<std::uint32_t>(m_generator());
}

}  // namespace rpn
