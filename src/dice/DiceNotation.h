#pragma once

#include "dice/DiceExpression.h"

#include <QString>
#include <QStringView>

#include <variant>

// Why an expression was refused: a message in Portuguese and the 1-based character position
// it refers to (one past the end when the expression stops too soon).
struct DiceNotationError
{
    qsizetype position = 0;
    QString message;
};

// The dice notation players type in chat rollers:
//
//   NdM        N dice of M faces (N 1 to 10000, default 1; M 1 to 1000000)
//   d%         d100
//   dF         a Fate die: -1, 0 or +1
//   !          after the faces: a die at its maximum rolls one more die of the term, which
//              may explode in turn, at most 100 extra dice per die; refused on one-faced and
//              Fate dice (a Fate die's +1 is not a maximum to roll again from)
//   khK, kK    keep the K highest      klK  keep the K lowest
//   dhK        drop the K highest      dlK, dK  drop the K lowest
//              (after "!" when both are present; a K larger than the dice keeps or drops
//              them all; explosions come first, then keep/drop chooses among every die)
//   integers, + - * between terms, unary minus, parentheses, usual precedence;
//   spaces and tabs between terms.
//
// Anything else is refused with its position, "/" included. So that no input can hang a
// roll or overflow anything:
// - at most 100000 dice per roll before explosions, summed over the terms;
// - at most 100 levels of parentheses and unary minus;
// - every value the expression could take along the way, with every die at either end of
//   its range and every explosion rolled, must fit in a signed 64-bit integer; otherwise
//   the operator (or number) that could leave that range is refused. Rolling a parsed
//   expression can then never overflow.
class DiceNotation
{
public:
    static constexpr qint32 MaxDiceCount = 10'000;
    static constexpr qint32 MaxFaces = 1'000'000;
    static constexpr qint32 MaxExtraDicePerDie = 100;
    static constexpr qint64 MaxDicePerRoll = 100'000;
    static constexpr int MaxNesting = 100;

    static std::variant<DiceExpression, DiceNotationError> parse(QStringView text);
};
