// The layers of the dice engine checked against one another: the parser's bounds against every
// value the exact odds allow and against rolls at every limit, the exact odds against every
// roll the roller can make, and many seeded rolls against the exact odds by a chi-square test.

#include "dice/notation/DiceNotation.h"
#include "dice/odds/DiceOdds.h"
#include "dice/roll/DiceRoller.h"
#include "dice/roll/SplitMixDieSource.h"

#include "DiceTestSupport.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {

using namespace dicetest;

// The bounds the parser works out before rolling (the guarantee that no roll overflows) hold
// every value the exact odds allow, through every operation; where a bound is reached by
// some roll, it must equal the odds' extreme, so a bound that is merely loose also shows.
TEST(DiceEngineAgreement, ParserBoundsHoldEveryPossibleValue)
{
    struct Row
    {
        const char *expression;
        bool reached; // both bounds are reached by some roll
    };
    const Row rows[] = {
        {"3d6", true},
        {"4d6kh3", true},
        {"4dF-2", true},
        {"d6r1min2max5", true},
        {"d4!!", true},
        {"3d4!!", false}, // the longest explosions are far below 1e-150
        {"2d4!p", false}, // penetration can count a 1 as 0 only when nothing exploded before
        {"6d10>=8f1", true},
        {"5d6!>=5kh2", true},
        {"{1d6, 1d8}kh1", true},
        {"{2d6, 1d4+3}dl1>=5f<5", true},
        {"{3d4+2d6}k3", false}, // the bound lets every kept die be a six
        {"1d6/2-1d4/3", true},
        {"(1d6-3)*(1d4-2)", true},
        {"1d20%1d6", false},
        {"-7%(1d3)", false},
        {"2^1d4-1d3^2", false}, // a power with a varying exponent is bounded loosely
        {"(1d3-2)^3*1d2^2", true},
        {"floor(1d6/4)+ceil(-1d6/4)", true},
        {"round(1d9/2)*sign(1d3-2)", true},
        {"abs(1d6-1d6)", true},
        {"min(1d6, 1d4, 3)-max(2d4/2, 1d2)", true},
        {"1.5*2d4-0.25", true},
    };
    for (const Row &row : rows) {
        const DiceExpression expression = parsed(row.expression);
        const DiceDistribution distribution = odds(expression);
        distribution.forEach([&](Fraction value, double) {
            EXPECT_TRUE(value >= expression.minimum() && value <= expression.maximum())
                << row.expression;
        });
        if (row.reached) {
            EXPECT_EQ(distribution.minimum(), expression.minimum()) << row.expression;
            EXPECT_EQ(distribution.maximum(), expression.maximum()) << row.expression;
        }
    }
}

// With every cap reached and every value at an end of its range, a roll stays inside what
// the parser allowed: no overflow, a total within the bounds, no more draws than the bound
// (exactly as many where the bound is reached).
TEST(DiceEngineAgreement, RollsAtEveryLimitStayInsideTheBounds)
{
    struct Row
    {
        const char *expression;
        bool highest;
        qint64 draws; // 0: at most the bound
    };
    const Row rows[] = {
        {"3d6!", true, 303},
        {"d20!r20", true, 10'201},
        {"2d6r1", false, 202},
        {"2d6ro1", false, 4},
        {"3d6u", false, 0},
        {"d6!!p", true, 101},
        {"10000d1000000!!", true, 1'010'000},
        {"(-9223372036854775807-1)/2", true, 0},
        {"-(1d2)*4611686018427387904", true, 0},
        {"1d1000000min1000000*9223372036854", false, 0},
        {"(-2)^1d62", true, 0},
        {"1/1d1000000/1d1000000/1d1000000", true, 0},
        {"(1/2)^1d62", true, 0},
        {"(-2)^1d62", false, 0},
        {"{1d20+5, 1d20+5}kh1/3", true, 0},
        {"{50d6+50d8}kh1>=8f1", true, 0},
        {"floor(10000d6!!/7)%13-round(-5/2)", false, 0},
    };
    for (const Row &row : rows) {
        const DiceExpression expression = parsed(row.expression);
        EndDieSource source(row.highest);
        DiceRoller roller(expression, source);
        ASSERT_TRUE(roller.roll()) << row.expression;
        const Fraction total = roller.outcome().total;
        EXPECT_TRUE(total >= expression.minimum() && total <= expression.maximum())
            << row.expression;
        EXPECT_LE(roller.draws(), expression.maximumDraws()) << row.expression;
        if (row.draws != 0) {
            EXPECT_EQ(roller.draws(), row.draws) << row.expression;
            EXPECT_EQ(expression.maximumDraws(), row.draws) << row.expression;
        }
    }
}

// Every construct of the notation on dice small enough to enumerate every roll, caps of 100
// rerolls and extra dice included: the values must be the same and each probability within
// 1e-12.
TEST(DiceEngineAgreement, MatchesEveryRollTheRollerCanMake)
{
    const char *const expressions[] = {
        "3d6", "4d6kh3", "2d20kh1+5", "2d20kl1", "5d4dl2", "4d6dh1", "3d8k2", "4dF", "3dF.1+1",
        "5d6>=5", "4d10>=8f1", "4d6kh2>=4", "5d6dl2<3f6",
        // Several keep/drop rules at once.
        "4d6dh1dl2", "3d6k1d1", "3d6d1k1", "4d4kh3kl2", "2d2!kh2dh1", "{1d4, 1d4, 1d6}kh2dl1",
        "d6!p", "d3!+d2", "2d2!kh1", "2d2!dl1", "d6!!p+d4", "2d2!p>=2dh1", "d6!>5",
        "d3!=1+d2", "d3!!>=3", "d6!=1kh1", "d3ro3!", "d2r1+d3", "2d6ro<3", "d6ro<3",
        "2d6min2max5", "3d8max4kh2", "2d4u", "3d4uo", "2d2uo!", "3d4uo>=3", "2d2!!uo",
        "3d4uokh1",
        "{d6, d8}kh1", "{2d4+1, d6, 3}kl2", "{d6, d6, d6}>=4", "{d6, 2d4}dl1>=3f1",
        "{2d4+d6}kh2", "{d4!+d6}k2", "{2d4+d6}>=3", "{2d4u+d4}dh1", "{d6/2, d4}kh1",
        "d6/d4", "d6%d4", "2^d4", "d4^d3", "floor(d6/4)", "ceil(d6/4)", "round(d10/4)",
        "abs(d6-4)", "sign(d6-4)", "min(d6,d8)", "max(d6,d6,d4)", "-d6*d4", "(d6+1.5)*2",
        "-(d6-d4)%3", "pow(d3,2)+5",
    };
    for (const char *text : expressions) {
        SCOPED_TRACE(text);
        const DiceExpression expression = parsed(text);
        qint64 sequences = 0;
        const auto expected = enumerated(expression, sequences);
        const auto actual = asMap(odds(expression));
        EXPECT_LE(sequences, 40'000);
        // A value whose chance is below the engine's smallest probability may be missing.
        std::size_t missing = 0;
        for (const auto &[value, p] : expected) {
            const auto found = actual.find(value);
            if (found == actual.end()) {
                EXPECT_LT(p, 1e-140L) << value.toDouble();
                ++missing;
                continue;
            }
            EXPECT_NEAR(double(found->second), double(p), 1e-12) << value.toDouble();
        }
        EXPECT_EQ(actual.size() + missing, expected.size());
    }
}

// The chance that a chi-square variable of `df` degrees of freedom exceeds x: the regularized
// upper incomplete gamma function Q(df/2, x/2), by its series or its continued fraction.
double chiSquareTail(double df, double x)
{
    const double a = df / 2;
    const double z = x / 2;
    if (z <= 0)
        return 1;
    const double logPrefix = a * std::log(z) - z - std::lgamma(a);
    if (z < a + 1) {
        double term = 1 / a;
        double sum = term;
        for (int n = 1; n < 1000 && term > sum * 1e-16; ++n) {
            term *= z / (a + n);
            sum += term;
        }
        return 1 - sum * std::exp(logPrefix);
    }
    // Lentz's method for the continued fraction of Q.
    double b = z + 1 - a;
    double c = 1e300;
    double d = 1 / b;
    double h = d;
    for (int n = 1; n < 1000; ++n) {
        const double an = -n * (n - a);
        b += 2;
        d = an * d + b;
        d = std::abs(d) < 1e-300 ? 1e-300 : d;
        c = b + an / c;
        c = std::abs(c) < 1e-300 ? 1e-300 : c;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::abs(step - 1) < 1e-16)
            break;
    }
    return std::exp(logPrefix) * h;
}

TEST(DiceEngineAgreement, ChiSquareTailAgreesWithKnownQuantiles)
{
    // Quantiles from the usual tables.
    EXPECT_NEAR(chiSquareTail(1, 3.841459), 0.05, 1e-6);
    EXPECT_NEAR(chiSquareTail(10, 18.307038), 0.05, 1e-6);
    EXPECT_NEAR(chiSquareTail(4, 9.487729), 0.05, 1e-6);
    EXPECT_NEAR(chiSquareTail(30, 59.703066), 0.001, 1e-7);
}

// The roller and the exact odds check each other: each expression is rolled 20000 times with
// its own fixed seed, the values in order are put into bins of at least 5 expected rolls, and
// the chi-square statistic of the counts against the exact odds must not be significant at
// 1e-6 (a correct pair fails one of these rows about once in 25000 runs; the seeds are fixed,
// so a run never flakes). A value rolled that the exact odds call impossible fails at once.
TEST(DiceEngineAgreement, RollsAgreeWithTheExactOdds)
{
    const char *const expressions[] = {
        "3d6", "4d6kh3", "2d20kh1+5", "2d20kl1", "6d6dl2", "5d8dh2", "4dF", "4dF.1", "d%",
        "4d10dh1dl2", "6d6kh4dl1", "5d8!kh3dh1", "{4d6+2d8}kh4dl1",
        "10d10>=8", "10d10>=8f1", "8d6k4>4f1", "3d6!", "5d6!>=5", "4d6!!", "3d6!!p", "4d6!p",
        "6d6!kh3", "5d10!>=9kl2", "4d6!dl1", "6d10!>=8>=6", "4d6r<3", "4d6ro<3kh3", "3d8min3max6", "5d6u",
        "6d6uo>=4", "4d6u!", "3d6cs>=5cf1sd", "{1d20+5, 1d20+5}kh1", "{3d6, 3d6, 3d6}>=12",
        "{4d6+3d8}k4", "{3d6!+2d8}kh2", "{5d6+5d6}>=5f1", "{2d6, 1d12, d4*3}dl1",
        "floor(3d6/4)+ceil(2d6/3)", "round(2d10/3)*abs(d6-3)",
        "max(4d6kh3, 4d6kh3) - min(2d8, d12)", "(2d6)^2 % 7", "d6 * -d4 + sign(d6-3)",
        "2d6[fogo]+1d4[gelo] # dano", "3d6/2",
    };
    constexpr int Rolls = 20'000;
    std::uint64_t seed = 20261207;
    for (const char *text : expressions) {
        SCOPED_TRACE(text);
        const DiceExpression expression = parsed(text);
        const auto exact = asMap(odds(expression));
        SplitMixDieSource source(++seed);
        DiceRoller roller(expression, source);
        std::map<Fraction, int> counts;
        for (int r = 0; r < Rolls; ++r) {
            ASSERT_TRUE(roller.roll());
            ++counts[roller.outcome().total];
        }
        for (const auto &[value, count] : counts)
            ASSERT_TRUE(exact.count(value)) << value.toDouble() << " rolled " << count << " times";

        double statistic = 0;
        int bins = 0;
        double expected = 0;
        double observed = 0;
        for (auto at = exact.begin(); at != exact.end(); ++at) {
            expected += at->second * Rolls;
            const auto rolled = counts.find(at->first);
            observed += rolled == counts.end() ? 0 : rolled->second;
            // A bin closes at 5 expected rolls, unless what is left would not make another.
            double rest = 0;
            for (auto later = std::next(at); later != exact.end() && rest < 5; ++later)
                rest += later->second * Rolls;
            if (expected >= 5 && rest >= 5) {
                statistic += (observed - expected) * (observed - expected) / expected;
                ++bins;
                expected = observed = 0;
            }
        }
        if (expected > 0) {
            statistic += (observed - expected) * (observed - expected) / expected;
            ++bins;
        }
        ASSERT_GE(bins, 2);
        EXPECT_GT(chiSquareTail(bins - 1, statistic), 1e-6)
            << "chi-square " << statistic << " with " << bins - 1 << " degrees of freedom";
    }
}

// What each modifier does to the odds, against its exact distribution worked out by hand:
// 60000 seeded rolls per row, compared by a chi-square test at a significance of 0.001
// (fixed seeds: the outcome never changes from run to run). Values above `tail` share one
// bin, whose probability is what the listed values leave.
TEST(DiceEngineAgreement, ModifiersGiveTheirExactOdds)
{
    struct Row
    {
        const char *expression;
        std::vector<std::pair<Fraction, double>> odds;
        qint64 tail; // 0: no tail bin
    };
    // 4d10>=8f1: each die +1 (3 in 10), -1 (1 in 10) or 0; the count by convolution.
    std::vector<double> net{1.0};
    for (int die = 0; die < 4; ++die) {
        std::vector<double> next(net.size() + 2, 0.0);
        for (std::size_t i = 0; i < net.size(); ++i) {
            next[i] += net[i] * 0.1;
            next[i + 1] += net[i] * 0.6;
            next[i + 2] += net[i] * 0.3;
        }
        net = next;
    }
    std::vector<std::pair<Fraction, double>> pool;
    for (std::size_t i = 0; i < net.size(); ++i)
        pool.push_back({Fraction(qint64(i) - 4), net[i]});
    // 2d6u: the 30 ordered pairs of different faces, equally likely.
    std::vector<std::pair<Fraction, double>> unique;
    for (int sum = 3; sum <= 11; ++sum) {
        int ways = 0;
        for (int a = 1; a <= 6; ++a)
            ways += (sum - a >= 1 && sum - a <= 6 && sum - a != a) ? 1 : 0;
        unique.push_back({Fraction(sum), ways / 30.0});
    }
    const Row rows[] = {
        {"d6ro1", {{1, 1 / 36.0}, {2, 7 / 36.0}, {3, 7 / 36.0}, {4, 7 / 36.0}, {5, 7 / 36.0},
                   {6, 7 / 36.0}}, 0},
        {"d6r<3", {{3, 0.25}, {4, 0.25}, {5, 0.25}, {6, 0.25}}, 0},
        {"d6min3", {{3, 0.5}, {4, 1 / 6.0}, {5, 1 / 6.0}, {6, 1 / 6.0}}, 0},
        {"d8max5", {{1, 0.125}, {2, 0.125}, {3, 0.125}, {4, 0.125}, {5, 0.5}}, 0},
        {"2d6>=5", {{0, 4 / 9.0}, {1, 4 / 9.0}, {2, 1 / 9.0}}, 0},
        {"4d10>=8f1", pool, 0},
        {"2d6u", unique, 0},
        {"{1d6, 1d6}kh1", {{1, 1 / 36.0}, {2, 3 / 36.0}, {3, 5 / 36.0}, {4, 7 / 36.0},
                           {5, 9 / 36.0}, {6, 11 / 36.0}}, 0},
        {"1d6/2", {{*Fraction::of(1, 2), 1 / 6.0}, {1, 1 / 6.0}, {*Fraction::of(3, 2), 1 / 6.0},
                   {2, 1 / 6.0}, {*Fraction::of(5, 2), 1 / 6.0}, {3, 1 / 6.0}}, 0},
        {"dF.1", {{-1, 1 / 6.0}, {0, 4 / 6.0}, {1, 1 / 6.0}}, 0},
        // A six compounds: 6 + the next roll, and so on.
        {"d6!!", {{1, 1 / 6.0}, {2, 1 / 6.0}, {3, 1 / 6.0}, {4, 1 / 6.0}, {5, 1 / 6.0},
                  {7, 1 / 36.0}, {8, 1 / 36.0}, {9, 1 / 36.0}, {10, 1 / 36.0},
                  {11, 1 / 36.0}}, 11},
        // A six adds the next roll less one, which explodes on its own six.
        {"d6!p", {{1, 1 / 6.0}, {2, 1 / 6.0}, {3, 1 / 6.0}, {4, 1 / 6.0}, {5, 1 / 6.0},
                  {6, 1 / 36.0}, {7, 1 / 36.0}, {8, 1 / 36.0}, {9, 1 / 36.0},
                  {10, 1 / 36.0}}, 10},
        {"{1d4+1d4}kh1", {{1, 1 / 16.0}, {2, 3 / 16.0}, {3, 5 / 16.0}, {4, 7 / 16.0}}, 0},
    };
    constexpr int Rolls = 60'000;
    SplitMixDieSource source(20261207);
    for (const Row &row : rows) {
        const DiceExpression expression = parsed(row.expression);
        DiceRoller roller(expression, source);
        std::map<Fraction, int> counts;
        int tailCount = 0;
        for (int r = 0; r < Rolls; ++r) {
            ASSERT_TRUE(roller.roll());
            const Fraction total = roller.outcome().total;
            if (row.tail != 0 && total > Fraction(row.tail))
                ++tailCount;
            else
                ++counts[total];
        }
        double chiSquare = 0;
        double listed = 0;
        int seen = 0;
        for (const auto &[value, probability] : row.odds) {
            const double expected = probability * Rolls;
            const double difference = counts[value] - expected;
            chiSquare += difference * difference / expected;
            listed += probability;
            seen += counts[value];
        }
        int bins = int(row.odds.size());
        if (row.tail != 0) {
            const double expected = (1 - listed) * Rolls;
            chiSquare += (tailCount - expected) * (tailCount - expected) / expected;
            seen += tailCount;
            ++bins;
        }
        EXPECT_EQ(seen, Rolls) << row.expression << ": a value outside the exact odds";
        // The 0.1 % point of chi-square with bins - 1 degrees of freedom
        // (Wilson-Hilferty, z = 3.09).
        const double k = bins - 1;
        const double critical = k * std::pow(1 - 2 / (9 * k) + 3.09 * std::sqrt(2 / (9 * k)), 3);
        EXPECT_LT(chiSquare, critical) << row.expression;
    }
}

} // namespace
