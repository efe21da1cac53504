#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

class RandomSource;

// The outcome of one roll: every die's value in the order rolled, and their sum.
struct DiceRoll
{
    QList<qint16> values;
    qint32 total = 0;
};

// The largest face count a die may have: every value then fits in 16 bits and the sum of
// even 32767 such dice fits in 32.
inline constexpr double MaxDieFaces = 32767.0;

// Rolls `quantity` dice of `faces` faces, one draw r of the source per die, in order: each die
// shows floor(r * faces) + 1, so every value from 1 to faces is equally likely and a draw just
// below 1 gives exactly `faces`. A quantity below 1 rolls nothing (empty list, total 0).
// A face count with a fraction rolls up to the next whole number (6.5 gives 1 to 7).
// Nothing is re-rolled, sorted, dropped or capped, and the source is not reseeded: that is
// the caller's choice.
// Throws std::invalid_argument when faces is not a number from 1 to MaxDieFaces.
DiceRoll RollDice(qint16 quantity, double faces, RandomSource &source);

// The same, drawing from the process-wide source.
DiceRoll RollDice(qint16 quantity, double faces);

// The values in decimal, joined by ", " with nothing after the last: {3, 5, 2} gives
// "3, 5, 2"; an empty list gives an empty text.
QString FormatPartialResults(const QList<qint16> &values);
