// How the roller rolls each modifier, with chosen faces and with the seeded source.

#include "dice/roll/DiceRoller.h"
#include "dice/roll/SplitMixDieSource.h"

#include "DiceTestSupport.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using namespace dicetest;

// Each row: the expression, the faces the dice show in the order rolled, and the worked-out
// line, which names every die, whether it was kept, and the total.
TEST(DiceRoller, RollsWithFixedDiceGiveTheseLines)
{
    struct Row
    {
        const char *expression;
        std::vector<std::uint32_t> faces;
        const char *line;
    };
    const Row rows[] = {
        // Precedence, associativity, unary minus, parentheses, blanks.
        {"2+3*4", {1}, "2+3*4: 2 + 3 * 4 = 14"},
        {"(2+3)*4", {1}, "(2+3)*4: (2 + 3) * 4 = 20"},
        {"10-4-3", {1}, "10-4-3: 10 - 4 - 3 = 3"},
        {"-2*-3", {1}, "-2*-3: -2 * -3 = 6"},
        {"--5", {1}, "--5: --5 = 5"},
        {"2*3-4*5", {1}, "2*3-4*5: 2 * 3 - 4 * 5 = -14"},
        {" 2d6 +\t1d4 * 2 ", {3, 5, 4}, "2d6 +\t1d4 * 2: [3, 5] + [4] * 2 = 16"},
        {"-(d8-10)", {3}, "-(d8-10): -([3] - 10) = 7"},
        // Dice kinds.
        {"d20", {20}, "d20: [20] = 20"},
        {"d%", {100}, "d%: [100] = 100"},
        {"4dF", {1, 2, 3, 3}, "4dF: [-1, 0, +1, +1] = 1"},
        {"dF*3", {1}, "dF*3: [-1] * 3 = -3"},
        // Keep and drop; among equal faces the earlier die is kept.
        {"4d6kh3", {3, 5, 1, 6}, "4d6kh3: [3, 5, ~1~, 6] = 14"},
        {"4d6k3", {2, 2, 2, 2}, "4d6k3: [2, 2, 2, ~2~] = 6"},
        {"4d6kl2", {3, 5, 1, 6}, "4d6kl2: [3, ~5~, 1, ~6~] = 4"},
        {"2d20kl1+5", {7, 15}, "2d20kl1+5: [7, ~15~] + 5 = 12"},
        {"4d6dh1", {6, 5, 6, 1}, "4d6dh1: [6, 5, ~6~, 1] = 12"},
        {"4d6dl1", {3, 1, 1, 6}, "4d6dl1: [3, 1, ~1~, 6] = 10"},
        {"4d6d2", {3, 5, 1, 6}, "4d6d2: [~3~, 5, ~1~, 6] = 11"},
        {"3d6kh5", {1, 2, 3}, "3d6kh5: [1, 2, 3] = 6"},
        {"3dFkh1", {1, 2, 1}, "3dFkh1: [~-1~, 0, ~-1~] = 0"},
        // Explosions: the extra die follows the die that rolled it, and explodes in turn;
        // keep/drop then chooses among every die.
        {"3d6!", {6, 2, 3, 6, 6, 1}, "3d6!: [6!, 2, 3, 6!, 6!, 1] = 24"},
        {"8d4!kh3",
         {1, 4, 2, 2, 3, 1, 1, 2, 4, 3},
         "8d4!kh3: [~1~, 4!, ~2~, ~2~, 3, ~1~, ~1~, ~2~, 4!, ~3~] = 11"},
        {"2d%!", {100, 7, 9}, "2d%!: [100!, 7, 9] = 116"},
        {"2d6!dh1", {6, 6, 2, 5}, "2d6!dh1: [6!, ~6!~, 2, 5] = 13"},
        // Success pools: the count of kept dice meeting the target, less failures.
        {"5d6=6", {6, 1, 6, 3, 5}, "5d6=6: [6*, 1, 6*, 3, 5] = 2"},
        {"4d10>=8f1", {8, 1, 10, 3}, "4d10>=8f1: [8*, 1f, 10*, 3] = 1"},
        {"4d10>=8 + 2", {9, 2, 8, 7}, "4d10>=8 + 2: [9*, 2, 8*, 7] + 2 = 4"},
        {"4d6<>3", {3, 4, 3, 1}, "4d6<>3: [3, 4*, 3, 1*] = 2"},
        {"4d6kh2>=5", {6, 5, 1, 5}, "4d6kh2>=5: [6*, 5*, ~1~, ~5~] = 2"},
        {"2dF<=-1", {1, 3}, "2dF<=-1: [-1*, +1] = 1"},
        // Rerolls: the face rerolled away, then the one that replaces it.
        {"4d6r1", {1, 1, 4, 2, 6, 3}, "4d6r1: [1r, 1r, 4, 2, 6, 3] = 15"},
        {"2d6ro1", {1, 1, 5}, "2d6ro1: [1r, 1, 5] = 6"},
        {"2d6r<3", {2, 1, 3, 6}, "2d6r<3: [2r, 1r, 3, 6] = 9"},
        {"d6r1r2", {2, 1, 4}, "d6r1r2: [2r, 1r, 4] = 4"},
        {"2d6r!=6", {3, 6, 6}, "2d6r!=6: [3r, 6, 6] = 12"},
        {"3d6u", {2, 2, 5, 2, 3}, "3d6u: [2, 2u, 5, 2u, 3] = 10"},
        {"3d6uo", {4, 4, 4, 1}, "3d6uo: [4, 4u, 4, 1] = 9"},
        // Explosions on a compare point, compounding and penetrating.
        {"2d6!>=5", {5, 6, 1, 3}, "2d6!>=5: [5!, 6!, 1, 3] = 15"},
        {"2d10!<2", {1, 1, 5, 7}, "2d10!<2: [1!, 1!, 5, 7] = 14"},
        {"2d6!!", {6, 6, 2, 3}, "2d6!!: [14!!, 3] = 17"},
        {"2d6!p", {6, 6, 2, 3}, "2d6!p: [6!, 5!p, 1p, 3] = 15"},
        {"d6!!p", {6, 6, 2}, "d6!!p: [12!!p] = 12"},
        {"2d6!r1", {6, 1, 4, 2}, "2d6!r1: [6!, 1r, 4, 2] = 12"},
        // Clamps, critical marks, sorting, Fate variants, spelling.
        {"4d6min3", {1, 4, 2, 6}, "4d6min3: [3^, 4, 3^, 6] = 16"},
        {"2d20max15", {18, 7}, "2d20max15: [15v, 7] = 22"},
        {"3d20cs>=19cf1", {20, 1, 10}, "3d20cs>=19cf1: [20++, 1--, 10] = 31"},
        {"2d20cs", {20, 19}, "2d20cs: [20++, 19] = 39"},
        {"4d6s", {3, 1, 4, 2}, "4d6s: [1, 2, 3, 4] = 10"},
        {"4d6sd", {3, 1, 4, 2}, "4d6sd: [4, 3, 2, 1] = 10"},
        // A sort followed by a drop is read as written ("sdh1" sorts, then drops the highest);
        // "!=" after a die explodes, after a
        // group it counts the members that are not the number.
        {"4d20sdh1", {5, 18, 2, 11}, "4d20sdh1: [2, 5, 11, ~18~] = 18"},
        {"4d6sd1", {3, 1, 4, 2}, "4d6sd1: [~1~, 2, 3, 4] = 9"},
        {"4d6sdl1", {3, 1, 4, 2}, "4d6sdl1: [~1~, 2, 3, 4] = 9"},
        {"4d6sdkh3", {3, 1, 4, 2}, "4d6sdkh3: [4, 3, 2, ~1~] = 9"},
        {"4d6sakh3", {3, 1, 4, 2}, "4d6sakh3: [~1~, 2, 3, 4] = 9"},
        {"4d6!=3", {3, 5, 1, 2, 4}, "4d6!=3: [3!, 5, 1, 2, 4] = 15"},
        {"{1d6, 1d6}!=3", {3, 4}, "{1d6, 1d6}!=3: {[3], [4]*} = 1"},
        {"{1d6, 1d6}<>3", {3, 4}, "{1d6, 1d6}<>3: {[3], [4]*} = 1"},
        // Several keep/drop rules: each sets aside what it would alone.
        {"4d10dh1dl2", {4, 3, 9, 9}, "4d10dh1dl2: [~4~, ~3~, 9, ~9~] = 9"},
        {"3d10k1d1", {6, 2, 9}, "3d10k1d1: [~6~, ~2~, 9] = 9"},
        {"3d10d1k1", {8, 8, 7}, "3d10d1k1: [8, ~8~, ~7~] = 8"},
        {"4d6kh3kh2", {3, 1, 4, 2}, "4d6kh3kh2: [3, ~1~, 4, ~2~] = 7"},
        {"{1d6, 1d6, 1d6}kh2dl1", {2, 5, 3}, "{1d6, 1d6, 1d6}kh2dl1: {~[2]~, [5], [3]} = 8"},
        {"4dF.1", {1, 6, 3, 4}, "4dF.1: [-1, +1, 0, 0] = 0"},
        {"2D6+DF", {3, 4, 3}, "2D6+DF: [3, 4] + [+1] = 8"},
        // Exact arithmetic: a total that is not whole shows 4 places at most.
        {"1d6/2", {5}, "1d6/2: [5] / 2 = 2,5"},
        {"(1/3)*3", {1}, "(1/3)*3: (1 / 3) * 3 = 1"},
        {"2/3", {1}, "2/3: 2 / 3 = 0,6667"},
        {"-1/3", {1}, "-1/3: -1 / 3 = -0,3333"},
        {"1.5*1d4", {3}, "1.5*1d4: 1.5 * [3] = 4,5"},
        {"-7%3", {1}, "-7%3: -7 % 3 = -1"},
        {"7/2%1", {1}, "7/2%1: 7 / 2 % 1 = 0,5"},
        {"2^3^2", {1}, "2^3^2: 2^3^2 = 512"},
        {"-2**2", {1}, "-2**2: -2**2 = -4"},
        {"floor(7/2)+ceil(7/2)", {1}, "floor(7/2)+ceil(7/2): floor(7 / 2) + ceil(7 / 2) = 7"},
        {"round(5/2)*round(-5/2)", {1},
         "round(5/2)*round(-5/2): round(5 / 2) * round(-5 / 2) = -9"},
        {"abs(1d4-5)+sign(-1d4)", {2, 1}, "abs(1d4-5)+sign(-1d4): abs([2] - 5) + sign(-[1]) = 2"},
        {"min(1d6, 3, 1d4)+max(1d6, 1d6)", {5, 2, 1, 6},
         "min(1d6, 3, 1d4)+max(1d6, 1d6): min([5], 3, [2]) + max([1], [6]) = 8"},
        {"pow(2, 1d4)", {3}, "pow(2, 1d4): pow(2, [3]) = 8"},
        // Groups: members by value (ties keep the earlier), counts, and a single member's
        // dice pooled.
        {"{4d6kh3, 2d8+1}", {6, 5, 3, 2, 4, 3}, "{4d6kh3, 2d8+1}: {[6, 5, 3, ~2~], [4, 3] + 1} = 22"},
        {"{1d20+5, 1d20+5}kh1", {12, 15}, "{1d20+5, 1d20+5}kh1: {~[12] + 5~, [15] + 5} = 20"},
        {"{1d6, 1d6}kh1", {4, 4}, "{1d6, 1d6}kh1: {[4], ~[4]~} = 4"},
        {"{3d6, 3d6, 3d6}>=12", {6, 5, 4, 1, 2, 3, 6, 6, 1},
         "{3d6, 3d6, 3d6}>=12: {[6, 5, 4]*, [1, 2, 3], [6, 6, 1]*} = 2"},
        {"{2d6, 2d6}>=7f<4", {1, 2, 6, 6}, "{2d6, 2d6}>=7f<4: {[1, 2]f, [6, 6]*} = 0"},
        {"{4d6+3d8}k4", {1, 6, 2, 5, 8, 3, 7},
         "{4d6+3d8}k4: {[~1~, 6, ~2~, 5] + [8, ~3~, 7]} = 26"},
        {"{5d10+5d10}>=8", {8, 1, 1, 1, 1, 9, 1, 1, 1, 10},
         "{5d10+5d10}>=8: {[8*, 1, 1, 1, 1] + [9*, 1, 1, 1, 10*]} = 3"},
        {"{1d20+5}kh1", {7}, "{1d20+5}kh1: {[7] + 5} = 12"},
        // Only dice joined by "+", none keeping or counting on its own, make a pool.
        {"{2d6kh1+1d6}k1", {2, 5, 6}, "{2d6kh1+1d6}k1: {[~2~, 5] + [6]} = 11"},
        {"{2d6+1}kh2", {2, 5}, "{2d6+1}kh2: {[2, 5] + 1} = 8"},
        {"{2d6+1d6}>=5", {2, 5, 6}, "{2d6+1d6}>=5: {[2, 5*] + [6*]} = 2"},
        // Labels: inline ones stay in the worked-out line, the last one follows the total.
        {"2d6[fogo]+1d4[gelo]", {3, 4, 2}, "2d6[fogo]+1d4[gelo]: [3, 4][fogo] + [2][gelo] = 9"},
        {"3d6 # bola de fogo", {1, 2, 3}, "3d6: [1, 2, 3] = 6 # bola de fogo"},
        {"5[bônus]+{1d6}[grupo] # ok", {2}, "5[bônus]+{1d6}[grupo]: 5[bônus] + {[2]}[grupo] = 7 # ok"},
        // Right at the edges of the 64-bit range.
        {"(1d2-1)*9223372036854775807",
         {2},
         "(1d2-1)*9223372036854775807: ([2] - 1) * 9223372036854775807 = 9223372036854775807"},
        {"-(1d2)*4611686018427387904",
         {2},
         "-(1d2)*4611686018427387904: -([2]) * 4611686018427387904 = -9223372036854775808"},
    };
    for (const Row &row : rows) {
        const DiceExpression expression = parsed(QString::fromUtf8(row.expression));
        FixedDieSource source(row.faces);
        DiceRoller roller(expression, source);
        ASSERT_TRUE(roller.roll()) << row.expression;
        EXPECT_EQ(detailsLine(expression, roller.outcome()), QString::fromUtf8(row.line) + "\n");
        EXPECT_GE(roller.outcome().total, expression.minimum()) << row.expression;
        EXPECT_LE(roller.outcome().total, expression.maximum()) << row.expression;
    }
}

// Each die is asked of the source with its own face count: a d% is a d100, a Fate die a
// three-faced die; the terms go left to right.
TEST(DiceRoller, AsksTheSourceForEachDieInOrder)
{
    const DiceExpression expression = parsed("d%+dF*2d8-d1");
    FixedDieSource source({1});
    DiceRoller roller(expression, source);
    ASSERT_TRUE(roller.roll());
    EXPECT_EQ(source.asked, (std::vector<std::uint32_t>{100, 3, 8, 8, 1}));
}

// A die that keeps showing its maximum rolls at most 100 extra dice; the last one does not
// explode. A second roll starts afresh.
TEST(DiceRoller, ExplosionsStopAfterAHundredExtraDice)
{
    const DiceExpression expression = parsed("2d6!");
    FixedDieSource sixes({6});
    DiceRoller roller(expression, sixes);
    for (int roll = 0; roll < 2; ++roll) {
        ASSERT_TRUE(roller.roll());
        const auto &dice = roller.outcome().terms.at(0).dice;
        ASSERT_EQ(dice.size(), 202u);
        for (std::size_t i = 0; i < dice.size(); ++i) {
            EXPECT_EQ(dice[i].has(DieExploded), i % 101 != 100) << i;
            EXPECT_EQ(dice[i].has(DieExtra), i % 101 != 0) << i;
        }
        EXPECT_EQ(roller.outcome().total, Fraction(202 * 6));
    }
    // A reroll, too, stops after 100 tries and keeps what the last one shows.
    const DiceExpression ones = parsed("d6r1");
    FixedDieSource alwaysOne({1});
    DiceRoller rerolling(ones, alwaysOne);
    ASSERT_TRUE(rerolling.roll());
    const auto &rerolled = rerolling.outcome().terms.at(0).dice;
    ASSERT_EQ(rerolled.size(), 101u);
    EXPECT_EQ(std::count_if(rerolled.begin(), rerolled.end(),
                            [](const DieResult &die) { return die.has(DieRerolled); }),
              100);
    EXPECT_EQ(rerolling.outcome().total, Fraction(1));
    EXPECT_EQ(rerolling.draws(), 101);
    // The largest explosive roll the notation takes reaches the edge of the range exactly.
    const DiceExpression largest = parsed("10000d1000000!*1000000");
    FixedDieSource maxima({1'000'000});
    DiceRoller big(largest, maxima);
    ASSERT_TRUE(big.roll());
    EXPECT_EQ(big.outcome().total, Fraction(1'010'000'000'000 * qint64(1'000'000)));
}

// The seeded dice are the same on every machine (integer arithmetic only), stay within
// their faces and show every face about equally often.
TEST(SplitMixDieSource, GivesTheSameFairDiceForTheSameSeed)
{
    SplitMixDieSource first(42);
    std::vector<std::uint32_t> values;
    for (int i = 0; i < 12; ++i)
        values.push_back(first.roll(6));
    EXPECT_EQ(values, (std::vector<std::uint32_t>{5, 1, 2, 3, 1, 6, 2, 5, 3, 4, 2, 3}));

    SplitMixDieSource source(7);
    for (const std::uint32_t faces : {1u, 2u, 3u, 1'000'000u}) {
        for (int i = 0; i < 1000; ++i) {
            const std::uint32_t face = source.roll(faces);
            ASSERT_TRUE(face >= 1 && face <= faces) << face << " on a d" << faces;
        }
    }
    // 60000 d6: each face 10000 times give or take; chi-square with 5 degrees of freedom
    // stays under 20.5 with probability 99.9 %, and the seed is fixed.
    std::array<int, 6> counts{};
    for (int i = 0; i < 60'000; ++i)
        ++counts[source.roll(6) - 1];
    double chiSquare = 0;
    for (const int count : counts)
        chiSquare += double(count - 10'000) * (count - 10'000) / 10'000.0;
    EXPECT_LT(chiSquare, 20.5);
}

} // namespace
