#include "common/SplitMixRandomSource.h"

#include <bit>
#include <cmath>

void SplitMixRandomSource::reseed(double value)
{
    // Mix the value's bits into the state rather than replacing it: reseeding twice with the
    // same clock reading still moves the sequence on.
    const double canonical = std::isnan(value) ? 0.0 : value + 0.0; // folds -0.0 into 0.0
    m_state = mix(m_state ^ mix(std::bit_cast<std::uint64_t>(canonical) + GoldenGamma));
}
