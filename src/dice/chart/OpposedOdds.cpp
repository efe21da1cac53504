#include "dice/chart/OpposedOdds.h"

#include "dice/odds/ArithmeticOdds.h"
#include "dice/odds/OddsBudget.h"

#include <vector>

OpposedOdds OpposedOdds::of(const DiceDistribution &first, const DiceDistribution &second)
{
    std::vector<Fraction> values;
    std::vector<double> chances;
    second.forEach([&](Fraction v, double p) {
        values.push_back(v);
        chances.push_back(p);
    });
    // below[i]: P(B < values[i]); above[i]: P(B > values[i]), each summed from its own end.
    std::vector<double> below(values.size());
    std::vector<double> above(values.size());
    double sum = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        below[i] = sum;
        sum += chances[i];
    }
    sum = 0;
    for (std::size_t i = values.size(); i-- > 0;) {
        above[i] = sum;
        sum += chances[i];
    }

    OpposedOdds result;
    std::size_t next = 0; // the first of the second's values not below a
    first.forEach([&](Fraction a, double p) {
        while (next < values.size() && values[next] < a)
            ++next;
        if (next == values.size()) {
            result.beats += p; // above every value of the second
            return;
        }
        if (values[next] == a) {
            result.beats += p * below[next];
            result.ties += p * chances[next];
            result.loses += p * above[next];
        } else {
            result.beats += p * (below[next]);
            result.loses += p * (above[next] + chances[next]);
        }
    });
    return result;
}

std::optional<DiceDistribution> OpposedOdds::difference(const DiceDistribution &first,
                                                        const DiceDistribution &second)
{
    OddsBudget budget;
    return ArithmeticOdds::binary(DiceExpression::Operation::Subtract, first, second, budget);
}
