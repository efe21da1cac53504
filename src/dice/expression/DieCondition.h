#pragma once

#include "dice/expression/ComparePoint.h"

#include <vector>

// One or more compare points, met when any of them is: "r1r2" rerolls ones and twos,
// "cs19cs20" marks 19 and 20. Empty means never met.
struct DieCondition
{
    std::vector<ComparePoint> points;

    bool isSet() const { return !points.empty(); }

    bool meets(qint64 x) const
    {
        for (const ComparePoint &point : points) {
            if (point.meets(x))
                return true;
        }
        return false;
    }

    bool meets(Fraction x) const
    {
        for (const ComparePoint &point : points) {
            if (point.meets(x))
                return true;
        }
        return false;
    }

    // Whether every whole number from `low` to `high` meets the condition. Each point's
    // values are an interval or all but one number, so a number that meets none, if any,
    // lies at an end of the range or next to one of the points' numbers: only those are
    // tried, whatever the range's size.
    bool meetsEveryValue(qint64 low, qint64 high) const
    {
        if (points.empty())
            return false;
        const auto fails = [&](qint64 x) { return x >= low && x <= high && !meets(x); };
        if (fails(low) || fails(high))
            return false;
        for (const ComparePoint &point : points) {
            for (const qint64 near : {point.value - 1, point.value, point.value + 1}) {
                if (fails(near))
                    return false;
            }
        }
        return true;
    }

    friend bool operator==(const DieCondition &, const DieCondition &) = default;
};
