#include "dice/DiceRoller.h"

#include "dice/DiceNotation.h"
#include "dice/DieSource.h"

#include <algorithm>

DiceRoller::DiceRoller(const DiceExpression &expression, DieSource &source)
    : m_expression(expression), m_source(source)
{
    m_outcome.terms.resize(expression.terms().size());
}

bool DiceRoller::roll()
{
    m_stack.clear();
    for (const DiceExpression::Step &step : m_expression.steps()) {
        using Operation = DiceExpression::Operation;
        switch (step.operation) {
        case Operation::Number:
            m_stack.push_back(step.value);
            continue;
        case Operation::Dice: {
            DiceTermResult &result = m_outcome.terms[std::size_t(step.value)];
            rollTerm(m_expression.terms()[std::size_t(step.value)], result);
            m_stack.push_back(result.sum);
            continue;
        }
        case Operation::Negate:
            if (__builtin_sub_overflow(qint64(0), m_stack.back(), &m_stack.back()))
                return false;
            continue;
        case Operation::Add:
        case Operation::Subtract:
        case Operation::Multiply:
            break;
        }
        const qint64 right = m_stack.back();
        m_stack.pop_back();
        qint64 &left = m_stack.back();
        const bool overflow =
            step.operation == Operation::Add        ? __builtin_add_overflow(left, right, &left)
            : step.operation == Operation::Subtract ? __builtin_sub_overflow(left, right, &left)
                                                    : __builtin_mul_overflow(left, right, &left);
        if (overflow)
            return false;
    }
    m_outcome.total = m_stack.empty() ? 0 : m_stack.back();
    return true;
}

void DiceRoller::rollTerm(const DiceTerm &term, DiceTermResult &result)
{
    std::vector<DieResult> &dice = result.dice;
    dice.clear();
    const auto faces = std::uint32_t(term.faces);
    const qint32 offset = term.fate ? -2 : 0; // a Fate die's 1, 2, 3 are -1, 0, +1
    for (qint32 n = 0; n < term.count; ++n) {
        std::uint32_t face = m_source.roll(faces);
        dice.push_back({qint32(face) + offset, true, false, false});
        if (!term.exploding)
            continue;
        for (int extra = 0; face == faces && extra < DiceNotation::MaxExtraDicePerDie; ++extra) {
            dice.back().exploded = true;
            face = m_source.roll(faces);
            dice.push_back({qint32(face) + offset, true, false, true});
        }
    }

    // How many dice keep/drop sets aside, and from which end.
    const auto size = qint64(dice.size());
    qint64 dropped = 0;
    bool dropLowest = true;
    switch (term.keep) {
    case DiceKeep::All:
        break;
    case DiceKeep::KeepHighest:
        dropped = size - std::min(term.keepCount, size);
        break;
    case DiceKeep::KeepLowest:
        dropped = size - std::min(term.keepCount, size);
        dropLowest = false;
        break;
    case DiceKeep::DropHighest:
        dropped = std::min(term.keepCount, size);
        dropLowest = false;
        break;
    case DiceKeep::DropLowest:
        dropped = std::min(term.keepCount, size);
        break;
    }
    if (dropped == size) {
        for (DieResult &die : dice)
            die.kept = false;
    } else if (dropped > 0) {
        // Order the dice from the first to set aside to the last; among equal faces the
        // later die goes first, so the earlier one is kept.
        m_order.resize(std::size_t(size));
        for (qint32 i = 0; i < qint32(size); ++i)
            m_order[std::size_t(i)] = i;
        const auto before = [&dice, dropLowest](qint32 a, qint32 b) {
            const qint32 va = dice[std::size_t(a)].value;
            const qint32 vb = dice[std::size_t(b)].value;
            if (va != vb)
                return dropLowest ? va < vb : va > vb;
            return a > b;
        };
        std::nth_element(m_order.begin(), m_order.begin() + (dropped - 1), m_order.end(), before);
        for (qint64 i = 0; i < dropped; ++i)
            dice[std::size_t(m_order[std::size_t(i)])].kept = false;
    }

    // At most 1010000 dice of at most 1000000 faces: the sum stays far below 2^63.
    qint64 sum = 0;
    for (const DieResult &die : dice) {
        if (die.kept)
            sum += die.value;
    }
    result.sum = sum;
}
