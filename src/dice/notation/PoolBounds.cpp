#include "dice/notation/PoolBounds.h"

#include <algorithm>

// At most 10000 * 101 dice of values below 101 * 1000000 in size: nothing here comes near
// 2^63.
PoolBounds PoolBounds::ofTerm(const DiceTerm &term)
{
    const qint64 faceLow = term.lowestClampedFace();
    const qint64 faceHigh = term.highestClampedFace();
    const qint64 less = term.penetrate ? 1 : 0;
    const qint64 extras = DiceTerm::MaxExtraRolls;
    PoolBounds bounds;
    bounds.fewestDice = term.count;
    bounds.mostDice = term.count;
    bounds.dieLow = faceLow;
    bounds.dieHigh = faceHigh;
    switch (term.explode) {
    case ExplodeKind::None:
        break;
    case ExplodeKind::Explode:
        bounds.mostDice = term.count * (1 + extras);
        bounds.dieLow = std::min(faceLow, faceLow - less);
        break;
    case ExplodeKind::Compound:
        bounds.dieLow = faceLow + extras * std::min<qint64>(0, faceLow - less);
        bounds.dieHigh = faceHigh + extras * std::max<qint64>(0, faceHigh - less);
        break;
    }
    const qint64 freshFaces =
        1 + term.uniqueLimit() + (term.explode == ExplodeKind::None ? 0 : extras);
    bounds.draws = term.count * freshFaces * (1 + term.rerollLimit());
    return bounds;
}

void PoolBounds::add(const PoolBounds &other)
{
    if (fewestDice == 0 && mostDice == 0) {
        *this = other;
        return;
    }
    fewestDice += other.fewestDice;
    mostDice += other.mostDice;
    dieLow = std::min(dieLow, other.dieLow);
    dieHigh = std::max(dieHigh, other.dieHigh);
    draws += other.draws;
}

ValueRange PoolBounds::range(const KeepRule &keep, const TargetRule &target) const
{
    // The dice kept can be fewest or most anywhere between the pool's sizes when several
    // rules stand together; the value's bounds are linear in that count.
    const auto [keptFewest, keptMost] = keep.keptRange(fewestDice, mostDice);
    if (target.isSet())
        return *ValueRange::whole(target.failure.isSet() ? -keptMost : 0, keptMost);
    return *ValueRange::whole(std::min(keptFewest * dieLow, keptMost * dieLow),
                              std::max(keptFewest * dieHigh, keptMost * dieHigh));
}
