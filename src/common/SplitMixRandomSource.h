#pragma once

#include "common/RandomSource.h"

#include <cstdint>

// The program's own generator: SplitMix64, a 64-bit counter run through a strong mixing
// function. Fast, small, and with no bad seeds, which matters because clock values make
// poor seeds.
class SplitMixRandomSource final : public RandomSource
{
public:
    // The state every run starts from.
    static constexpr std::uint64_t InitialState = 0x51E55A12C0FFEE01ull;

    explicit SplitMixRandomSource(std::uint64_t state = InitialState) : m_state(state) {}

    float next() override;
    void reseed(double value) override;

    // The next raw 32-bit output; next() keeps its top 24 bits.
    std::uint32_t nextBits();

    std::uint64_t state() const { return m_state; }

private:
    std::uint64_t m_state;
};
