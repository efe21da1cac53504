#pragma once

#include <QtGlobal>

// The distribution functions the luck audit needs, from Boost.Math (a well-kept incomplete
// gamma function and normal distribution rather than our own). Every chance is an upper tail,
// computed as such (not as 1 minus the lower tail), so that a small p keeps its precision.
// What Boost cannot evaluate comes back as NaN: no p-value, a test that tells nothing.
class Statistics
{
public:
    // P(χ² ≥ x) with `degreesOfFreedom` (≥ 1) degrees of freedom.
    static double chiSquaredAbove(double x, qint64 degreesOfFreedom);
    // P(|Z| ≥ |z|) for a standard normal Z: the two-sided chance of a deviation this large.
    static double normalTwoSided(double z);
    // The two-sided chance of `count` successes or a count as unlikely among `trials` with
    // chance `p` each: twice the smaller tail, at most 1.
    static double binomialTwoSided(qint64 count, qint64 trials, double p);
};
