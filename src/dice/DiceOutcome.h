#pragma once

#include <QtGlobal>

#include <vector>

// One die of a rolled dice term.
struct DieResult
{
    qint32 value = 0;      // the face shown: 1 to M, or -1, 0, +1 for a Fate die
    bool kept = true;      // false when keep/drop set it aside: it does not count
    bool exploded = false; // it showed its maximum and rolled the next die of the term
    bool extra = false;    // it was rolled by an explosion, not one of the term's N dice
};

// The dice of one term of the expression, in the order rolled (each explosion's extra die
// right after the die that rolled it), and the sum of the kept ones.
struct DiceTermResult
{
    std::vector<DieResult> dice;
    qint64 sum = 0;
};

// One roll of a whole expression: a result per dice term, in the order the terms appear in
// the expression, and the expression's value. Reused from roll to roll, so that rolling
// many times allocates only while the dice lists grow.
struct DiceOutcome
{
    std::vector<DiceTermResult> terms;
    qint64 total = 0;
};
