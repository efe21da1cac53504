#pragma once

#include "dice/DiceExpression.h"
#include "dice/DiceOutcome.h"

#include <vector>

class DieSource;

// Rolls one parsed expression again and again, drawing every die from `source` in order:
// the terms from left to right, each term's dice in order, each explosion's extra die right
// after the die that rolled it. The outcome is kept and reused between rolls, so a roll
// allocates nothing once the lists have grown to their size.
class DiceRoller
{
public:
    // Both must outlive the roller.
    DiceRoller(const DiceExpression &expression, DieSource &source);

    // Rolls once. Every operation is checked; false means a value left the 64-bit range,
    // which the notation's limits rule out for an expression from DiceNotation::parse (and
    // a die source that keeps to its faces).
    bool roll();

    // The last roll's dice and total.
    const DiceOutcome &outcome() const { return m_outcome; }

private:
    void rollTerm(const DiceTerm &term, DiceTermResult &result);

    const DiceExpression &m_expression;
    DieSource &m_source;
    DiceOutcome m_outcome;
    std::vector<qint64> m_stack;
    std::vector<qint32> m_order;
};
