#pragma once

#include "dice/expression/DiceGroup.h"
#include "dice/expression/DiceTerm.h"
#include "dice/number/Fraction.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// A parsed dice expression, ready to be rolled any number of times (DiceRoller) or to have
// its exact odds worked out. Built by DiceNotation::parse, which checks every limit once, so
// that rolling needs no checks of the notation and can never overflow.
//
// Every dice term and group appears once and rolls independently of the others, so the
// value of any operation is a function of independent operands.
class DiceExpression
{
public:
    // One step of the expression in postfix order: numbers, dice terms and groups push a
    // value, operators and functions take theirs from the top of the stack.
    enum class Operation : quint8 {
        Number,   // pushes `number`
        Dice,     // pushes the value of terms()[index]
        Group,    // pops the groups()[index].memberCount member values, pushes the group's
        Negate,   // -a
        Add,      // a + b
        Subtract, // a - b
        Multiply, // a * b
        Divide,   // a / b, exact; the parser makes sure b can never be 0
        Remainder, // a % b: a - b * trunc(a / b), the dividend's sign; b never 0
        Power,    // a ^ b, a ** b, pow(a, b): b is a whole number >= 0
        Floor,    // floor(a)
        Ceil,     // ceil(a)
        Round,    // round(a): halves away from zero
        Abs,      // abs(a)
        Sign,     // sign(a): -1, 0 or 1
        Minimum,  // min(a, b, …): pops `index` values
        Maximum,  // max(a, b, …): pops `index` values
    };
    struct Step
    {
        Operation operation;
        qint32 index = 0; // the term or group, or how many arguments min/max take
        Fraction number;  // for Number
    };

    // The expression laid out for a worked-out line: fixed text (numbers, operators,
    // parentheses, braces, labels) and the places where each dice term's dice and each
    // group member's marks go.
    struct Piece
    {
        enum class Kind : quint8 {
            Text,        // `text`
            Dice,        // the dice of terms()[index]
            MemberBegin, // member `member` of groups()[index] begins
            MemberEnd,   // … and ends
        };
        Kind kind = Kind::Text;
        QByteArray text; // UTF-8
        qint32 index = 0;
        qint32 member = 0;
    };

    // What a unary operation (Negate, Floor, Ceil, Round, Abs, Sign) or a binary one (Add …
    // Power) gives for exact operands; nothing when the result would leave a Fraction's
    // range, which the parser's bounds rule out for the values of a parsed expression. The
    // roller and the exact odds both compute through these, so they cannot disagree.
    static std::optional<Fraction> apply(Operation operation, Fraction a);
    static std::optional<Fraction> apply(Operation operation, Fraction a, Fraction b);

    // The expression as given, without surrounding blanks.
    const QString &text() const { return m_text; }
    // Without its "# label" and the blanks before it: what the result lines show.
    const QByteArray &shownUtf8() const { return m_shownUtf8; }
    // The "# text" label, without "#" and surrounding blanks; empty when there is none.
    const QString &label() const { return m_label; }

    const std::vector<DiceTerm> &terms() const { return m_terms; }
    const std::vector<DiceGroup> &groups() const { return m_groups; }
    const std::vector<Step> &steps() const { return m_steps; }
    const std::vector<Piece> &layout() const { return m_layout; }

    // The dice rolled before explosions, rerolls and unique rerolls, summed over the terms.
    qint64 diceCount() const { return m_diceCount; }
    // The most draws from the die source a single roll can make, with every reroll and
    // explosion at its limit.
    qint64 maximumDraws() const { return m_maximumDraws; }

    // Bounds that every roll's total lies within (not always reached).
    Fraction minimum() const { return m_minimum; }
    Fraction maximum() const { return m_maximum; }
    // Whether the total can be a fraction (the expression divides somewhere).
    bool mayBeFractional() const { return m_mayBeFractional; }

private:
    friend class ExpressionBuilder; // the parser builds an expression through it

    QString m_text;
    QByteArray m_shownUtf8;
    QString m_label;
    std::vector<DiceTerm> m_terms;
    std::vector<DiceGroup> m_groups;
    std::vector<Step> m_steps;
    std::vector<Piece> m_layout;
    qint64 m_diceCount = 0;
    qint64 m_maximumDraws = 0;
    Fraction m_minimum;
    Fraction m_maximum;
    bool m_mayBeFractional = false;
};
