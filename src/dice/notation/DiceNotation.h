#pragma once

#include "dice/expression/DiceExpression.h"

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

// The dice notation players type in chat rollers and game tables.
//
// Dice: NdM (or NDM) is N dice of M faces (N 1 to 10000, default 1; M 1 to 1000000); d% is
// d100; dF (dF.2) a Fate die showing -1, 0 or +1, dF.1 the variant with four blank faces.
// After the faces, in any order, each at most once unless said (DiceTerm says how they
// combine, and the order they act in):
//   compare points  =N  <>N (!=N)  <N  >N  <=N  >=N; a bare number after r, ro, f, cs, cf
//                   is =N
//   <cp>            right after the term (or its modifiers): count successes, 10d10>=8
//   f<cp>           after a success compare point: failures, subtracted, 10d10>=8f1
//   r, r<cp>, ro…   reroll the lowest face / while meeting <cp> (≤ 100) / once; repeatable
//   u, uo           reroll faces that repeat an earlier die's (≤ 100 / once)
//   !, !<cp>        explode on the highest face / on <cp>; !! compounds; !p, !!p penetrate
//   minN, maxN      raise / lower each face to N (0 to 1000000)
//   khK kK klK dhK dlK dK   keep or drop the K highest or lowest
//   cs<cp>, cf<cp>  mark critical successes / failures (repeatable); s, sa, sd sort
// Groups: {a, b, …} with keep/drop or a compare point after the brace (DiceGroup).
// Arithmetic: whole and decimal numbers (1.5 is exactly 3/2), + - * / % and ^ or ** (a
// whole power >= 0), unary minus, parentheses, with the usual precedence (^ binds tighter
// than unary minus and to the right); floor ceil round abs sign min max pow. Division is
// exact. Labels: "[text]" right after a term or number, "# text" to the end.
// Blanks may stand between terms and operators, not inside a term.
//
// Anything else is refused with its position. So that no input can hang a roll, exhaust
// memory or overflow anything:
// - at most 10000 characters, 200 in a label;
// - at most 100000 dice per roll before explosions and rerolls, summed over the terms, and
//   at most 10100000 draws of a die with every reroll and explosion at its limit;
// - at most 100 levels of parentheses, braces, functions, powers and unary minus;
// - every value the expression could take along the way must fit in a signed 64-bit
//   fraction, with its denominator: otherwise the operator (or number) that could leave
//   that range is refused. A divisor whose range holds 0 is refused, as is a power whose
//   exponent could be negative or fractional. Rolling a parsed expression can then never
//   fail;
// - a keep or drop that can leave no die, a reroll or explosion that every face meets and
//   a unique roll with more dice than faces are refused.
class DiceNotation
{
public:
    static constexpr qint32 MaxDiceCount = 10'000;
    static constexpr qint32 MaxFaces = 1'000'000;
    static constexpr qint32 MaxExtraDicePerDie = DiceTerm::MaxExtraRolls;
    static constexpr qint64 MaxDicePerRoll = 100'000;
    static constexpr qint64 MaxDrawsPerRoll = 10'100'000;
    static constexpr int MaxNesting = 100;
    static constexpr qsizetype MaxLength = 10'000;
    static constexpr qsizetype MaxLabelLength = 200;
    static constexpr qint64 MaxClamp = 1'000'000;
    static constexpr qint64 MaxComparePoint = 1'000'000'000'000'000;

    static std::variant<DiceExpression, DiceNotationError> parse(QStringView text);
};
