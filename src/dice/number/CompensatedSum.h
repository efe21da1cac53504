#pragma once

#include <cmath>

// A running sum of doubles that is rounded once rather than at every addition (Neumaier's
// compensation): the twenty faces of a d20 at 0.05 each add up to exactly 1, nineteen of them
// to the double nearest 0.95 rather than a few units in the last place beside it.
class CompensatedSum
{
public:
    void add(double x)
    {
        const double t = m_sum + x;
        m_carry += std::fabs(m_sum) >= std::fabs(x) ? (m_sum - t) + x : (x - t) + m_sum;
        m_sum = t;
    }
    double value() const { return m_sum + m_carry; }

private:
    double m_sum = 0;
    double m_carry = 0;
};
