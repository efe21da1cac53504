#pragma once

#include "dice/number/Fraction.h"

#include <QtGlobal>

#include <vector>

// The exact odds of a dice expression, or of a part of one: every value it can take, in
// increasing order, with its probability. Values are exact (whole numbers or fractions);
// probabilities are doubles.
//
// Two forms, the same to a reader:
// - whole numbers from first() on, probabilities() giving each one's probability in turn
//   (zeros allowed between, never at either end): sums of dice live here, so that
//   convolutions run over plain arrays;
// - any exact values, each once, in increasing order, with their probabilities (all above 0).
//
// A probability below Tiny is taken as 0 wherever one is made: such a value is far below what
// a double can add to the others (the total stays 1 within 1e-140), and keeping every stored
// probability 0 or at least Tiny means that the product of two is never a subnormal number,
// whose arithmetic is a hundred times slower. So 3d6! shows the values whose probability is
// at least 1e-150, not the 1818 that three hundred explosions in a row would give.
class DiceDistribution
{
public:
    static constexpr double Tiny = 1e-150;

    // 0, certain.
    DiceDistribution() = default;
    static DiceDistribution point(Fraction value);
    // first, first + 1, …: probabilities[i] is the probability of first + i. Ends at 0 are
    // trimmed; at least one probability must be above 0.
    static DiceDistribution whole(qint64 first, std::vector<double> probabilities);
    // Values in increasing order, each once; values of probability 0 are dropped (at least
    // one must be above 0). Whole values that lie close together go to the whole form.
    static DiceDistribution exact(std::vector<Fraction> values, std::vector<double> probabilities);

    // Whether it is in the whole-number form (values first() … first() + size − 1).
    bool isDense() const { return m_values.empty(); }
    qint64 first() const { return m_first; }
    // Whole form: the probability of first() + i. Exact form: of values()[i].
    const std::vector<double> &probabilities() const { return m_probabilities; }
    const std::vector<Fraction> &values() const { return m_values; }

    // The values that can come up (probability above 0).
    qsizetype count() const { return m_count; }
    // The values listed in either form: count() plus the zeros between in the whole form.
    qsizetype span() const { return qsizetype(m_probabilities.size()); }
    bool isWhole() const;

    Fraction minimum() const;
    Fraction maximum() const;
    // The value listed at `index` (0 ≤ index < span()).
    Fraction valueAt(qsizetype index) const
    {
        return isDense() ? Fraction(m_first + index) : m_values[std::size_t(index)];
    }

    double mean() const;
    double standardDeviation() const;

    // The probabilities of exactly, at least and at most `value`. Summed from the nearer
    // end, so a small tail keeps its precision, and rounded once (CompensatedSum).
    double probabilityOf(Fraction value) const;
    double atLeast(Fraction value) const;
    double atMost(Fraction value) const;
    // The chance of at most and of at least each value that can come up, in increasing order
    // (count() of each; the first at least and the last at most are 1): the columns of a table.
    void cumulative(std::vector<double> &atMost, std::vector<double> &atLeast) const;

    // Calls f(value, probability) for every value that can come up, in increasing order.
    template <typename F> void forEach(F &&f) const
    {
        for (std::size_t i = 0; i < m_probabilities.size(); ++i) {
            if (m_probabilities[i] > 0)
                f(valueAt(qsizetype(i)), m_probabilities[i]);
        }
    }

    // The same values in the whole form, when they are all whole and span at most
    // `maximumSpan` numbers; nothing otherwise.
    bool canBeDense(qint64 maximumSpan) const;
    DiceDistribution dense() const; // only when canBeDense()

    // Divides every probability by their sum, so that it is 1 within rounding.
    void normalize();

    // Sets every probability below Tiny to 0.
    static void flushTiny(std::vector<double> &probabilities);

private:
    void countValues();

    qint64 m_first = 0;
    std::vector<double> m_probabilities{1.0};
    std::vector<Fraction> m_values; // empty in the whole form
    qsizetype m_count = 1;
};
