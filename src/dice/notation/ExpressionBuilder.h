#pragma once

#include "dice/expression/DiceExpression.h"
#include "dice/notation/PoolBounds.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// What the parser builds as it reads: the steps, terms, groups and layout of a DiceExpression,
// the bounds of every dice term, and the tally of dice and draws that a roll may take. The
// grammar decides what comes next; this is where it goes.
class ExpressionBuilder
{
public:
    using Operation = DiceExpression::Operation;

    // How far the expression has grown: taken before a primary to find what it added.
    struct Mark
    {
        qsizetype terms = 0;
        qsizetype groups = 0;
        qsizetype steps = 0;
    };

    explicit ExpressionBuilder(DiceExpression &expression) : m_expression(expression) {}

    Mark mark() const;
    void push(Operation operation, qint32 index = 0, Fraction number = {});
    // Text of the layout, joined to the text before it.
    void lay(QStringView text);
    void layMember(qint32 group, qint32 member, bool begins);

    // Counts a term's dice and draws against the limits of one roll: the refusal when they
    // pass them.
    std::optional<QString> countDice(const DiceTerm &term, const PoolBounds &bounds);
    // A dice term read whole: its step, its place in the layout and its bounds.
    void addTerm(DiceTerm term, const PoolBounds &bounds);

    // A group's index, taken when its brace opens so that its members can name it.
    qint32 openGroup();
    void closeGroup(qint32 index, DiceGroup group);
    // Whether the steps from `first` on are dice terms joined by "+", none with keep/drop or
    // a target of its own; their terms in `terms`, and the bounds of all their dice.
    bool poolsDice(qsizetype first, std::vector<qint32> &terms, PoolBounds &bounds) const;

    // The label of what was built since `before`, when that is one dice term or one group.
    QString *labelSince(const Mark &before);
    // The label after "#" at the end of the whole expression.
    QString &trailingLabel() { return m_expression.m_label; }

    // The expression as written, once read whole, with the part before its label and the
    // range of its value.
    void finish(QStringView text, qsizetype shownEnd, const ValueRange &range);

private:
    DiceExpression &m_expression;
    std::vector<PoolBounds> m_termBounds;
};
