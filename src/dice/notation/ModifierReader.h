#pragma once

#include "dice/expression/DiceGroup.h"
#include "dice/expression/DiceTerm.h"

#include <QString>
#include <QStringView>

#include <optional>

class NotationScanner;

// What follows a term's faces or a group's closing brace: compare points, keep/drop, a
// target and its failures, and the rest of a term's modifiers, read at the scanner's cursor.
// Every reader answers false (or nothing) after the scanner has recorded the error.
class ModifierReader
{
public:
    explicit ModifierReader(NotationScanner &scanner) : m_scanner(scanner) {}

    // The modifiers after a term's faces, in any order; then the checks that need them all.
    // The term began at `start`.
    bool parseTermModifiers(DiceTerm &term, qsizetype start);

    // Keep/drop and a target after a group's closing brace, in any order; where the keep/drop
    // began in `keepAt` (-1 without one).
    bool parseGroupModifiers(DiceGroup &group, qsizetype &keepAt);

    // Refuses a keep/drop that can leave none of at least `fewest` dice or members (`one` and
    // `many` name them).
    // Refuses keep/drop rules that can leave none of `fewest` to `most` dice or members.
    bool checkKeepLeavesSome(const KeepRule &rule, qint64 fewest, qint64 most, qsizetype index,
                             QStringView one, QStringView many, const QString &suggestion = {});

private:
    std::optional<ComparePoint> parseComparePoint(bool bare, bool bangEquals, bool &present);
    bool requireComparePoint(DieCondition &condition);
    bool optionalComparePoint(DieCondition &condition, bool bare, ComparePoint fallback);
    bool failRepeated(qsizetype index);
    bool parseKeep(KeepRule &rule, qsizetype &modifierIndex, bool &plainDrop);
    bool parseTarget(TargetRule &target, bool &handled, bool bangEquals = false);

    NotationScanner &m_scanner;
};
