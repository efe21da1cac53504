#pragma once

#include "common/RandomSource.h"

#include <cstdint>
#include <typeinfo>

// The program's own generator: SplitMix64, a 64-bit counter run through a strong mixing
// function. Fast, small, and with no bad seeds, which matters because clock values make
// poor seeds.
//
// The class is final and its draws are defined here, so code that knows it holds this
// generator (rather than any RandomSource) draws without a virtual call.
class SplitMixRandomSource final : public RandomSource
{
public:
    // The state every run starts from.
    static constexpr std::uint64_t InitialState = 0x51E55A12C0FFEE01ull;

    explicit SplitMixRandomSource(std::uint64_t state = InitialState) : m_state(state) {}

    float next() override
    {
        // 24 bits fill a float's significand exactly, so the largest value is 1 - 2^-24 and
        // 1.0 can never come out (floor(r * N) stays below N).
        return static_cast<float>(nextBits() >> 8) * 0x1p-24f;
    }
    void reseed(double value) override;

    // The next raw 32-bit output; next() keeps its top 24 bits.
    std::uint32_t nextBits()
    {
        m_state += GoldenGamma;
        return static_cast<std::uint32_t>(mix(m_state) >> 32);
    }

    std::uint64_t state() const { return m_state; }

    // `source` as this generator when that is exactly what it is (the process's own source
    // with no test override installed), else nullptr: lets a hot loop take the direct path.
    static SplitMixRandomSource *exactly(RandomSource &source)
    {
        return typeid(source) == typeid(SplitMixRandomSource)
                   ? static_cast<SplitMixRandomSource *>(&source)
                   : nullptr;
    }

private:
    static constexpr std::uint64_t GoldenGamma = 0x9E3779B97F4A7C15ull;

    static constexpr std::uint64_t mix(std::uint64_t z)
    {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    std::uint64_t m_state;
};
