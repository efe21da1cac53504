#include "dice/notation/ExpressionBuilder.h"

#include "dice/notation/DiceNotation.h"

using Piece = DiceExpression::Piece;

ExpressionBuilder::Mark ExpressionBuilder::mark() const
{
    return {qsizetype(m_expression.m_terms.size()), qsizetype(m_expression.m_groups.size()),
            qsizetype(m_expression.m_steps.size())};
}

void ExpressionBuilder::push(Operation operation, qint32 index, Fraction number)
{
    m_expression.m_steps.push_back({operation, index, number});
}

void ExpressionBuilder::lay(QStringView text)
{
    std::vector<Piece> &layout = m_expression.m_layout;
    if (!layout.empty() && layout.back().kind == Piece::Kind::Text)
        layout.back().text += text.toUtf8();
    else
        layout.push_back({Piece::Kind::Text, text.toUtf8(), 0, 0});
}

void ExpressionBuilder::layMember(qint32 group, qint32 member, bool begins)
{
    m_expression.m_layout.push_back(
        {begins ? Piece::Kind::MemberBegin : Piece::Kind::MemberEnd, QByteArray(), group, member});
}

std::optional<QString> ExpressionBuilder::countDice(const DiceTerm &term, const PoolBounds &bounds)
{
    m_expression.m_diceCount += term.count;
    if (m_expression.m_diceCount > DiceNotation::MaxDicePerRoll)
        return QStringLiteral("dados demais numa rolagem (mais de %1)")
            .arg(DiceNotation::MaxDicePerRoll);
    m_expression.m_maximumDraws += bounds.draws;
    if (m_expression.m_maximumDraws > DiceNotation::MaxDrawsPerRoll)
        return QStringLiteral("rolagens demais: com as rerrolagens e explosões no limite, a "
                              "expressão pode pedir mais de %1 dados")
            .arg(DiceNotation::MaxDrawsPerRoll);
    return std::nullopt;
}

void ExpressionBuilder::addTerm(DiceTerm term, const PoolBounds &bounds)
{
    const auto index = qint32(m_expression.m_terms.size());
    m_termBounds.push_back(bounds);
    m_expression.m_terms.push_back(std::move(term));
    push(Operation::Dice, index);
    m_expression.m_layout.push_back({Piece::Kind::Dice, QByteArray(), index, 0});
}

qint32 ExpressionBuilder::openGroup()
{
    m_expression.m_groups.emplace_back();
    return qint32(m_expression.m_groups.size()) - 1;
}

void ExpressionBuilder::closeGroup(qint32 index, DiceGroup group)
{
    m_expression.m_groups[std::size_t(index)] = std::move(group);
    push(Operation::Group, index);
}

bool ExpressionBuilder::poolsDice(qsizetype first, std::vector<qint32> &terms,
                                  PoolBounds &bounds) const
{
    terms.clear();
    bounds = {};
    const std::vector<DiceExpression::Step> &steps = m_expression.m_steps;
    for (auto i = std::size_t(first); i < steps.size(); ++i) {
        const DiceExpression::Step &step = steps[i];
        if (step.operation == Operation::Dice) {
            const DiceTerm &term = m_expression.m_terms[std::size_t(step.index)];
            if (term.keep.isSet() || term.target.isSet())
                return false;
            terms.push_back(step.index);
            bounds.add(m_termBounds[std::size_t(step.index)]);
        } else if (step.operation != Operation::Add) {
            return false;
        }
    }
    return !terms.empty();
}

QString *ExpressionBuilder::labelSince(const Mark &before)
{
    const std::vector<DiceExpression::Step> &steps = m_expression.m_steps;
    if (qsizetype(steps.size()) == before.steps + 1 && steps.back().operation == Operation::Dice)
        return &m_expression.m_terms[std::size_t(before.terms)].label;
    if (!steps.empty() && steps.back().operation == Operation::Group)
        return &m_expression.m_groups[std::size_t(before.groups)].label;
    return nullptr;
}

void ExpressionBuilder::finish(QStringView text, qsizetype shownEnd, const ValueRange &range)
{
    m_expression.m_text = text.trimmed().toString();
    m_expression.m_shownUtf8 = text.first(shownEnd).trimmed().toUtf8();
    m_expression.m_minimum = range.low;
    m_expression.m_maximum = range.high;
    m_expression.m_mayBeFractional = !range.isWhole();
}
