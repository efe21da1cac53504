#include "common/LeadingNumber.h"

#include <QString>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct ReadCase
{
    const char16_t *text;
    double value;
};

class LeadingNumberRead : public testing::TestWithParam<ReadCase>
{
};

TEST_P(LeadingNumberRead, ReadsTheNumberTheTextBeginsWith)
{
    const ReadCase c = GetParam();
    EXPECT_EQ(LeadingNumber(QStringView(c.text)), c.value) << QString::fromUtf16(c.text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumberRead,
    testing::Values(ReadCase{u"", 0}, ReadCase{u"abc", 0}, ReadCase{u".", 0}, ReadCase{u"-", 0},
                    ReadCase{u"+", 0}, ReadCase{u"e5", 0}, ReadCase{u"12", 12},
                    ReadCase{u" 12abc", 12}, ReadCase{u"\t 7", 7}, ReadCase{u"-3", -3},
                    ReadCase{u"+5", 5}, ReadCase{u"2.5", 2.5}, ReadCase{u".5", 0.5},
                    ReadCase{u"7.", 7}, ReadCase{u"1e7", 1e7}, ReadCase{u"9e+99", 9e99},
                    ReadCase{u"-9e99", -9e99}, ReadCase{u"1E3x", 1000}, ReadCase{u"1e", 1},
                    ReadCase{u"1e+", 1}, ReadCase{u"2.5e-1", 0.25}, ReadCase{u"007", 7},
                    ReadCase{u"1,5", 1}, ReadCase{u"1 2", 1}, ReadCase{u"- 3", 0},
                    ReadCase{u"\u0661\u0662", 0}, ReadCase{u"1e-99999", 0},
                    ReadCase{u"0.000e99999", 0}));

TEST(LeadingNumber, NumbersBeyondDoubleBecomeInfinite)
{
    EXPECT_EQ(LeadingNumber(u"1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(LeadingNumber(u"-1e99999999999999999999"), -std::numeric_limits<double>::infinity());
    // Many digits with a small negative exponent are still huge.
    EXPECT_EQ(LeadingNumber(QString(400, u'9') + QStringLiteral("e-1")), std::numeric_limits<double>::infinity());
    EXPECT_EQ(LeadingNumber(u"0.0001e-400"), 0.0);
}

TEST(RoundToWhole, TiesGoToTheEvenNeighbour)
{
    const struct
    {
        double in;
        int out;
    } cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},  {3.5, 4},   {-0.5, 0}, {-1.5, -2},
                 {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-7.6, -8}, {99999, 99999}};
    for (const auto &c : cases)
        EXPECT_EQ(RoundToWhole<qint32>(c.in), c.out) << c.in;
}

TEST(RoundToWhole, ReportsValuesOutsideTheTargetType)
{
    EXPECT_EQ(RoundToWhole<qint16>(32767.0), 32767);
    EXPECT_EQ(RoundToWhole<qint16>(32767.5), std::nullopt); // rounds to 32768
    EXPECT_EQ(RoundToWhole<qint16>(-32768.5), -32768);      // tie to even stays inside
    EXPECT_EQ(RoundToWhole<qint16>(-32769.0), std::nullopt);
    EXPECT_EQ(RoundToWhole<qint16>(1e4), 10000);
    EXPECT_EQ(RoundToWhole<qint16>(1e5), std::nullopt);
    EXPECT_EQ(RoundToWhole<qint32>(2147483647.4), 2147483647);
    EXPECT_EQ(RoundToWhole<qint32>(2147483647.5), std::nullopt);
    EXPECT_EQ(RoundToWhole<qint32>(-2147483648.0), std::numeric_limits<qint32>::min());
    EXPECT_EQ(RoundToWhole<qint32>(9e99), std::nullopt);
    EXPECT_EQ(RoundToWhole<qint32>(-9e99), std::nullopt);
    EXPECT_EQ(RoundToWhole<qint32>(std::numeric_limits<double>::infinity()), std::nullopt);
    EXPECT_EQ(RoundToWhole<qint32>(std::nan("")), std::nullopt);
}

} // namespace
