#pragma once

#include <QByteArray>

class DiceExpression;
struct DiceOutcome;

// The text renderings of a roll, both from the same outcome, so they always agree. Each
// appends to `out` without allocating anything else, for long runs of rolls. A total that
// is not whole shows as a decimal with at most 4 places and a decimal comma ("3,5").

// " # fogo": the expression's "# label", when it has one.
void AppendDiceLabel(QByteArray &out, const DiceExpression &expression);

// "4d6kh3 = 14\n": the expression and the total, then the "# label" when there is one
// ("3d6 = 11 # fogo").
void AppendDiceLine(QByteArray &out, const DiceExpression &expression, const DiceOutcome &outcome);

// "4d6kh3: [6, 5, 3, ~2~] = 14\n": the expression, then the expression worked out, with each
// dice term's dice in brackets in the order rolled, and the total. Each die shows what it
// counts and marks for what happened to it:
//   ~2~  dropped by keep/drop          1r  rerolled away (r, ro): the next die replaces it
//   3u   rerolled away for repeating a face (u, uo)
//   6!   exploded: the extra die comes right after it
//   9!!  compounded: the extra rolls are added into it
//   5p   penetrated: counts one less than it showed (or, compounded, one less per extra)
//   3^   raised by min             4v  lowered by max
//   8*   success                   1f  failure
//   20++ critical success          1-- critical failure
// Fate dice show -1, 0 and +1. A group shows its members in braces, a dropped member
// between tildes and a member that meets the group's target followed by "*" (or "f").
void AppendDiceDetailsLine(QByteArray &out, const DiceExpression &expression,
                           const DiceOutcome &outcome);
