#include "common/ScopedRandomSource.h"
#include "common/SequenceRandomSource.h"
#include "common/SplitMixRandomSource.h"
#include "dice/DiceRoll.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <stdexcept>

namespace {

constexpr std::array<double, 6> DieKinds = {4, 6, 8, 10, 12, 20};

qint32 sum(const QList<qint16> &values)
{
    return std::accumulate(values.begin(), values.end(), qint32{0});
}

// The extreme draws give the extreme faces, for every kind of die and every quantity the
// window offers: a draw of 0 shows 1, the largest float below 1 shows exactly `faces`.
TEST(RollDice, ExtremeDrawsGiveTheExtremeFaces)
{
    const float justBelowOne = std::nextafter(1.0f, 0.0f);
    for (const double faces : DieKinds) {
        for (const qint16 quantity : {qint16(1), qint16(2), qint16(50)}) {
            SequenceRandomSource zeros({0.0f});
            const DiceRoll low = RollDice(quantity, faces, zeros);
            ASSERT_EQ(low.values, QList<qint16>(quantity, 1)) << faces;
            EXPECT_EQ(low.total, quantity);
            EXPECT_EQ(zeros.draws(), quantity); // one draw per die

            SequenceRandomSource highs({justBelowOne});
            const DiceRoll high = RollDice(quantity, faces, highs);
            ASSERT_EQ(high.values, QList<qint16>(quantity, qint16(faces))) << faces;
            EXPECT_EQ(high.total, quantity * qint32(faces));
        }
    }
}

// Each draw maps to its own die, in the order drawn, with floor(r * faces) + 1.
TEST(RollDice, ValuesFollowTheDrawsInOrder)
{
    SequenceRandomSource source({0.5f, 0.0f, 0.99f, 0.25f, 0.7499f});
    const DiceRoll roll = RollDice(5, 4.0, source);
    EXPECT_EQ(roll.values, (QList<qint16>{3, 1, 4, 2, 3}));
    EXPECT_EQ(roll.total, 13);

    SequenceRandomSource tenths({0.1f, 0.2f, 0.3f});
    EXPECT_EQ(RollDice(3, 10.0, tenths).values, (QList<qint16>{2, 3, 4}));
}

TEST(RollDice, QuantityBelowOneRollsNothing)
{
    for (const qint16 quantity : {qint16(0), qint16(-1), std::numeric_limits<qint16>::min()}) {
        SequenceRandomSource source({0.5f});
        const DiceRoll roll = RollDice(quantity, 6.0, source);
        EXPECT_TRUE(roll.values.isEmpty()) << quantity;
        EXPECT_EQ(roll.total, 0);
        EXPECT_EQ(source.draws(), 0);
    }
}

// A face count that would not fit a die value, or is no number at all, is refused rather
// than turned into garbage values.
TEST(RollDice, RefusesFaceCountsOutOfRange)
{
    SequenceRandomSource source({0.5f});
    for (const double faces : {0.0, 0.5, -6.0, 32768.0, 1e9, std::nan(""),
                               std::numeric_limits<double>::infinity()})
        EXPECT_THROW(RollDice(1, faces, source), std::invalid_argument) << faces;
    EXPECT_EQ(source.draws(), 0);

    // The largest die and the largest quantity together still fit both types.
    SequenceRandomSource top({std::nextafter(1.0f, 0.0f)});
    const DiceRoll big = RollDice(std::numeric_limits<qint16>::max(), MaxDieFaces, top);
    EXPECT_EQ(big.values.size(), 32767);
    EXPECT_EQ(big.values.first(), 32767);
    EXPECT_EQ(big.total, 32767 * 32767);
}

// A source that breaks its promise (1.0, negative, NaN) still cannot push a value outside
// 1..faces.
TEST(RollDice, FaultySourceStaysInRange)
{
    SequenceRandomSource source({1.0f, 2.0f, -0.5f, std::nanf("")});
    const DiceRoll roll = RollDice(4, 20.0, source);
    EXPECT_EQ(roll.values, (QList<qint16>{20, 20, 1, 1}));
}

TEST(RollDice, DefaultsToTheProcessSource)
{
    SequenceRandomSource fixed({0.0f, 0.5f});
    ScopedRandomSource scope(fixed);
    EXPECT_EQ(RollDice(2, 6.0).values, (QList<qint16>{1, 4}));
}

// Over many rolls from a fixed generator state (deterministic, so it cannot flake) every
// face turns up, about equally often, and nothing falls outside 1..faces.
TEST(RollDice, FacesAreEvenlySpread)
{
    SplitMixRandomSource source;
    for (const double faces : {6.0, 20.0}) {
        const int perFace = 6000;
        const int dice = perFace * int(faces);
        std::map<int, int> counts;
        qint32 total = 0;
        for (int done = 0; done < dice; done += 50) {
            const DiceRoll roll = RollDice(50, faces, source);
            ASSERT_EQ(roll.total, sum(roll.values));
            total += roll.total;
            for (const qint16 v : roll.values)
                ++counts[v];
        }
        ASSERT_EQ(counts.size(), std::size_t(faces));
        EXPECT_EQ(counts.begin()->first, 1);
        EXPECT_EQ(counts.rbegin()->first, int(faces));
        for (const auto &[face, count] : counts)
            EXPECT_NEAR(count, perFace, perFace * 0.05) << "d" << faces << " face " << face;
        EXPECT_NEAR(double(total) / dice, (faces + 1) / 2, 0.05);
    }
}

TEST(FormatPartialResults, JoinsWithCommaAndBlank)
{
    struct Case
    {
        QList<qint16> values;
        QString text;
    };
    const Case cases[] = {
        {{}, QString()},
        {{7}, QStringLiteral("7")},
        {{20}, QStringLiteral("20")},
        {{3, 5, 2}, QStringLiteral("3, 5, 2")},
        {{10, 1, 12, 1}, QStringLiteral("10, 1, 12, 1")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatPartialResults(c.values), c.text);

    const QString fifty = FormatPartialResults(QList<qint16>(50, 20));
    EXPECT_EQ(fifty.count(QStringLiteral(", ")), 49);
    EXPECT_FALSE(fifty.endsWith(u' '));
    EXPECT_FALSE(fifty.contains(u'\n'));
}

} // namespace
