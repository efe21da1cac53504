#include "dice/expression/DieCondition.h"

#include "DiceTestSupport.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using namespace dicetest;

// Whether a condition holds for every face is found by trying a handful of faces, not all of
// them: the same answer as trying them all, for every pair of compare points near the range.
TEST(DieCondition, MeetsEveryValueAsTryingThemAllWould)
{
    using Relation = ComparePoint::Relation;
    const Relation relations[] = {Relation::Equal, Relation::NotEqual, Relation::Less,
                                  Relation::Greater, Relation::LessOrEqual,
                                  Relation::GreaterOrEqual};
    std::vector<ComparePoint> points;
    for (const Relation relation : relations) {
        for (qint64 value = -1; value <= 7; ++value)
            points.push_back({relation, value});
    }
    for (qint64 low = 0; low <= 6; ++low) {
        for (qint64 high = low; high <= 6; ++high) {
            for (std::size_t a = 0; a < points.size(); ++a) {
                for (std::size_t b = a; b < points.size(); ++b) {
                    const DieCondition condition{{points[a], points[b]}};
                    bool every = true;
                    for (qint64 x = low; x <= high; ++x)
                        every = every && condition.meets(x);
                    ASSERT_EQ(condition.meetsEveryValue(low, high), every)
                        << low << ".." << high << ": " << int(points[a].relation) << " "
                        << points[a].value << ", " << int(points[b].relation) << " "
                        << points[b].value;
                }
            }
        }
    }
}

} // namespace
