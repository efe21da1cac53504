// The exact odds against closed forms, and what they refuse.

#include "dice/odds/DiceOdds.h"
#include "dice/odds/KeptDiceOdds.h"
#include "dice/odds/OddsBudget.h"
#include "dice/odds/WholeOdds.h"

#include "DiceTestSupport.h"
#include "QtPrinters.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <chrono>

#include <cmath>
#include <vector>

namespace {

using namespace dicetest;

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
// A single die is exactly uniform: its faces are the double nearest 1/faces (no normalising
// drift), its mean is (faces + 1) / 2 and each tail is within one rounding of its fraction.
TEST(DiceOdds, OneDieIsUniformToTheLastBit)
{
    for (const int faces : {2, 3, 4, 6, 8, 10, 12, 20, 100, 1000}) {
        const DiceDistribution odds = ::odds(parsed(QStringLiteral("1d%1+8").arg(faces)));
        std::vector<double> atMost;
        std::vector<double> atLeast;
        odds.cumulative(atMost, atLeast);
        ASSERT_EQ(atMost.size(), std::size_t(faces));
        EXPECT_EQ(odds.mean(), (faces + 1) / 2.0 + 8) << faces;
        for (int k = 1; k <= faces; ++k) {
            const double exactlyK = odds.probabilityOf(Fraction(k + 8));
            ASSERT_EQ(exactlyK, 1.0 / faces) << faces << " face " << k;
            const double ulp = std::nextafter(1.0, 2.0) - 1.0;
            EXPECT_NEAR(atMost[std::size_t(k - 1)], double(k) / faces, ulp) << faces << " " << k;
            EXPECT_NEAR(atLeast[std::size_t(k - 1)], double(faces - k + 1) / faces, ulp);
            EXPECT_EQ(odds.atMost(Fraction(k + 8)), atMost[std::size_t(k - 1)]);
            EXPECT_EQ(odds.atLeast(Fraction(k + 8)), atLeast[std::size_t(k - 1)]);
        }
    }
}

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
        {"30d20!kh10", "trabalho demais para o cálculo exato (pelo menos 512 bilhões de "
                        "operações; o limite é 400 milhões)"},
    };
    for (const Row &row : rows) {
        const auto result = DiceOdds::evaluate(parsed(row.expression));
        const auto *refusal = std::get_if<DiceOddsRefusal>(&result);
        ASSERT_TRUE(refusal) << row.expression;
        EXPECT_EQ(refusal->reason.toStdString(), row.reason) << row.expression;
    }
}

// A block of middle ranks: the second highest of 4d10 (the highest and the two lowest set
// aside, as 4d10dh1dl2 does) and the middle of 3d6, against P(at most r − 1 dice above v),
// from both ends of the sweep.
TEST(DiceOdds, KeepsABlockOfMiddleRanks)
{
    struct Row
    {
        qint64 faces, n, skipped;
        bool highest;
    };
    for (const Row row : {Row{10, 4, 1, true}, Row{6, 3, 1, true}, Row{6, 3, 1, false},
                          Row{10, 4, 2, false}}) {
        WholeOdds die;
        die.cover(1, row.faces);
        for (qint64 v = 1; v <= row.faces; ++v)
            die.add(v, 1.0 / double(row.faces));
        OddsBudget budget;
        const auto odds =
            KeptDiceOdds::evaluate(die, DieScore{}, row.n, 1, row.highest, budget, row.skipped);
        ASSERT_TRUE(odds);
        double below = 0;
        for (qint64 v = 1; v <= row.faces; ++v) {
            below += odds->p[std::size_t(v - odds->first)];
            // The die of rank skipped + 1 from the swept end is at most v (or at least v + 1)
            // when at most `skipped` dice lie beyond v.
            const double f = row.highest ? double(v) / double(row.faces)
                                         : 1 - double(v) / double(row.faces);
            double expected = 0;
            for (qint64 beyond = 0; beyond <= row.skipped; ++beyond)
                expected += std::tgamma(double(row.n) + 1)
                            / (std::tgamma(double(beyond) + 1)
                               * std::tgamma(double(row.n - beyond) + 1))
                            * std::pow(1 - f, double(beyond)) * std::pow(f, double(row.n - beyond));
            if (!row.highest)
                expected = 1 - expected;
            EXPECT_NEAR(below, expected, 1e-12) << row.faces << " " << row.n << " " << v;
        }
    }
}

// An exploding pool far past the budget is priced from its sizes and refused before any step
// is taken: within 0.2 s where paying step by step took over a second.
TEST(DiceOdds, RefusesLargeExplodingPoolsAtOnce)
{
    for (const char *expression : {"30d20!kh10", "100d20!kh33", "20d20!kh10"}) {
        const DiceExpression parsedExpression = parsed(expression);
        const auto start = std::chrono::steady_clock::now();
        const auto result = DiceOdds::evaluate(parsedExpression);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_TRUE(std::holds_alternative<DiceOddsRefusal>(result)) << expression;
        EXPECT_LT(elapsed, std::chrono::milliseconds(200)) << expression;
    }
}

} // namespace
