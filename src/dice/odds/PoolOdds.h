#pragma once

#include "dice/odds/DiceDistribution.h"
#include "dice/expression/DiceTerm.h"

#include <optional>
#include <vector>

class DieOdds;
class OddsBudget;

// Keep/drop and counts over a pool whose dice are not simply n identical ones: dice that
// explode into extra dice of their own (the pool's size varies), unique rolls (each die's
// start depends on the faces before it), dice pooled from several terms ({4d6+3d8}k4), and the
// members of a group ({1d20+5, 1d20+5}kh1).
//
// A dynamic program over the dice in the order rolled. Its state holds only what the rest
// needs:
// - keeping k: the k highest (or lowest) values so far, as a sorted multiset;
// - dropping d: the d lowest (or highest) values so far, and for each such multiset the odds
//   of the sum (or count) of all values so far; the kept ones are that less the multiset's;
// - unique: the set of the faces the term's dice started on (each die's start is drawn
//   against it, at most 100 times for u, once for uo);
// - explosions: each extra roll is one more step, at most 100 per die, over the states whose
//   last roll exploded.
// States equal in all of this are merged, and the outcomes that leave a full multiset as it
// is are placed once. Work: for every die (and every extra roll) the states times the faces,
// each state counted for its key (about 100 ns while the states fit in the caches, several
// times that past them) and for the odds it carries: 8d4!kh3, 4d6u, {4d6+3d8}k4 and
// {1d20+5, 1d20+5}kh1 take under 10 ms, 20d20!kh3 and 5d20u about 60 ms. Each step is paid
// for before it is taken, and the states held at once are bounded by OddsBudget::MaxStates.
class PoolOdds
{
public:
    // The dice of one term in the pool.
    struct TermDice
    {
        const DieOdds *die;
        qint64 count;
    };

    // The value of the pool: the sum (or, with `target`, the count) of the kept dice.
    static std::optional<DiceDistribution> dice(const std::vector<TermDice> &terms,
                                                const KeepRule &keep, const TargetRule *target,
                                                OddsBudget &budget);

    // The value of a group from its members' independent odds.
    static std::optional<DiceDistribution> members(const std::vector<DiceDistribution> &members,
                                                   const KeepRule &keep,
                                                   const TargetRule *target,
                                                   OddsBudget &budget);
};
