#pragma once

#include "dice/expression/DiceExpression.h"
#include "dice/roll/DiceOutcome.h"

#include <vector>

class DieSource;

// Rolls one parsed expression again and again, drawing every die from `source` in order:
// the terms from left to right (a group's members in order), each term's dice in order,
// each rerolled die's replacement and each explosion's extra roll right after the die it
// belongs to. DiceTerm and DiceGroup say what each modifier does. The outcome is kept and
// reused between rolls, so a roll allocates nothing once the lists have grown to their size.
class DiceRoller
{
public:
    // Both must outlive the roller.
    DiceRoller(const DiceExpression &expression, DieSource &source);

    // Rolls once. Every operation is checked; false means a value left the range of a
    // Fraction, which the notation's limits rule out for an expression from
    // DiceNotation::parse (and a die source that keeps to its faces).
    bool roll();

    // The last roll's dice, group members and total.
    const DiceOutcome &outcome() const { return m_outcome; }

    // How many dice the last roll drew from the source.
    qint64 draws() const { return m_draws; }

private:
    // A fresh face of the term's die; its clamp marks go to m_lastMarks.
    qint64 freshFace(const DiceTerm &term, std::vector<DieResult> &dice);
    void rollTerm(const DiceTerm &term, DiceTermResult &result);
    bool rollGroup(const DiceGroup &group, GroupResult &result);
    // The value of the dice in m_inPlay: marks those `keep` sets aside, then counts the
    // target, or sums the kept dice.
    qint64 scoreInPlay(const KeepRule &keep, const TargetRule &target);
    static qint64 keptSum(const std::vector<DieResult *> &dice);
    qint64 countTargets(const TargetRule &target, const std::vector<DieResult *> &dice) const;

    const DiceExpression &m_expression;
    DieSource &m_source;
    DiceOutcome m_outcome;
    std::vector<Fraction> m_stack;
    std::vector<qint32> m_order;
    std::vector<qint64> m_startingFaces;
    std::vector<DieResult *> m_inPlay;
    qint64 m_draws = 0;
    quint16 m_lastMarks = 0;
};
