#pragma once

#include "common/SplitMixRandomSource.h"
#include "dice/roll/DieSource.h"

// Unbiased dice from the program's SplitMix64 generator: every face of a die is exactly
// equally likely, and the same seed gives the same dice on every machine (integer arithmetic
// only).
class SplitMixDieSource final : public DieSource
{
public:
    explicit SplitMixDieSource(std::uint64_t seed) : m_bits(seed) {}

    std::uint32_t roll(std::uint32_t faces) override;

private:
    SplitMixRandomSource m_bits;
};
