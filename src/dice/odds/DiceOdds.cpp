#include "dice/odds/DiceOdds.h"

#include "dice/odds/ArithmeticOdds.h"
#include "dice/odds/DieOdds.h"
#include "dice/odds/KeptDiceOdds.h"
#include "dice/odds/OddsBudget.h"
#include "dice/odds/PoolOdds.h"
#include "dice/odds/WholeOdds.h"

#include <deque>
#include <optional>

namespace {

using Operation = DiceExpression::Operation;

std::optional<DiceDistribution> fromWhole(std::optional<WholeOdds> odds)
{
    if (!odds)
        return std::nullopt;
    return DiceDistribution::whole(odds->first, std::move(odds->p));
}

// A dice term's value under `keep` and `target` (its own, or those of the group that counts
// its dice).
std::optional<DiceDistribution> termOdds(const DiceTerm &term, const KeepRule &keep,
                                         const TargetRule *target, OddsBudget &budget)
{
    const DieOdds die(term, budget);
    if (budget.refused())
        return std::nullopt;
    if (term.unique != UniqueKind::None
        || (term.explode == ExplodeKind::Explode && keep.isSet()))
        return PoolOdds::dice({{&die, term.count}}, keep, target, budget);

    const DieScore score{target};
    const qint64 low = keep.droppedLowOf(term.count);
    const qint64 high = keep.droppedHighOf(term.count);
    const qint64 kept = term.count - keep.droppedOf(term.count);
    if (kept < term.count) {
        const auto value = die.value(budget);
        if (!value)
            return std::nullopt;
        // Swept from the end that sets fewer aside.
        const bool fromHighest = high <= low;
        return fromWhole(KeptDiceOdds::evaluate(*value, score, term.count, kept, fromHighest,
                                                budget, fromHighest ? high : low));
    }
    auto one = die.chain(score, budget);
    WholeOdds sum;
    if (!one || !WholeOdds::sumOf(std::move(*one), term.count, budget, sum))
        return std::nullopt;
    return fromWhole(std::move(sum));
}

// A group whose single member pools the dice of its terms.
std::optional<DiceDistribution> pooledOdds(const DiceExpression &expression,
                                           const DiceGroup &group, OddsBudget &budget)
{
    const TargetRule *target = group.target.isSet() ? &group.target : nullptr;
    if (!group.keep.isSet()) {
        // Nothing dropped: the count is the sum of each term's own.
        std::optional<DiceDistribution> total;
        for (const qint32 index : group.poolTerms) {
            const auto one = termOdds(expression.terms()[std::size_t(index)], {}, target, budget);
            if (!one)
                return std::nullopt;
            total = total ? ArithmeticOdds::binary(Operation::Add, *total, *one, budget) : one;
            if (!total)
                return std::nullopt;
        }
        return total;
    }
    std::deque<DieOdds> dice;
    std::vector<PoolOdds::TermDice> terms;
    for (const qint32 index : group.poolTerms) {
        const DiceTerm &term = expression.terms()[std::size_t(index)];
        dice.emplace_back(term, budget);
        terms.push_back({&dice.back(), term.count});
    }
    if (budget.refused())
        return std::nullopt;
    return PoolOdds::dice(terms, group.keep, target, budget);
}

std::optional<DiceDistribution> memberOdds(const DiceGroup &group,
                                           const std::vector<DiceDistribution> &members,
                                           OddsBudget &budget)
{
    if (group.keep.isSet())
        return PoolOdds::members(members, group.keep,
                                 group.target.isSet() ? &group.target : nullptr, budget);
    if (group.target.isSet())
        return ArithmeticOdds::count(members, group.target, budget);
    std::optional<DiceDistribution> total = members.front();
    for (std::size_t i = 1; i < members.size() && total; ++i)
        total = ArithmeticOdds::binary(Operation::Add, *total, members[i], budget);
    return total;
}

} // namespace

std::variant<DiceDistribution, DiceOddsRefusal> DiceOdds::evaluate(const DiceExpression &expression)
{
    OddsBudget budget;
    // The pooled terms' dice are worked out with their group; their steps push nothing.
    std::vector<bool> pooled(expression.terms().size(), false);
    for (const DiceGroup &group : expression.groups()) {
        for (const qint32 index : group.poolTerms)
            pooled[std::size_t(index)] = true;
    }

    // An empty entry stands for pooled dice.
    std::vector<std::optional<DiceDistribution>> stack;
    const auto pop = [&stack]() {
        std::optional<DiceDistribution> top = std::move(stack.back());
        stack.pop_back();
        return top;
    };
    for (const DiceExpression::Step &step : expression.steps()) {
        std::optional<DiceDistribution> result;
        switch (step.operation) {
        case Operation::Number:
            result = DiceDistribution::point(step.number);
            break;
        case Operation::Dice: {
            if (pooled[std::size_t(step.index)]) {
                stack.emplace_back();
                continue;
            }
            const DiceTerm &term = expression.terms()[std::size_t(step.index)];
            result = termOdds(term, term.keep, term.target.isSet() ? &term.target : nullptr,
                              budget);
            break;
        }
        case Operation::Group: {
            const DiceGroup &group = expression.groups()[std::size_t(step.index)];
            std::vector<DiceDistribution> members;
            for (qint32 m = 0; m < group.memberCount; ++m) {
                if (auto member = pop())
                    members.insert(members.begin(), std::move(*member));
            }
            result = group.pools() ? pooledOdds(expression, group, budget)
                                   : memberOdds(group, members, budget);
            break;
        }
        case Operation::Minimum:
        case Operation::Maximum: {
            std::vector<DiceDistribution> values(std::size_t(step.index));
            for (qint32 i = step.index; i-- > 0;)
                values[std::size_t(i)] = std::move(*pop());
            result = ArithmeticOdds::extreme(step.operation == Operation::Maximum, values, budget);
            break;
        }
        case Operation::Negate:
        case Operation::Floor:
        case Operation::Ceil:
        case Operation::Round:
        case Operation::Abs:
        case Operation::Sign:
            result = ArithmeticOdds::unary(step.operation, *pop(), budget);
            break;
        case Operation::Add:
        case Operation::Subtract:
        case Operation::Multiply:
        case Operation::Divide:
        case Operation::Remainder:
        case Operation::Power: {
            const std::optional<DiceDistribution> right = pop();
            const std::optional<DiceDistribution> left = pop();
            if (!left || !right) {
                // Pooled dice joined by "+" inside their group.
                stack.emplace_back();
                continue;
            }
            result = ArithmeticOdds::binary(step.operation, *left, *right, budget);
            break;
        }
        }
        if (!result)
            return DiceOddsRefusal{budget.refusal()};
        stack.push_back(std::move(result));
    }
    DiceDistribution odds = std::move(*stack.back());
    odds.normalize();
    return odds;
}
