#include "common/SplitMixRandomSource.h"

#include <bit>
#include <cmath>

namespace {

constexpr std::uint64_t GoldenGamma = 0x9E3779B97F4A7C15ull;

constexpr std::uint64_t mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

std::uint32_t SplitMixRandomSource::nextBits()
{
    m_state += GoldenGamma;
    return static_cast<std::uint32_t>(mix(m_state) >> 32);
}

float SplitMixRandomSource::next()
{
    // 24 bits fill a float's significand exactly, so the largest value is 1 - 2^-24 and
    // 1.0 can never come out (floor(r * N) stays below N).
    return static_cast<float>(nextBits() >> 8) * 0x1p-24f;
}

void SplitMixRandomSource::reseed(double value)
{
    // Mix the value's bits into the state rather than replacing it: reseeding twice with the
    // same clock reading still moves the sequence on.
    const double canonical = std::isnan(value) ? 0.0 : value + 0.0; // folds -0.0 into 0.0
    m_state = mix(m_state ^ mix(std::bit_cast<std::uint64_t>(canonical) + GoldenGamma));
}
