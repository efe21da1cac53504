#pragma once

#include "dice/expression/DiceExpression.h"
#include "dice/number/ValueRange.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// A function the notation knows: floor ceil round abs sign min max pow, with how many
// arguments it takes and the range of its value.
struct NotationFunction
{
    const char16_t *name;
    DiceExpression::Operation operation;
    int arguments; // 0: one or more

    // The function called `name`; nothing, with why in `refusal`, for any other name (and
    // for the functions whose results are not exact, said apart).
    static const NotationFunction *find(QStringView name, QString &refusal);

    // The range of the function's value over its arguments' ranges; nothing when it could
    // leave a Fraction. Not for pow, whose exponent the grammar checks first.
    std::optional<ValueRange> range(const std::vector<ValueRange> &arguments) const;
};
