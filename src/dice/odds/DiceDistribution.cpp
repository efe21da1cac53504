#include "dice/odds/DiceDistribution.h"

#include "dice/number/CompensatedSum.h"

#include <algorithm>
#include <cmath>


DiceDistribution DiceDistribution::point(Fraction value)
{
    if (value.isWhole())
        return whole(value.numerator(), {1.0});
    return exact({value}, {1.0});
}

DiceDistribution DiceDistribution::whole(qint64 first, std::vector<double> probabilities)
{
    flushTiny(probabilities);
    DiceDistribution d;
    const auto start = std::find_if(probabilities.begin(), probabilities.end(),
                                    [](double p) { return p > 0; });
    Q_ASSERT(start != probabilities.end());
    const auto end = std::find_if(probabilities.rbegin(), probabilities.rend(),
                                  [](double p) { return p > 0; })
                         .base();
    d.m_first = first + (start - probabilities.begin());
    probabilities.erase(end, probabilities.end());
    probabilities.erase(probabilities.begin(), start);
    d.m_probabilities = std::move(probabilities);
    d.m_values.clear();
    d.countValues();
    return d;
}

DiceDistribution DiceDistribution::exact(std::vector<Fraction> values,
                                         std::vector<double> probabilities)
{
    flushTiny(probabilities);
    std::size_t kept = 0;
    bool allWhole = true;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (probabilities[i] > 0) {
            values[kept] = values[i];
            probabilities[kept] = probabilities[i];
            allWhole = allWhole && values[i].isWhole();
            ++kept;
        }
    }
    Q_ASSERT(kept > 0);
    values.resize(kept);
    probabilities.resize(kept);
    if (allWhole) {
        // The difference of two 64-bit numbers, in unsigned arithmetic so that it cannot wrap.
        const quint64 span = quint64(values.back().numerator()) - quint64(values.front().numerator());
        if (span <= 2 * kept + 16) {
            std::vector<double> dense(std::size_t(span) + 1, 0.0);
            for (std::size_t i = 0; i < kept; ++i)
                dense[std::size_t(quint64(values[i].numerator())
                                  - quint64(values.front().numerator()))] = probabilities[i];
            return whole(values.front().numerator(), std::move(dense));
        }
    }
    DiceDistribution d;
    d.m_first = 0;
    d.m_values = std::move(values);
    d.m_probabilities = std::move(probabilities);
    d.m_count = qsizetype(kept);
    return d;
}

void DiceDistribution::countValues()
{
    m_count = qsizetype(std::count_if(m_probabilities.begin(), m_probabilities.end(),
                                      [](double p) { return p > 0; }));
}

bool DiceDistribution::isWhole() const
{
    return std::all_of(m_values.begin(), m_values.end(),
                       [](Fraction v) { return v.isWhole(); });
}

Fraction DiceDistribution::minimum() const
{
    return valueAt(0);
}

Fraction DiceDistribution::maximum() const
{
    return valueAt(span() - 1);
}

double DiceDistribution::mean() const
{
    CompensatedSum sum;
    forEach([&](Fraction value, double p) { sum.add(value.toDouble() * p); });
    return sum.value();
}

double DiceDistribution::standardDeviation() const
{
    const double average = mean();
    CompensatedSum sum;
    forEach([&](Fraction value, double p) {
        const double away = value.toDouble() - average;
        sum.add(away * away * p);
    });
    return std::sqrt(sum.value());
}

double DiceDistribution::probabilityOf(Fraction value) const
{
    if (isDense()) {
        if (!value.isWhole() || value < minimum() || value > maximum())
            return 0;
        return m_probabilities[std::size_t(quint64(value.numerator()) - quint64(m_first))];
    }
    const auto at = std::lower_bound(m_values.begin(), m_values.end(), value);
    return at != m_values.end() && *at == value ? m_probabilities[std::size_t(at - m_values.begin())]
                                                : 0;
}

double DiceDistribution::atLeast(Fraction value) const
{
    if (value <= minimum())
        return 1;
    CompensatedSum sum;
    for (qsizetype i = span() - 1; i >= 0 && valueAt(i) >= value; --i)
        sum.add(m_probabilities[std::size_t(i)]);
    return sum.value();
}

double DiceDistribution::atMost(Fraction value) const
{
    if (value >= maximum())
        return 1;
    CompensatedSum sum;
    for (qsizetype i = 0; i < span() && valueAt(i) <= value; ++i)
        sum.add(m_probabilities[std::size_t(i)]);
    return sum.value();
}

void DiceDistribution::cumulative(std::vector<double> &atMost, std::vector<double> &atLeast) const
{
    atMost.clear();
    atLeast.assign(std::size_t(m_count), 0.0);
    CompensatedSum sum;
    forEach([&](Fraction, double p) {
        sum.add(p);
        atMost.push_back(sum.value());
    });
    sum = {};
    std::size_t i = atLeast.size();
    for (auto p = m_probabilities.rbegin(); p != m_probabilities.rend(); ++p) {
        if (*p > 0) {
            sum.add(*p);
            atLeast[--i] = sum.value();
        }
    }
    atLeast.front() = 1;
    atMost.back() = 1;
}

bool DiceDistribution::canBeDense(qint64 maximumSpan) const
{
    if (isDense())
        return true;
    if (!isWhole())
        return false;
    const quint64 span = quint64(maximum().numerator()) - quint64(minimum().numerator());
    return span < quint64(maximumSpan);
}

DiceDistribution DiceDistribution::dense() const
{
    if (isDense())
        return *this;
    const qint64 first = minimum().numerator();
    std::vector<double> probabilities(
        std::size_t(quint64(maximum().numerator()) - quint64(first)) + 1, 0.0);
    for (std::size_t i = 0; i < m_values.size(); ++i)
        probabilities[std::size_t(quint64(m_values[i].numerator()) - quint64(first))] =
            m_probabilities[i];
    return whole(first, std::move(probabilities));
}

void DiceDistribution::normalize()
{
    CompensatedSum total;
    for (const double p : m_probabilities)
        total.add(p);
    const double sum = total.value();
    if (sum != 1) {
        for (double &p : m_probabilities)
            p /= sum;
    }
}

void DiceDistribution::flushTiny(std::vector<double> &probabilities)
{
    for (double &p : probabilities) {
        if (p < Tiny)
            p = 0;
    }
}
