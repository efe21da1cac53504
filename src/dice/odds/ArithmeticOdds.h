#pragma once

#include "dice/odds/DiceDistribution.h"
#include "dice/expression/DiceExpression.h"

#include <optional>
#include <vector>

class OddsBudget;
struct TargetRule;

// Operations on independent values, each exact (DiceExpression::Operation says what each
// does; the parser has made sure that no value along the way can leave a Fraction's range,
// that no divisor can be 0 and that every exponent is whole and at least 0).
//
// - a + b, a − b of whole values: a convolution, count(a) × span(b) operations (the fewer
//   values as the kernel); adding a single number shifts, one step per value.
// - Anything else with two values (fractions, ×, /, %, ^): every pair, count(a) × count(b)
//   exact operations (counted 20 units each), merged by value.
// - −a, floor, ceil, round, abs, sign: one step per value, then merged.
// - min, max of k values: P(max ≤ v) = Π P(aᵢ ≤ v) over the union of their values, and
//   P(min ≥ v) likewise: k steps per value.
// - The members of a group counted against a target: a count of −1, 0 or +1 per member,
//   convolved: three steps per member and count.
// A result with more than OddsBudget::MaxValues values is refused as soon as it is seen, so
// memory stays bounded.
class ArithmeticOdds
{
public:
    using Operation = DiceExpression::Operation;

    // Add, Subtract, Multiply, Divide, Remainder, Power.
    static std::optional<DiceDistribution> binary(Operation operation, const DiceDistribution &a,
                                                  const DiceDistribution &b, OddsBudget &budget);
    // Negate, Floor, Ceil, Round, Abs, Sign.
    static std::optional<DiceDistribution> unary(Operation operation, const DiceDistribution &a,
                                                 OddsBudget &budget);
    // Minimum, Maximum.
    static std::optional<DiceDistribution> extreme(bool maximum,
                                                   const std::vector<DiceDistribution> &values,
                                                   OddsBudget &budget);
    // How many of the values meet target.success, less those that meet target.failure.
    static std::optional<DiceDistribution> count(const std::vector<DiceDistribution> &values,
                                                 const TargetRule &target, OddsBudget &budget);
};
