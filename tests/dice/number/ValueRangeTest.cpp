// The bounds the parser works out for each operation, against every value of small ranges.

#include "dice/expression/DiceExpression.h"
#include "dice/number/ValueRange.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

using Operation = DiceExpression::Operation;

// Every value of a range whose values are halves or whole numbers from low to high.
std::vector<Fraction> valuesOf(const ValueRange &range)
{
    std::vector<Fraction> values;
    for (Fraction x = range.low; x <= range.high; x = *x.plus(*Fraction::of(1, 2))) {
        if (range.denominator == 2 || x.isWhole())
            values.push_back(x);
    }
    return values;
}

std::vector<ValueRange> smallRanges()
{
    std::vector<ValueRange> ranges;
    for (qint64 low = -3; low <= 3; ++low) {
        for (qint64 high = low; high <= 3; ++high) {
            ranges.push_back(*ValueRange::whole(low, high));
            ranges.push_back({*Fraction::of(2 * low - 1, 2), Fraction(high), 2});
        }
    }
    return ranges;
}

// Whether every result of `operation` over the values of `a` (and `b`) lies in `range`.
bool holdsEveryResult(const ValueRange &range, Operation operation, const ValueRange &a,
                      const ValueRange *b = nullptr)
{
    for (const Fraction x : valuesOf(a)) {
        for (const Fraction y : b ? valuesOf(*b) : std::vector<Fraction>{Fraction()}) {
            const auto value =
                b ? DiceExpression::apply(operation, x, y) : DiceExpression::apply(operation, x);
            if (!value || *value < range.low || *value > range.high
                || value->denominator() > range.denominator)
                return false;
        }
    }
    return true;
}

TEST(ValueRange, EveryBinaryResultLiesWithinItsBound)
{
    struct Row
    {
        Operation operation;
        std::optional<ValueRange> (*bound)(const ValueRange &, const ValueRange &);
    };
    const Row rows[] = {
        {Operation::Add, ValueRange::add},           {Operation::Subtract, ValueRange::subtract},
        {Operation::Multiply, ValueRange::multiply}, {Operation::Divide, ValueRange::divide},
        {Operation::Remainder, ValueRange::remainder},
    };
    const std::vector<ValueRange> ranges = smallRanges();
    for (const Row &row : rows) {
        for (const ValueRange &a : ranges) {
            for (const ValueRange &b : ranges) {
                const auto bound = row.bound(a, b);
                // Division and remainder by a range that holds 0 are refused; nothing else.
                const bool refused = (row.operation == Operation::Divide
                                      || row.operation == Operation::Remainder)
                                     && b.holdsZero();
                ASSERT_EQ(bound.has_value(), !refused) << int(row.operation);
                if (bound) {
                    EXPECT_TRUE(holdsEveryResult(*bound, row.operation, a, &b))
                        << int(row.operation);
                }
            }
        }
    }
    // Powers: whole exponents from 0, fixed or varying.
    for (const ValueRange &base : ranges) {
        for (const auto &[low, high] : {std::pair{0, 0}, {3, 3}, {2, 2}, {0, 3}, {1, 4}}) {
            const ValueRange exponent = *ValueRange::whole(low, high);
            const auto bound = ValueRange::power(base, exponent);
            ASSERT_TRUE(bound.has_value());
            EXPECT_TRUE(holdsEveryResult(*bound, Operation::Power, base, &exponent));
        }
    }
}

TEST(ValueRange, EveryFunctionResultLiesWithinItsBound)
{
    for (const ValueRange &a : smallRanges()) {
        EXPECT_TRUE(holdsEveryResult(*ValueRange::negate(a), Operation::Negate, a));
        EXPECT_TRUE(holdsEveryResult(*ValueRange::floor(a), Operation::Floor, a));
        EXPECT_TRUE(holdsEveryResult(*ValueRange::ceil(a), Operation::Ceil, a));
        EXPECT_TRUE(holdsEveryResult(*ValueRange::round(a), Operation::Round, a));
        EXPECT_TRUE(holdsEveryResult(*ValueRange::absolute(a), Operation::Abs, a));
        EXPECT_TRUE(holdsEveryResult(ValueRange::sign(a), Operation::Sign, a));
    }
    // The sum of any k of some members: every choice of k, for k from 1 to 3.
    const ValueRange members[] = {*ValueRange::whole(-2, 1), *ValueRange::whole(0, 4),
                                  {*Fraction::of(-1, 2), Fraction(3), 2}};
    for (qint64 kept = 1; kept <= 3; ++kept) {
        const auto bound = ValueRange::sumOfAny({members[0], members[1], members[2]}, kept, kept);
        ASSERT_TRUE(bound.has_value());
        for (unsigned chosen = 1; chosen < 8; ++chosen) {
            if (qint64(__builtin_popcount(chosen)) != kept)
                continue;
            ValueRange sum = *ValueRange::whole(0, 0);
            for (int m = 0; m < 3; ++m) {
                if (chosen & (1u << m))
                    sum = *ValueRange::add(sum, members[m]);
            }
            EXPECT_TRUE(sum.low >= bound->low && sum.high <= bound->high) << chosen;
        }
    }
}

// At the edges of 64 bits: a numerator may be -2^63 over any denominator, but no value may
// need one beyond 64 bits.
TEST(ValueRange, RefusesWhatAFractionCannotHold)
{
    const Fraction smallest(std::numeric_limits<qint64>::min());
    const Fraction largest(std::numeric_limits<qint64>::max());
    EXPECT_TRUE(ValueRange::add(*ValueRange::whole(smallest.numerator(), 0),
                                *ValueRange::whole(0, 0)));
    EXPECT_FALSE(ValueRange::negate(*ValueRange::whole(smallest.numerator(), 0)));
    EXPECT_TRUE(ValueRange::divide(*ValueRange::whole(smallest.numerator(), 0),
                                   *ValueRange::whole(3, 3))); // -2^63 over 3
    EXPECT_FALSE(ValueRange::add(*ValueRange::whole(smallest.numerator(), 0),
                                 *ValueRange::exactly(*Fraction::of(1, 3))));
    EXPECT_TRUE(ValueRange::divide(*ValueRange::whole(smallest.numerator(), 0),
                                   *ValueRange::whole(2, 2)));
    EXPECT_FALSE(ValueRange::add(*ValueRange::whole(0, largest.numerator()),
                                 *ValueRange::whole(1, 1)));
    EXPECT_FALSE(ValueRange::multiply(*ValueRange::whole(3'037'000'500, 3'037'000'500),
                                      *ValueRange::whole(-3'037'000'500, 3'037'000'500)));
}

} // namespace
