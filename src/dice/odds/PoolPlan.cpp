#include "dice/odds/PoolPlan.h"

#include <algorithm>
#include <cmath>

std::pair<qint64, qint64> PoolPlan::setAside(qint64 size) const
{
    if (fixedSize)
        return {std::min(low, size), std::min(high, size - std::min(low, size))};
    const qint64 lowest = rule.droppedLowOf(size);
    return {lowest, std::min(rule.droppedHighOf(size), size - lowest)};
}

double PoolPlan::multisets(double n, double k)
{
    return std::exp(std::lgamma(n + k + 1) - std::lgamma(n + 1) - std::lgamma(k + 1));
}

PoolPlan PoolPlan::choose(const KeepRule &keep, qint64 size, bool fixedSize, bool wholeScores,
                          double values, double totalSpan)
{
    PoolPlan plan;
    plan.rule = keep;
    plan.fixedSize = fixedSize;
    if (!keep.isSet()) {
        plan.total = true;
        return plan;
    }
    if (fixedSize) {
        const qint64 low = keep.droppedLowOf(size);
        const qint64 high = keep.droppedHighOf(size);
        const qint64 kept = size - low - high;
        // Keep the kept ones and those set aside beyond them at the end that sets fewer
        // aside; or follow the total and the ones set aside at both ends.
        const bool fromTop = high <= low;
        const qint64 side = kept + (fromTop ? high : low);
        const bool useKeep =
            !wholeScores
            || multisets(values, double(side)) <= multisets(values, double(low + high)) * totalSpan;
        if (useKeep) {
            plan.capacity = side;
            plan.evict = fromTop ? 0 : side;
            plan.low = 0;
            plan.high = 0;
            (fromTop ? plan.high : plan.low) = fromTop ? high : low;
        } else {
            plan.capacity = low + high;
            plan.evict = low;
            plan.total = true;
            plan.low = low;
            plan.high = high;
        }
        return plan;
    }
    // The pool's size varies: a rule that keeps K from one end follows those K (and the
    // ones the other end's drops reach among them); drops alone follow the total and the
    // ones they set aside; keeping from both ends follows every die.
    if (keep.keepHighest && keep.keepLowest) {
        plan.capacity = size;
        plan.evict = size;
    } else if (keep.keepHighest) {
        plan.capacity = *keep.keepHighest + keep.dropLowest;
        plan.evict = 0;
    } else if (keep.keepLowest) {
        plan.capacity = *keep.keepLowest + keep.dropHighest;
        plan.evict = plan.capacity;
    } else {
        plan.capacity = keep.dropLowest + keep.dropHighest;
        plan.evict = keep.dropLowest;
        plan.total = true;
    }
    return plan;
}
