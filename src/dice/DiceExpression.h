#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

// Which dice of a term count.
enum class DiceKeep : quint8 {
    All,         // no keep/drop
    KeepHighest, // khK, kK
    KeepLowest,  // klK
    DropHighest, // dhK
    DropLowest,  // dlK, dK
};

// One dice term of an expression, such as "4d6kh3", "d%", "8d4!kh3" or "dF".
struct DiceTerm
{
    QString text;           // as written in the expression
    qint32 count = 1;       // N, the dice rolled before any explosion
    qint32 faces = 6;       // M; 3 for a Fate die
    bool fate = false;      // faces -1, 0, +1
    bool exploding = false; // "!"
    DiceKeep keep = DiceKeep::All;
    qint64 keepCount = 0; // K
};

// A parsed dice expression, ready to be rolled any number of times (DiceRoller). Built by
// DiceNotation::parse, which checks every limit once so that rolling needs no checks of the
// notation.
class DiceExpression
{
public:
    // One step of the expression in postfix order: numbers and dice terms push a value,
    // operators take theirs from the top of the stack.
    enum class Operation : quint8 { Number, Dice, Negate, Add, Subtract, Multiply };
    struct Step
    {
        Operation operation;
        qint64 value; // the number, or the index of the dice term
    };

    // The expression laid out for a worked-out line: fixed text (numbers, operators,
    // parentheses) and the places where each dice term's dice go.
    struct Piece
    {
        QByteArray text; // UTF-8, used when term < 0
        qsizetype term = -1;
    };

    // The expression as given, without surrounding blanks.
    const QString &text() const { return m_text; }
    const QByteArray &textUtf8() const { return m_textUtf8; }

    const std::vector<DiceTerm> &terms() const { return m_terms; }
    const std::vector<Step> &steps() const { return m_steps; }
    const std::vector<Piece> &layout() const { return m_layout; }

    // The dice rolled before explosions, summed over the terms.
    qint64 diceCount() const { return m_diceCount; }

    // Bounds that every roll's total, and every value along the way, lies within.
    qint64 minimum() const { return m_minimum; }
    qint64 maximum() const { return m_maximum; }

private:
    friend class DiceNotation;

    QString m_text;
    QByteArray m_textUtf8;
    std::vector<DiceTerm> m_terms;
    std::vector<Step> m_steps;
    std::vector<Piece> m_layout;
    qint64 m_diceCount = 0;
    qint64 m_minimum = 0;
    qint64 m_maximum = 0;
};
