#include "dice/odds/ArithmeticOdds.h"

#include "dice/expression/DiceTerm.h"
#include "dice/odds/OddsBudget.h"
#include "dice/odds/WholeOdds.h"

#include <algorithm>
#include <unordered_map>

namespace {

using Operation = DiceExpression::Operation;

// An exact operation on two values, counted as this many units of work.
constexpr double PairWork = 500;

struct FractionHash
{
    std::size_t operator()(Fraction f) const
    {
        return std::hash<qint64>()(f.numerator()) * 31 + std::hash<qint64>()(f.denominator());
    }
};

// Collects values and their probabilities, merging equal values; refuses past MaxValues.
class Merger
{
public:
    explicit Merger(OddsBudget &budget) : m_budget(budget) {}

    bool add(Fraction value, double p)
    {
        if (p == 0)
            return true;
        m_odds[value] += p;
        return m_odds.size() <= std::size_t(OddsBudget::MaxValues)
               || m_budget.admitValues(double(m_odds.size()));
    }

    DiceDistribution result() const
    {
        std::vector<std::pair<Fraction, double>> sorted(m_odds.begin(), m_odds.end());
        std::sort(sorted.begin(), sorted.end(),
                  [](const auto &a, const auto &b) { return a.first < b.first; });
        std::vector<Fraction> values;
        std::vector<double> probabilities;
        values.reserve(sorted.size());
        probabilities.reserve(sorted.size());
        for (const auto &[value, p] : sorted) {
            values.push_back(value);
            probabilities.push_back(p);
        }
        return DiceDistribution::exact(std::move(values), std::move(probabilities));
    }

private:
    OddsBudget &m_budget;
    std::unordered_map<Fraction, double, FractionHash> m_odds;
};

WholeOdds wholeOdds(const DiceDistribution &d)
{
    if (d.isDense())
        return {d.first(), d.probabilities()};
    DiceDistribution dense = d.dense();
    return {dense.first(), dense.probabilities()};
}

DiceDistribution fromWhole(WholeOdds odds)
{
    odds.trim();
    return DiceDistribution::whole(odds.first, std::move(odds.p));
}

} // namespace

std::optional<DiceDistribution> ArithmeticOdds::binary(Operation operation,
                                                       const DiceDistribution &a,
                                                       const DiceDistribution &b,
                                                       OddsBudget &budget)
{
    if (operation == Operation::Subtract) {
        const auto negated = unary(Operation::Negate, b, budget);
        return negated ? binary(Operation::Add, a, *negated, budget) : std::nullopt;
    }
    const qint64 maximumSpan = OddsBudget::MaxValues;
    if (operation == Operation::Add && a.canBeDense(maximumSpan) && b.canBeDense(maximumSpan)) {
        const WholeOdds left = wholeOdds(a);
        const WholeOdds right = wholeOdds(b);
        if (!budget.admitValues(double(left.p.size() + right.p.size() - 1))
            || !budget.spend(WholeOdds::convolveWork(left, right)))
            return std::nullopt;
        return fromWhole(WholeOdds::convolve(left, right));
    }
    if (!budget.spend(PairWork * double(a.count()) * double(b.count())))
        return std::nullopt;
    Merger merger(budget);
    bool fits = true;
    a.forEach([&](Fraction x, double p) {
        b.forEach([&](Fraction y, double q) {
            fits = fits && merger.add(*DiceExpression::apply(operation, x, y), p * q);
        });
    });
    if (!fits)
        return std::nullopt;
    return merger.result();
}

std::optional<DiceDistribution> ArithmeticOdds::unary(Operation operation,
                                                      const DiceDistribution &a,
                                                      OddsBudget &budget)
{
    if (operation == Operation::Negate && a.isDense()) {
        // Negating reverses the list: -last … -first.
        if (!budget.spend(double(a.span())))
            return std::nullopt;
        std::vector<double> reversed(a.probabilities().rbegin(), a.probabilities().rend());
        return DiceDistribution::whole(-a.maximum().numerator(), std::move(reversed));
    }
    if (!budget.spend(PairWork * double(a.count())))
        return std::nullopt;
    Merger merger(budget);
    a.forEach([&](Fraction x, double p) { merger.add(*DiceExpression::apply(operation, x), p); });
    return merger.result();
}

std::optional<DiceDistribution> ArithmeticOdds::extreme(bool maximum,
                                                        const std::vector<DiceDistribution> &values,
                                                        OddsBudget &budget)
{
    std::vector<Fraction> all;
    for (const DiceDistribution &d : values)
        d.forEach([&](Fraction x, double) { all.push_back(x); });
    if (!budget.spend(double(all.size()) * (double(values.size()) + 20)))
        return std::nullopt;
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    if (!maximum)
        std::reverse(all.begin(), all.end());

    // For the maximum, walk upwards: chance[i] is P(value i ≤ v) so far. For the minimum,
    // downwards with P(value i ≥ v). Each value's own list is walked once.
    std::vector<double> chance(values.size(), 0.0);
    std::vector<qsizetype> next(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        next[i] = maximum ? 0 : values[i].span() - 1;
    std::vector<double> probabilities;
    double previous = 0;
    for (const Fraction v : all) {
        double product = 1;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const DiceDistribution &d = values[i];
            while (next[i] >= 0 && next[i] < d.span()
                   && (maximum ? d.valueAt(next[i]) <= v : d.valueAt(next[i]) >= v)) {
                chance[i] += d.probabilities()[std::size_t(next[i])];
                next[i] += maximum ? 1 : -1;
            }
            product *= chance[i];
        }
        probabilities.push_back(std::max(0.0, product - previous));
        previous = product;
    }
    if (!maximum) {
        std::reverse(all.begin(), all.end());
        std::reverse(probabilities.begin(), probabilities.end());
    }
    return DiceDistribution::exact(std::move(all), std::move(probabilities));
}

std::optional<DiceDistribution> ArithmeticOdds::count(const std::vector<DiceDistribution> &values,
                                                      const TargetRule &target,
                                                      OddsBudget &budget)
{
    const double n = double(values.size());
    double work = 0;
    for (const DiceDistribution &d : values)
        work += double(d.count());
    if (!budget.spend(work + 3 * n * n))
        return std::nullopt;
    WholeOdds total = WholeOdds::point(0);
    for (const DiceDistribution &d : values) {
        WholeOdds one;
        d.forEach([&](Fraction x, double p) {
            one.add((target.success.meets(x) ? 1 : 0) - (target.failure.meets(x) ? 1 : 0), p);
        });
        total = WholeOdds::convolve(total, one);
    }
    return fromWhole(std::move(total));
}
