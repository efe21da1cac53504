#pragma once

#include "dice/odds/DiceDistribution.h"

#include <optional>

class DiceExpression;
class DieSource;

// Odds estimated by rolling: each value's share of `samples` rolls of DiceRoller, for the
// expressions whose exact odds are refused. The estimate of a probability p has a standard
// error of √(p(1 − p)/samples) (DiceOddsReport gives the 95 % margins). Nothing when the
// rolls bring more than OddsBudget::MaxValues distinct values, so memory stays bounded.
class SampledOdds
{
public:
    static std::optional<DiceDistribution> roll(const DiceExpression &expression,
                                                 qint64 samples, DieSource &source);
};
