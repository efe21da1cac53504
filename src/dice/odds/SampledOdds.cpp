#include "dice/odds/SampledOdds.h"

#include "dice/roll/DiceRoller.h"
#include "dice/odds/OddsBudget.h"

#include <algorithm>
#include <map>

std::optional<DiceDistribution> SampledOdds::roll(const DiceExpression &expression,
                                                  qint64 samples, DieSource &source)
{
    DiceRoller roller(expression, source);
    std::map<Fraction, qint64> counts;
    for (qint64 i = 0; i < samples; ++i) {
        // The notation's bounds keep every value of a parsed expression in range.
        roller.roll();
        ++counts[roller.outcome().total];
        if (qint64(counts.size()) > OddsBudget::MaxValues)
            return std::nullopt;
    }
    std::vector<Fraction> values;
    std::vector<double> probabilities;
    for (const auto &[value, count] : counts) {
        values.push_back(value);
        probabilities.push_back(double(count) / double(samples));
    }
    return DiceDistribution::exact(std::move(values), std::move(probabilities));
}
