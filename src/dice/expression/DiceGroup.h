#pragma once

#include "dice/expression/DiceTerm.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// A group of expressions in braces: "{4d6kh3, 2d8+1}", "{1d20+5, 1d20+5}kh1",
// "{3d6, 3d6, 3d6}>=12", "{4d6+3d8}k4".
//
// Each member is rolled in order. Without a modifier the group's value is the sum of the
// members. Keep/drop chooses members by value (among equal values the earlier member is
// kept) and the value is the sum of those kept; a target counts the kept members that meet
// it, less those that meet the failure condition.
//
// A group of one member that is only dice terms joined by "+" (each without keep/drop or
// target of its own) pools their dice instead: keep/drop and the target apply to the dice
// of all those terms together, as if they were one term, and the value is the sum (or
// count) of the kept dice. Ties go to the earlier term, then the earlier die.
struct DiceGroup
{
    QString text;            // as written, from "{" to the end of its modifiers
    qint32 memberCount = 0;  // members, each pushed by the steps before the group's step
    std::vector<qint32> poolTerms; // the terms whose dice are pooled; empty for members
    KeepRule keep;
    TargetRule target;
    QString label;

    bool pools() const { return !poolTerms.empty(); }
};
