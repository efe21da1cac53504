#pragma once

#include "dice/odds/DiceDistribution.h"

#include <optional>

// Two rolls set against each other, independently: the chances that the first comes out
// above, equal to or below the second (an opposed test), and the distribution of their
// difference, first minus second.
//
// beats = Σ over the first's values a of P(A = a) · P(B < a), summed over the second's values
// in step with the first's (one pass over both); ties and loses likewise. Each is summed on
// its own, so a small one keeps its precision; together they make 1 within rounding.
struct OpposedOdds
{
    double beats = 0;
    double ties = 0;
    double loses = 0;

    static OpposedOdds of(const DiceDistribution &first, const DiceDistribution &second);

    // The distribution of first − second; nothing when it would exceed the exact engine's
    // limits (more than OddsBudget::MaxValues values or too much work).
    static std::optional<DiceDistribution> difference(const DiceDistribution &first,
                                                      const DiceDistribution &second);
};
