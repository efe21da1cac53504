#pragma once

#include "dice/expression/DiceTerm.h"
#include "dice/number/ValueRange.h"

#include <QtGlobal>

// The dice of a term, or of a group's pool, as far as the bounds of its value go: what the
// parser checks before anything is rolled.
struct PoolBounds
{
    qint64 fewestDice = 0; // in play, before keep/drop
    qint64 mostDice = 0;
    qint64 dieLow = 0; // what any one die in play can count
    qint64 dieHigh = 0;
    qint64 draws = 0; // the most draws from the die source

    // The bounds of a term's dice, from its faces and modifiers (DiceTerm says how they act).
    static PoolBounds ofTerm(const DiceTerm &term);

    // Adds the dice of another term to the pool.
    void add(const PoolBounds &other);

    // The value of the pool under keep/drop and a target.
    ValueRange range(const KeepRule &keep, const TargetRule &target) const;
};
