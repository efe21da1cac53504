#pragma once

#include "dice/expression/DiceTerm.h"

#include <QtGlobal>

#include <utility>

// How PoolOdds follows the kept values of a pool in each state: the `capacity` values that
// matter, kept as a sorted multiset. Once full, a new value goes in and the one at index
// `evict` goes out (0: the lowest, `capacity`: the highest, between them: the multiset holds
// the `evict` lowest and the rest highest).
struct PoolPlan
{
    qint64 capacity = 0; // values kept in the multiset (0: none)
    qint64 evict = 0;    // which goes out of a full multiset
    bool total = false;  // the odds of the total of all values ride along
    // At the end the value is the total (when it rides along) less the multiset, plus the
    // multiset's values that count: all but its `low` lowest and `high` highest, or, when
    // the pool's size varies, all but the rule's lowest and highest of the multiset's size.
    bool fixedSize = true;
    qint64 low = 0;
    qint64 high = 0;
    KeepRule rule;

    // The values of the multiset (of `size`) that do not count, from each end.
    std::pair<qint64, qint64> setAside(qint64 size) const;

    // The ways to follow the kept values out of `size` (the most dice the pool can hold when
    // it varies): keep those at one end with the ones set aside beyond them, or the ones set
    // aside at both ends and the total. The cheapest, by the states each may need, for
    // `values` distinct values whose totals span `totalSpan`.
    static PoolPlan choose(const KeepRule &keep, qint64 size, bool fixedSize, bool wholeScores,
                           double values, double totalSpan);

    // C(n + k, k), in floating point: the number of multisets of at most k of n values.
    static double multisets(double n, double k);
};
