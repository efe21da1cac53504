#include "dice/DiceRoll.h"

#include "common/RandomSource.h"

#include <cmath>
#include <stdexcept>

DiceRoll RollDice(qint16 quantity, double faces, RandomSource &source)
{
    // Also refuses NaN, which fails every comparison.
    if (!(faces >= 1.0 && faces <= MaxDieFaces))
        throw std::invalid_argument("RollDice: a die needs from 1 to 32767 faces");

    DiceRoll roll;
    if (quantity < 1)
        return roll;
    // Computed in double, r <= 1 - 2^-24 times at most 32767 faces stays below ceil(faces),
    // so the top value is reached but never passed. The clamp only keeps a faulty injected
    // source (r outside [0, 1), NaN) from producing a value out of range.
    const double top = std::ceil(faces);
    roll.values.reserve(quantity);
    for (qint16 k = 0; k < quantity; ++k) {
        double value = std::floor(double(source.next()) * faces) + 1.0;
        if (!(value >= 1.0))
            value = 1.0;
        else if (value > top)
            value = top;
        roll.values.append(static_cast<qint16>(value));
        roll.total += static_cast<qint16>(value);
    }
    return roll;
}

DiceRoll RollDice(qint16 quantity, double faces)
{
    return RollDice(quantity, faces, RandomSource::process());
}

QString FormatPartialResults(const QList<qint16> &values)
{
    QString text;
    if (values.isEmpty())
        return text;
    // At most six characters per value ("-32768") plus the separator.
    text.reserve(values.size() * 8);
    text += QString::number(values.first());
    for (qsizetype i = 1; i < values.size(); ++i) {
        text += QLatin1String(", ");
        text += QString::number(values.at(i));
    }
    return text;
}
