#pragma once

#include <QtGlobal>

#include <vector>

class OddsBudget;

// Odds over whole numbers while they are being worked out: p[i] is the probability of
// first + i. The evaluators build sums, counts and kept dice in this form, then hand a
// DiceDistribution over.
struct WholeOdds
{
    qint64 first = 0;
    std::vector<double> p;

    static WholeOdds point(qint64 value) { return {value, {1.0}}; }

    qint64 last() const { return first + qint64(p.size()) - 1; }
    bool isEmpty() const { return p.empty(); }
    // Values that can come up (probability above 0).
    qint64 count() const;
    double total() const;

    // Grows the range to hold from … to (with room to spare at the front).
    void cover(qint64 from, qint64 to);
    // Adds `probability` to `value`, growing the range as needed.
    void add(qint64 value, double probability);
    // Adds weight × (other shifted by `shift`).
    void addShifted(const WholeOdds &other, qint64 shift, double weight);
    // Probabilities below DiceDistribution::Tiny become 0; zeros at either end go.
    void trim();

    // The odds of the sum of two independent values: |a| × (values of b) multiplications and
    // additions. The caller checks the budget (convolveWork).
    static WholeOdds convolve(const WholeOdds &a, const WholeOdds &b);
    static double convolveWork(const WholeOdds &a, const WholeOdds &b);

    // The sum of `n` independent values of `a` (n ≥ 1), one convolution after another: each
    // adds a's values to the sum so far, whose range grows by a's each time, so at most
    // count(a) × span(a) × n² / 2 operations (50d20: 0.5 million; 100d20: 1.9 million), less
    // where the tails fall below Tiny (10000d6: about 0.1 billion instead of 1.5). False,
    // with the budget refused, when the work or the number of values is too large.
    static bool sumOf(WholeOdds a, qint64 n, OddsBudget &budget, WholeOdds &sum);
};
