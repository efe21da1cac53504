// The exact odds against the roller: every draw sequence a roll can make, enumerated through
// the real DiceRoller; closed forms; and many seeded rolls compared by a chi-square test.

#include "dice/DiceNotation.h"
#include "dice/DiceOdds.h"
#include "dice/DiceRoller.h"
#include "dice/DieSource.h"
#include "dice/KeptDiceOdds.h"
#include "dice/SplitMixDieSource.h"

#include <QStringList>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace {

DiceExpression parsed(const QString &text)
{
    auto result = DiceNotation::parse(text);
    if (const auto *error = std::get_if<DiceNotationError>(&result)) {
        ADD_FAILURE() << text.toStdString() << ": " << error->message.toStdString();
        return {};
    }
    return std::get<DiceExpression>(std::move(result));
}

DiceDistribution odds(const DiceExpression &expression)
{
    auto result = DiceOdds::evaluate(expression);
    if (const auto *refusal = std::get_if<DiceOddsRefusal>(&result)) {
        ADD_FAILURE() << expression.text().toStdString() << ": "
                      << refusal->reason.toStdString();
        return {};
    }
    return std::get<DiceDistribution>(std::move(result));
}

std::map<Fraction, double> asMap(const DiceDistribution &distribution)
{
    std::map<Fraction, double> map;
    distribution.forEach([&](Fraction value, double p) { map[value] = p; });
    return map;
}

// Walks every sequence of draws a roll can make, like an odometer: the first roll draws 1
// every time it asks for a die; each next one repeats the draws before the last that can
// still go up, raises that one and draws 1 after it. A sequence's chance is the product of
// 1/faces over its draws.
class OdometerDieSource final : public DieSource
{
public:
    std::uint32_t roll(std::uint32_t faces) override
    {
        if (m_next == m_draws.size()) {
            m_draws.push_back(1);
            m_faces.push_back(faces);
        }
        EXPECT_EQ(m_faces[m_next], faces);
        return m_draws[m_next++];
    }

    long double chance() const
    {
        long double p = 1;
        for (const std::uint32_t faces : m_faces)
            p /= faces;
        return p;
    }

    bool advance()
    {
        EXPECT_EQ(m_next, m_draws.size());
        m_next = 0;
        while (!m_draws.empty()) {
            if (m_draws.back() < m_faces.back()) {
                ++m_draws.back();
                return true;
            }
            m_draws.pop_back();
            m_faces.pop_back();
        }
        return false;
    }

private:
    std::vector<std::uint32_t> m_draws;
    std::vector<std::uint32_t> m_faces;
    std::size_t m_next = 0;
};

std::map<Fraction, long double> enumerated(const DiceExpression &expression, qint64 &sequences)
{
    OdometerDieSource source;
    DiceRoller roller(expression, source);
    std::map<Fraction, long double> odds;
    sequences = 0;
    do {
        EXPECT_TRUE(roller.roll());
        odds[roller.outcome().total] += source.chance();
        ++sequences;
    } while (source.advance());
    return odds;
}

// The bounds the parser works out before rolling (the guarantee that no roll overflows) hold
// every value the exact odds allow, through every operation; where a bound is reached by
// some roll, it must equal the odds' extreme, so a bound that is merely loose also shows.
TEST(DiceOdds, ParserBoundsHoldEveryPossibleValue)
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

// Every construct of the notation on dice small enough to enumerate every roll, caps of 100
// rerolls and extra dice included: the values must be the same and each probability within
// 1e-12.
TEST(DiceOdds, MatchesEveryRollTheRollerCanMake)
{
    const char *const expressions[] = {
        "3d6", "4d6kh3", "2d20kh1+5", "2d20kl1", "5d4dl2", "4d6dh1", "3d8k2", "4dF", "3dF.1+1",
        "5d6>=5", "4d10>=8f1", "4d6kh2>=4", "5d6dl2<3f6",
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

TEST(DiceOdds, ChiSquareTailAgreesWithKnownQuantiles)
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
TEST(DiceOdds, RollsAgreeWithTheExactOdds)
{
    const char *const expressions[] = {
        "3d6", "4d6kh3", "2d20kh1+5", "2d20kl1", "6d6dl2", "5d8dh2", "4dF", "4dF.1", "d%",
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

// Ways to roll s on n dice of m faces: Σ_k (−1)^k C(n, k) C(s − k·m − 1, n − 1).
__extension__ typedef __int128 Wide;

Wide choose(Wide n, Wide k)
{
    if (k < 0 || n < k)
        return 0;
    Wide c = 1;
    for (Wide i = 1; i <= k; ++i)
        c = c * (n - k + i) / i;
    return c;
}

Wide waysToRoll(int n, int m, int s)
{
    Wide ways = 0;
    for (int k = 0; k <= n && s - k * m >= n; ++k)
        ways += (k % 2 ? -1 : 1) * choose(n, k) * choose(s - k * m - 1, n - 1);
    return ways;
}

TEST(DiceOdds, MatchesClosedForms)
{
    // Sums of dice, to 1e-12 of ways / m^n (each probability also to 1e-10 of itself).
    for (const auto &[n, m] : {std::pair{8, 6}, {3, 20}, {20, 6}, {10, 10}, {1, 1}, {30, 4}}) {
        const DiceDistribution d = odds(parsed(QStringLiteral("%1d%2").arg(n).arg(m)));
        const long double all = std::pow(static_cast<long double>(m), n);
        EXPECT_EQ(d.count(), qsizetype(n * (m - 1) + 1));
        for (int s = n; s <= n * m; ++s) {
            const double p = double(static_cast<long double>(waysToRoll(n, m, s)) / all);
            EXPECT_NEAR(d.probabilityOf(s), p, 1e-12 + 1e-10 * p) << n << "d" << m << " = " << s;
        }
    }
    // The highest of 50d20: (v^50 − (v − 1)^50) / 20^50.
    const DiceDistribution highest = odds(parsed("50d20kh1"));
    for (int v = 1; v <= 20; ++v) {
        const double p = std::pow(v / 20.0, 50) - std::pow((v - 1) / 20.0, 50);
        EXPECT_NEAR(highest.probabilityOf(v), p, 1e-12 + 1e-10 * p) << v;
    }
    // A pool of 10d10 with successes on 8+ and failures on 1: a trinomial.
    const DiceDistribution pool = odds(parsed("10d10>=8f1"));
    for (int k = -10; k <= 10; ++k) {
        double p = 0;
        for (int failures = 0; failures <= 10; ++failures) {
            const int successes = k + failures;
            const int others = 10 - successes - failures;
            if (successes < 0 || others < 0)
                continue;
            p += double(choose(10, successes) * choose(10 - successes, failures))
                 * std::pow(0.3, successes) * std::pow(0.1, failures) * std::pow(0.6, others);
        }
        EXPECT_NEAR(pool.probabilityOf(k), p, 1e-12 + 1e-10 * p) << k;
    }
    // Exact fractions: (1d6 + 1d6) / 4 takes 2/4 … 12/4, mean 7/4.
    const DiceDistribution quarter = odds(parsed("2d6/4"));
    EXPECT_EQ(quarter.minimum(), *Fraction::of(1, 2));
    EXPECT_EQ(quarter.maximum(), Fraction(3));
    EXPECT_NEAR(quarter.probabilityOf(*Fraction::of(7, 4)), 6.0 / 36, 1e-15);
    EXPECT_NEAR(quarter.mean(), 1.75, 1e-14);
}

// The binomial chances the kept dice are swept with stay accurate far into their tails.
TEST(DiceOdds, BinomialChancesAreAccurateInTheTails)
{
    std::vector<double> chances;
    KeptDiceOdds::binomial(10'000, 0.5, chances);
    EXPECT_NEAR(chances[5000], 0.007978646139382154, 1e-15);
    EXPECT_EQ(chances[0], 0); // 2^-10000, far below Tiny
    KeptDiceOdds::binomial(100, 0.1, chances);
    EXPECT_NEAR(chances[0] / std::pow(0.9, 100), 1, 1e-13);
    EXPECT_NEAR(chances[100] / 1e-100, 1, 1e-13);
    KeptDiceOdds::binomial(3, 1.0, chances);
    EXPECT_EQ(chances, (std::vector<double>{0, 0, 0, 1}));
}

// The bounds admit every roll of the dice window and every example of the documentation
// (the man page, the help of dados and chances, the README), each summing to 1.
TEST(DiceOdds, AnswersEveryWindowRollAndEveryDocumentedExample)
{
    QStringList expressions{
        "4d6kh3", "2d20kl1+5", "dF*3", "10d10>=8f1", "3d6!!", "{1d20+5, 1d20+5}kh1", "d%",
        "8d4!kh3", "(2d6+1)*-3", "4d6d1", "(1d8+2)*3", "-d4", "2d6+3 # espada",
        "2d6[fogo]+1d4[gelo]", "floor(1d6/2)", "max(1d20, 1d20)", "4d6r1", "2d20ro<3", "4d6u",
        "2d6!p", "4d6min2", "2d20max15", "1d20cs>=19", "4d6sd", "{3d6, 3d6, 3d6}>=12",
        "{4d6+3d8}k4", "1d6/2", "-1d4+2", "10d10>=8", "8d6", "3d6!", "d4!", "d6!", "2d20kh1+5"};
    for (const int faces : {4, 6, 8, 10, 12, 20}) {
        for (int dice = 1; dice <= 50; ++dice)
            expressions << QStringLiteral("%1d%2").arg(dice).arg(faces);
    }
    for (const QString &text : expressions) {
        const auto result = DiceOdds::evaluate(parsed(text));
        const auto *odds = std::get_if<DiceDistribution>(&result);
        ASSERT_TRUE(odds) << text.toStdString() << ": "
                          << std::get<DiceOddsRefusal>(result).reason.toStdString();
        double total = 0;
        odds->forEach([&](Fraction, double p) { total += p; });
        EXPECT_NEAR(total, 1, 1e-12) << text.toStdString();
    }
}

// The tails of a long sum are trimmed where they fall below Tiny, and the sum keeps its
// mean and variance: 1000d6, 3500 and 1000 × 35/12.
TEST(DiceOdds, LongSumsKeepTheirMeanAndVariance)
{
    const DiceDistribution odds = ::odds(parsed("1000d6"));
    EXPECT_NEAR(odds.mean(), 3500, 1e-9);
    EXPECT_NEAR(odds.standardDeviation(), std::sqrt(1000 * 35.0 / 12), 1e-9);
    EXPECT_GT(odds.minimum(), Fraction(1000));
    EXPECT_LT(odds.maximum(), Fraction(6000));
    EXPECT_NEAR(odds.probabilityOf(3499) / odds.probabilityOf(3501), 1, 1e-12);
}

// Past a bound the expression is refused, and the reason names it.
TEST(DiceOdds, RefusesWhatItCannotWorkOutAndSaysWhy)
{
    struct Row
    {
        const char *expression;
        const char *reason;
    };
    const Row rows[] = {
        {"(d100*d100)/(d100*d100)", "trabalho demais para o cálculo exato (cerca de 4,2 bilhões "
                                    "de operações; o limite é 400 milhões)"},
        {"2d100000", "trabalho demais para o cálculo exato (passa do limite de 400 milhões de "
                      "operações)"},
        {"4d300000u", "estados demais para o cálculo exato (passa do limite de 4 milhões de "
                       "probabilidades guardadas de uma vez)"},
        {"d1000000+d1000000", "valores distintos demais (2 milhões; o limite é 1 milhão)"},
    };
    for (const Row &row : rows) {
        const auto result = DiceOdds::evaluate(parsed(row.expression));
        const auto *refusal = std::get_if<DiceOddsRefusal>(&result);
        ASSERT_TRUE(refusal) << row.expression;
        EXPECT_EQ(refusal->reason.toStdString(), row.reason) << row.expression;
    }
}

} // namespace
