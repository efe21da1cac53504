#pragma once

#include "dice/expression/DiceTerm.h"
#include "dice/odds/WholeOdds.h"

#include <optional>

class OddsBudget;

// What one die of a kept or counted term adds to its value: the die's value itself, or, when
// the term counts a target, 1 for a success less 1 for a failure.
struct DieScore
{
    const TargetRule *target = nullptr; // null: the value

    qint64 of(qint64 value) const
    {
        if (!target)
            return value;
        return (target->success.meets(value) ? 1 : 0) - (target->failure.meets(value) ? 1 : 0);
    }
    bool counts() const { return target != nullptr; }
};

// The odds of one die of a dice term, as DiceTerm describes its roll (DiceRoller rolls
// exactly this).
//
// - fresh(): a fresh face, after clamping and rerolling. A face meeting the reroll condition
//   is rerolled at most L times (100 for r, 1 for ro), so with R the chance that a fresh
//   draw meets it, a face x that does not meet it ends up with f(x)·(1 + R + … + R^(L−1) +
//   R^L) and one that does with f(x)·R^L. Work: one step per face.
// - the chain of a die that explodes: extra rolls while the last one meets the explosion
//   condition, at most 100. With N the faces that stop it and E those that go on, the extras
//   after an exploding face add C_100, where C_0 = 0 and C_k = N + E ∗ C_(k−1) (∗ the sum of
//   independent values): 100 convolutions with E, each over the values of C so far.
//   Compounding dice are one value (the start plus its extras); plain explosions give separate
//   dice, and when nothing is kept or dropped their sum or count is the same chain.
class DieOdds
{
public:
    // Clamps and rerolls the die's faces: one step per face (of the budget).
    DieOdds(const DiceTerm &term, OddsBudget &budget);

    const DiceTerm &term() const { return m_term; }
    // Fresh faces, from lowestClampedFace() on.
    const WholeOdds &fresh() const { return m_fresh; }
    bool explodesOn(qint64 face) const { return m_explodes && m_term.explodeWhen.meets(face); }
    // What an extra die counts less than its face: 1 when penetrating.
    qint64 less() const { return m_term.penetrate ? 1 : 0; }

    // What the extras after an exploding face add, each scored by `score` (of face − less):
    // C_100 above. Nothing after refusing.
    std::optional<WholeOdds> extras(DieScore score, OddsBudget &budget) const;

    // The score of one die with everything it brings: the start face alone, a compounding die's
    // total, or a plain explosion's whole chain of dice (the start scored as it is, each extra
    // as face − less). For a compounding die a target scores the total.
    std::optional<WholeOdds> chain(DieScore score, OddsBudget &budget) const;

    // The value of one die as keep/drop sees it: the fresh face, or a compounding die's total.
    // (Not for plain explosions, whose extras are dice of their own.)
    std::optional<WholeOdds> value(OddsBudget &budget) const;

private:
    const DiceTerm &m_term;
    bool m_explodes;
    WholeOdds m_fresh;
};
