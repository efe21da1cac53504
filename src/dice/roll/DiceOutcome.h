#pragma once

#include "dice/number/Fraction.h"

#include <QtGlobal>

#include <vector>

// What happened to a die or a group member, as bits.
enum DieMark : quint16 {
    DieDropped = 1 << 0,         // keep/drop set it aside: it does not count
    DieRerolled = 1 << 1,        // rerolled away by r/ro; the die after it replaces it
    DieUniqueRerolled = 1 << 2,  // rerolled away by u/uo for repeating a face
    DieExploded = 1 << 3,        // "!": it rolled the next die of the term
    DieExtra = 1 << 4,           // "!": it was rolled by an explosion
    DieCompounded = 1 << 5,      // "!!": extra rolls were added into it
    DiePenetrated = 1 << 6,      // "!p", "!!p": counted one less per extra roll
    DieRaised = 1 << 7,          // minN raised its face
    DieLowered = 1 << 8,         // maxN lowered its face
    DieSuccess = 1 << 9,         // it meets the target (and counts)
    DieFailure = 1 << 10,        // it meets the failure condition (and counts against)
    DieCriticalSuccess = 1 << 11, // cs
    DieCriticalFailure = 1 << 12, // cf
};

// One die of a rolled dice term.
struct DieResult
{
    qint32 value = 0; // what it counts: its face, a compounded total, one less when penetrated
    quint16 marks = 0;

    bool has(DieMark mark) const { return (marks & mark) != 0; }
    // Rolled and not rerolled away: keep/drop chooses among these.
    bool inPlay() const { return (marks & (DieRerolled | DieUniqueRerolled)) == 0; }
    // In play and not dropped: it makes up the term's value.
    bool kept() const { return (marks & (DieRerolled | DieUniqueRerolled | DieDropped)) == 0; }
};

// The dice of one term of the expression, in the order rolled (rerolled-away dice before the
// die that replaced them, each explosion's extra die right after the die that rolled it;
// sorted by value when the term sorts), and the term's value: the sum of the kept dice, or
// the count of successes less failures.
struct DiceTermResult
{
    std::vector<DieResult> dice;
    qint64 value = 0;
};

// One member of a rolled group: its value and marks (DieDropped, DieSuccess, DieFailure).
struct GroupMemberResult
{
    Fraction value;
    quint16 marks = 0;
    bool has(DieMark mark) const { return (marks & mark) != 0; }
};

struct GroupResult
{
    std::vector<GroupMemberResult> members;
    Fraction value;
};

// One roll of a whole expression: a result per dice term and per group, in the order they
// appear in the expression, and the expression's value. Reused from roll to roll, so that
// rolling many times allocates only while the lists grow.
struct DiceOutcome
{
    std::vector<DiceTermResult> terms;
    std::vector<GroupResult> groups;
    Fraction total;
};
