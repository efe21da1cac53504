#include "dice/roll/DiceRoller.h"

#include "dice/roll/DieSource.h"

#include <algorithm>

namespace {

// A fresh face and how clamping changed it.
struct Face
{
    qint64 value;
    quint16 marks;
};

// Marks the items that `keep` sets aside among `size` items, whose values `valueAt(i)` gives,
// by calling `drop(i)`: first the highest it sets aside, then the lowest of the rest; among
// equal values the later item goes first, so the earlier one is kept. `order` is scratch
// space, kept between rolls.
template <typename ValueAt, typename Drop>
void markDropped(const KeepRule &keep, qint64 size, std::vector<qint32> &order, ValueAt valueAt,
                 Drop drop)
{
    const qint64 high = keep.droppedHighOf(size);
    const qint64 low = keep.droppedLowOf(size);
    if (high == 0 && low == 0)
        return;
    if (low >= size - high) {
        for (qint32 i = 0; i < qint32(size); ++i)
            drop(i);
        return;
    }
    if (high + low == 1) {
        // One item (4d6kh3): one pass, no ordering. Ties go to the later item, as below.
        qint32 chosen = 0;
        auto best = valueAt(0);
        for (qint32 i = 1; i < qint32(size); ++i) {
            const auto value = valueAt(i);
            if (low ? value <= best : value >= best) {
                best = value;
                chosen = i;
            }
        }
        drop(chosen);
        return;
    }
    order.resize(std::size_t(size));
    for (qint32 i = 0; i < qint32(size); ++i)
        order[std::size_t(i)] = i;
    // Order the items from the first to set aside to the last: the highest to the front,
    // then the lowest of the rest after them.
    const auto setAsideFirst = [&](bool lowest) {
        return [&, lowest](qint32 a, qint32 b) {
            const auto va = valueAt(a);
            const auto vb = valueAt(b);
            if (va != vb)
                return lowest ? va < vb : va > vb;
            return a > b;
        };
    };
    if (high > 0)
        std::nth_element(order.begin(), order.begin() + (high - 1), order.end(),
                         setAsideFirst(false));
    if (low > 0)
        std::nth_element(order.begin() + high, order.begin() + (high + low - 1), order.end(),
                         setAsideFirst(true));
    for (qint64 i = 0; i < high + low; ++i)
        drop(order[std::size_t(i)]);
}

} // namespace

DiceRoller::DiceRoller(const DiceExpression &expression, DieSource &source)
    : m_expression(expression), m_source(source)
{
    m_outcome.terms.resize(expression.terms().size());
    m_outcome.groups.resize(expression.groups().size());
}

bool DiceRoller::roll()
{
    using Operation = DiceExpression::Operation;
    m_stack.clear();
    m_draws = 0;
    for (const DiceExpression::Step &step : m_expression.steps()) {
        std::optional<Fraction> result;
        switch (step.operation) {
        case Operation::Number:
            m_stack.push_back(step.number);
            continue;
        case Operation::Dice: {
            DiceTermResult &term = m_outcome.terms[std::size_t(step.index)];
            rollTerm(m_expression.terms()[std::size_t(step.index)], term);
            m_stack.push_back(term.value);
            continue;
        }
        case Operation::Group: {
            GroupResult &group = m_outcome.groups[std::size_t(step.index)];
            if (!rollGroup(m_expression.groups()[std::size_t(step.index)], group))
                return false;
            m_stack.push_back(group.value);
            continue;
        }
        case Operation::Minimum:
        case Operation::Maximum: {
            const auto first = m_stack.end() - step.index;
            const auto chosen = step.operation == Operation::Minimum
                                    ? std::min_element(first, m_stack.end())
                                    : std::max_element(first, m_stack.end());
            const Fraction value = *chosen;
            m_stack.erase(first, m_stack.end());
            m_stack.push_back(value);
            continue;
        }
        case Operation::Negate:
        case Operation::Floor:
        case Operation::Ceil:
        case Operation::Round:
        case Operation::Abs:
        case Operation::Sign:
            result = DiceExpression::apply(step.operation, m_stack.back());
            break;
        case Operation::Add:
        case Operation::Subtract:
        case Operation::Multiply:
        case Operation::Divide:
        case Operation::Remainder:
        case Operation::Power: {
            const Fraction right = m_stack.back();
            m_stack.pop_back();
            result = DiceExpression::apply(step.operation, m_stack.back(), right);
            break;
        }
        }
        if (!result)
            return false;
        m_stack.back() = *result;
    }
    m_outcome.total = m_stack.empty() ? Fraction() : m_stack.back();
    return true;
}

// Draws a face, clamps it, and rerolls it while the term says so; the faces rerolled away
// go to `dice`, marked.
qint64 DiceRoller::freshFace(const DiceTerm &term, std::vector<DieResult> &dice)
{
    const auto clamped = [&]() {
        ++m_draws;
        const qint64 face = term.faceValue(m_source.roll(term.drawFaces()));
        const qint64 value = term.clamp(face);
        return Face{value, quint16(value > face ? DieRaised : value < face ? DieLowered : 0)};
    };
    Face face = clamped();
    for (int rerolls = term.rerollLimit(); rerolls > 0 && term.rerollWhen.meets(face.value);
         --rerolls) {
        dice.push_back({qint32(face.value), quint16(face.marks | DieRerolled)});
        face = clamped();
    }
    // The clamp marks of the face that stays travel with it through the caller.
    m_lastMarks = face.marks;
    return face.value;
}

void DiceRoller::rollTerm(const DiceTerm &term, DiceTermResult &result)
{
    std::vector<DieResult> &dice = result.dice;
    dice.clear();
    m_startingFaces.clear();
    const qint64 less = term.penetrate ? 1 : 0;
    for (qint32 n = 0; n < term.count; ++n) {
        qint64 face = freshFace(term, dice);
        quint16 marks = m_lastMarks;
        if (term.unique != UniqueKind::None) {
            for (int tries = term.uniqueLimit();
                 tries > 0
                 && std::binary_search(m_startingFaces.begin(), m_startingFaces.end(), face);
                 --tries) {
                dice.push_back({qint32(face), quint16(marks | DieUniqueRerolled)});
                face = freshFace(term, dice);
                marks = m_lastMarks;
            }
            m_startingFaces.insert(
                std::lower_bound(m_startingFaces.begin(), m_startingFaces.end(), face), face);
        }
        switch (term.explode) {
        case ExplodeKind::None:
            dice.push_back({qint32(face), marks});
            break;
        case ExplodeKind::Explode: {
            dice.push_back({qint32(face), marks});
            std::size_t last = dice.size() - 1;
            for (int extras = 0;
                 extras < DiceTerm::MaxExtraRolls && term.explodeWhen.meets(face); ++extras) {
                dice[last].marks |= DieExploded;
                face = freshFace(term, dice);
                dice.push_back({qint32(face - less),
                                quint16(m_lastMarks | DieExtra | (less ? DiePenetrated : 0))});
                last = dice.size() - 1;
            }
            break;
        }
        case ExplodeKind::Compound: {
            qint64 total = face;
            int extras = 0;
            for (; extras < DiceTerm::MaxExtraRolls && term.explodeWhen.meets(face); ++extras) {
                face = freshFace(term, dice);
                marks |= m_lastMarks;
                total += face - less;
            }
            if (extras > 0)
                marks |= DieCompounded | (less ? DiePenetrated : 0);
            dice.push_back({qint32(total), marks});
            break;
        }
        }
    }

    m_inPlay.clear();
    for (DieResult &die : dice) {
        if (die.inPlay())
            m_inPlay.push_back(&die);
    }
    result.value = scoreInPlay(term.keep, term.target);
    if (term.criticalSuccess.isSet() || term.criticalFailure.isSet()) {
        for (DieResult *die : m_inPlay) {
            if (term.criticalSuccess.meets(qint64(die->value)))
                die->marks |= DieCriticalSuccess;
            if (term.criticalFailure.meets(qint64(die->value)))
                die->marks |= DieCriticalFailure;
        }
    }
    if (term.sort != SortKind::None) {
        const bool ascending = term.sort == SortKind::Ascending;
        std::stable_sort(dice.begin(), dice.end(),
                         [ascending](const DieResult &a, const DieResult &b) {
                             return ascending ? a.value < b.value : a.value > b.value;
                         });
    }
}

qint64 DiceRoller::scoreInPlay(const KeepRule &keep, const TargetRule &target)
{
    markDropped(keep, qint64(m_inPlay.size()), m_order,
                [this](qint32 i) { return m_inPlay[std::size_t(i)]->value; },
                [this](qint32 i) { m_inPlay[std::size_t(i)]->marks |= DieDropped; });
    if (target.isSet())
        return countTargets(target, m_inPlay);
    return keptSum(m_inPlay);
}

qint64 DiceRoller::keptSum(const std::vector<DieResult *> &dice)
{
    // At most 1010000 dice below 101 * 1000000 in size: far below 2^63.
    qint64 sum = 0;
    for (const DieResult *die : dice) {
        if (die->kept())
            sum += die->value;
    }
    return sum;
}

qint64 DiceRoller::countTargets(const TargetRule &target,
                                const std::vector<DieResult *> &dice) const
{
    qint64 count = 0;
    for (DieResult *die : dice) {
        if (!die->kept())
            continue;
        if (target.success.meets(qint64(die->value))) {
            die->marks |= DieSuccess;
            ++count;
        }
        if (target.failure.meets(qint64(die->value))) {
            die->marks |= DieFailure;
            --count;
        }
    }
    return count;
}

bool DiceRoller::rollGroup(const DiceGroup &group, GroupResult &result)
{
    const auto first = m_stack.end() - group.memberCount;
    result.members.clear();
    for (auto member = first; member != m_stack.end(); ++member)
        result.members.push_back({*member, 0});
    m_stack.erase(first, m_stack.end());

    if (group.pools()) {
        // The pooled terms have no keep/drop or target of their own: their dice are all
        // kept so far.
        m_inPlay.clear();
        for (const qint32 index : group.poolTerms) {
            for (DieResult &die : m_outcome.terms[std::size_t(index)].dice) {
                if (die.inPlay())
                    m_inPlay.push_back(&die);
            }
        }
        result.value = scoreInPlay(group.keep, group.target);
        for (const qint32 index : group.poolTerms) {
            DiceTermResult &term = m_outcome.terms[std::size_t(index)];
            m_inPlay.clear();
            for (DieResult &die : term.dice)
                m_inPlay.push_back(&die);
            term.value = keptSum(m_inPlay);
        }
        return true;
    }

    std::vector<GroupMemberResult> &members = result.members;
    markDropped(group.keep, qint64(members.size()), m_order,
                [&members](qint32 i) { return members[std::size_t(i)].value; },
                [&members](qint32 i) { members[std::size_t(i)].marks |= DieDropped; });
    std::optional<Fraction> value = Fraction();
    for (GroupMemberResult &member : members) {
        if (member.has(DieDropped))
            continue;
        if (!group.target.isSet()) {
            value = value->plus(member.value);
            if (!value)
                return false;
            continue;
        }
        if (group.target.success.meets(member.value)) {
            member.marks |= DieSuccess;
            value = *value->plus(1);
        }
        if (group.target.failure.meets(member.value)) {
            member.marks |= DieFailure;
            value = *value->minus(1);
        }
    }
    result.value = *value;
    return true;
}
