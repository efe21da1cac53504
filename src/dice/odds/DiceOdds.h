#pragma once

#include "dice/odds/DiceDistribution.h"
#include "dice/expression/DiceExpression.h"

#include <QString>

#include <variant>

// Why the exact odds of an expression were not worked out: the bound it would pass, in
// Portuguese ("trabalho demais para o cálculo exato (cerca de 2,1 bilhões de operações; o
// limite é 400 milhões)"). OddsBudget lists the bounds.
struct DiceOddsRefusal
{
    QString reason;
};

// The exact odds of a parsed dice expression, under exactly the rules DiceRoller rolls it by
// (rerolls, unique rolls and explosions with their limits of 100 included), computed rather
// than sampled. The expression's steps are evaluated over distributions: a dice term by the
// evaluator its modifiers call for, a group from its members' odds or from its pooled dice,
// and each operator over its independent operands (every term and group occurs once and
// rolls on its own).
//
// A dice term, with s its score (its value, or a target's +1/−1) and n its dice:
// - plain or compounding dice, nothing dropped: one die's score convolved n times
//   (WholeOdds::sumOf); a target's count is the same with scores −1, 0 and +1;
// - plain explosions, nothing dropped: the same with each die's whole chain (DieOdds::chain);
// - keep/drop: the order statistics of n identical dice (KeptDiceOdds);
// - keep/drop with plain explosions, and unique rolls: the pool's dynamic program (PoolOdds).
// Groups: members summed or counted (ArithmeticOdds), kept ones through PoolOdds; pooled dice
// ({4d6+3d8}k4) through PoolOdds, or counted term by term when nothing is dropped.
//
// Probabilities are accurate to about 1e-13 (all that is summed is positive, but for the
// cumulative chances of the highest and lowest of n dice and of min and max, which are
// differences accurate to a few units of 1e-16) and sum to 1 within rounding; values are
// exact. Every evaluator states its cost and asks an OddsBudget first, so any expression is
// answered or refused in well under a second.
class DiceOdds
{
public:
    static std::variant<DiceDistribution, DiceOddsRefusal> evaluate(const DiceExpression &expression);
};
