#pragma once

#include <QtGlobal>

#include <span>
#include <vector>

// Pearson's chi-squared test of observed counts against the probabilities a fair process
// gives them, with the bins merged as the test needs: the cells are taken in order (value
// order for totals, face order for dice) and joined, neighbour to neighbour, until each bin
// expects at least MinimumExpected counts; a last bin that falls short joins the one before.
// With fewer than two bins left the sample is too small to test anything.
//
// Worked example: 60 rolls of a d6 showing 5, 8, 9, 8, 10 and 20 of each face expect 10 of
// each; χ² = (25 + 4 + 1 + 4 + 0 + 100) / 10 = 13.4 with 5 degrees of freedom, p ≈ 0.0199.
struct GoodnessOfFit
{
    static constexpr double MinimumExpected = 5;

    // The bins after merging: what was seen and what a fair process expects in each.
    std::vector<qint64> observed;
    std::vector<double> expected;
    double statistic = 0;   // Σ (observed − expected)² / expected
    qint64 degreesOfFreedom = 0;
    double pValue = 1;      // the chance of a statistic at least this large when fair

    // Whether there were at least two bins to compare (otherwise statistic and p say nothing).
    bool testable() const { return degreesOfFreedom > 0; }

    // `counts[i]` seen where `probabilities[i]` was the chance of each of `total` trials
    // (the probabilities sum to 1; `total` is the sum of the counts, or more when some
    // trials fell outside every cell).
    static GoodnessOfFit test(std::span<const qint64> counts, std::span<const double> probabilities,
                              qint64 total);
};
