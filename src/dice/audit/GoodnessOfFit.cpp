#include "dice/audit/GoodnessOfFit.h"

#include "dice/audit/Statistics.h"

GoodnessOfFit GoodnessOfFit::test(std::span<const qint64> counts,
                                  std::span<const double> probabilities, qint64 total)
{
    GoodnessOfFit fit;
    const double n = double(total);
    qint64 seen = 0;
    double expected = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        seen += counts[i];
        expected += probabilities[i] * n;
        if (expected >= MinimumExpected) {
            fit.observed.push_back(seen);
            fit.expected.push_back(expected);
            seen = 0;
            expected = 0;
        }
    }
    // What is left over expects too little to stand alone: it joins the last bin.
    if ((seen > 0 || expected > 0) && !fit.observed.empty()) {
        fit.observed.back() += seen;
        fit.expected.back() += expected;
    } else if (seen > 0 || expected > 0) {
        fit.observed.push_back(seen);
        fit.expected.push_back(expected);
    }
    if (fit.observed.size() < 2 || fit.expected.front() < MinimumExpected)
        return fit;
    for (std::size_t b = 0; b < fit.observed.size(); ++b) {
        const double difference = double(fit.observed[b]) - fit.expected[b];
        fit.statistic += difference * difference / fit.expected[b];
    }
    fit.degreesOfFreedom = qint64(fit.observed.size()) - 1;
    fit.pValue = Statistics::chiSquaredAbove(fit.statistic, fit.degreesOfFreedom);
    return fit;
}
