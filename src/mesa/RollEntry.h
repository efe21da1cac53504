#pragma once

#include "mesa/RollLuck.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

// One die of a roll as the history shows it: what it counts, what happened to it (DieMark
// bits) and which dice term of the expression it belongs to.
struct ShownDie
{
    qint32 value = 0;
    quint16 marks = 0;
    quint16 term = 0;
};

// One recorded roll, as compact as the history of a long session needs (100,000 of them
// stay within a few tens of megabytes): the same expression text is shared between rolls.
struct RollEntry
{
    qint64 seq = 0;       // its number in the session record
    qint64 time = 0;      // milliseconds since the epoch
    QString expression;   // as typed, without its "# label"
    QString label;        // the "# label", or empty
    QString total;        // "14", "3,5"
    QByteArray details;   // "4d6kh3: [6, 5, 3, ~2~] = 14", what Ctrl+C copies (UTF-8)
    std::vector<ShownDie> dice;
    RollLuck luck;        // filled in once the exact odds of its expression are known
};
