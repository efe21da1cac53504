#include "dice/number/Fraction.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr qint64 Largest = std::numeric_limits<qint64>::max();
constexpr qint64 Smallest = std::numeric_limits<qint64>::min();

Fraction of(qint64 numerator, qint64 denominator)
{
    return *Fraction::of(numerator, denominator);
}

QByteArray decimal(Fraction value)
{
    QByteArray text;
    value.appendDecimal(text, 4, ',');
    return text;
}

// Results that fit come back exact and in lowest terms; the ones whose reduced parts leave
// 64 bits come back as nothing, even when the unreduced parts would have wrapped.
TEST(Fraction, ArithmeticIsExactAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(of(6, -4), of(-3, 2));
    EXPECT_EQ(of(1, 3).times(3), Fraction(1));
    EXPECT_EQ(of(1, 6).plus(of(1, 3)), of(1, 2));
    EXPECT_EQ(Fraction(Largest).minus(Largest), Fraction(0));
    EXPECT_EQ(of(Largest, 2).plus(of(Largest, 2)), Fraction(Largest));
    EXPECT_EQ(Fraction(Smallest).negated(), std::nullopt);
    EXPECT_EQ(Fraction(Largest).plus(1), std::nullopt);
    EXPECT_EQ(of(1, Largest).times(of(1, 2)), std::nullopt);
    EXPECT_EQ(Fraction(1).dividedBy(0), std::nullopt);
    EXPECT_EQ(Fraction(2).power(62), Fraction(qint64(1) << 62));
    EXPECT_EQ(Fraction(2).power(63), std::nullopt);
    EXPECT_EQ(Fraction(-2).power(63), Fraction(Smallest));
    EXPECT_EQ(Fraction(-1).power(Largest), Fraction(-1));
    EXPECT_EQ(Fraction(0).power(0), Fraction(1));
    // Remainders keep the dividend's sign, fractions included.
    EXPECT_EQ(Fraction(7).remainder(-3), Fraction(1));
    EXPECT_EQ(Fraction(-7).remainder(3), Fraction(-1));
    EXPECT_EQ(of(-7, 2).remainder(of(3, 2)), of(-1, 2));
    EXPECT_EQ(Fraction(Smallest).remainder(-1), Fraction(0));
}

// Whole parts and the decimal text: halves away from zero, at most four places, trailing
// zeros dropped; the nearest double.
TEST(Fraction, RoundsAndPrintsExactly)
{
    struct Row
    {
        Fraction value;
        qint64 floor, ceil, round;
        const char *decimal;
    };
    const Row rows[] = {
        {of(5, 2), 2, 3, 3, "2,5"},
        {of(-5, 2), -3, -2, -3, "-2,5"},
        {of(2, 3), 0, 1, 1, "0,6667"},
        {of(-1, 3), -1, 0, 0, "-0,3333"},
        {of(1, 20000), 0, 1, 0, "0,0001"},
        {of(1, 30000), 0, 1, 0, "0"},
        {of(-1, 30000), -1, 0, 0, "0"},
        {of(99999, 100000), 0, 1, 1, "1"},
        {Fraction(Smallest), Smallest, Smallest, Smallest, "-9223372036854775808"},
        {of(Largest, 2), Largest / 2, Largest / 2 + 1, Largest / 2 + 1, "4611686018427387903,5"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(row.value.floor(), row.floor) << decimal(row.value).toStdString();
        EXPECT_EQ(row.value.ceil(), row.ceil) << decimal(row.value).toStdString();
        EXPECT_EQ(row.value.round(), row.round) << decimal(row.value).toStdString();
        EXPECT_EQ(decimal(row.value), QByteArray(row.decimal));
    }
    EXPECT_EQ(of(11, 6).toDouble(), 11.0 / 6.0);
    EXPECT_EQ(of(1, 3).toDouble(), 1.0 / 3.0);
}

} // namespace
