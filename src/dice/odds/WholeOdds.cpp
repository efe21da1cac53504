#include "dice/odds/WholeOdds.h"

#include "dice/odds/DiceDistribution.h"
#include "dice/odds/OddsBudget.h"

#include <algorithm>

qint64 WholeOdds::count() const
{
    return qint64(std::count_if(p.begin(), p.end(), [](double x) { return x > 0; }));
}

double WholeOdds::total() const
{
    double sum = 0;
    for (const double x : p)
        sum += x;
    return sum;
}

void WholeOdds::cover(qint64 from, qint64 to)
{
    if (p.empty()) {
        first = from;
        p.assign(std::size_t(to - from) + 1, 0.0);
        return;
    }
    if (from < first) {
        // At least doubled at the front, so that values added in decreasing order cost
        // amortized constant time (trim() drops the zeros left over).
        qint64 grow = std::max(first - from, qint64(p.size()));
        qint64 start = 0;
        if (__builtin_sub_overflow(first, grow, &start)) {
            grow = first - from;
            start = from;
        }
        p.insert(p.begin(), std::size_t(grow), 0.0);
        first = start;
    }
    if (to > last())
        p.resize(std::size_t(to - first) + 1, 0.0);
}

void WholeOdds::add(qint64 value, double probability)
{
    cover(value, value);
    p[std::size_t(value - first)] += probability;
}

void WholeOdds::addShifted(const WholeOdds &other, qint64 shift, double weight)
{
    if (other.p.empty())
        return;
    const qint64 from = other.first + shift;
    cover(from, other.last() + shift);
    double *out = p.data() + (from - first);
    const double *in = other.p.data();
    const std::size_t n = other.p.size();
    for (std::size_t i = 0; i < n; ++i)
        out[i] += in[i] * weight;
}

void WholeOdds::trim()
{
    DiceDistribution::flushTiny(p);
    const auto start =
        std::find_if(p.begin(), p.end(), [](double x) { return x > 0; }) - p.begin();
    if (start == qsizetype(p.size())) {
        p.clear();
        return;
    }
    std::size_t end = p.size();
    while (p[end - 1] == 0)
        --end;
    p.resize(end);
    p.erase(p.begin(), p.begin() + start);
    first += start;
}

double WholeOdds::convolveWork(const WholeOdds &a, const WholeOdds &b)
{
    return double(std::min(a.count(), b.count())) * double(std::max(a.p.size(), b.p.size()));
}

WholeOdds WholeOdds::convolve(const WholeOdds &a, const WholeOdds &b)
{
    // The side with fewer values is the kernel: each of its values adds a shifted copy of
    // the other, a loop the compiler vectorizes.
    const bool aSmaller = a.count() < b.count();
    const WholeOdds &kernel = aSmaller ? a : b;
    const WholeOdds &other = aSmaller ? b : a;
    WholeOdds sum;
    sum.first = a.first + b.first;
    sum.p.assign(a.p.size() + b.p.size() - 1, 0.0);
    const std::size_t n = other.p.size();
    const double *in = other.p.data();
    for (std::size_t k = 0; k < kernel.p.size(); ++k) {
        const double weight = kernel.p[k];
        if (weight == 0)
            continue;
        double *out = sum.p.data() + k;
        for (std::size_t i = 0; i < n; ++i)
            out[i] += in[i] * weight;
    }
    sum.trim();
    return sum;
}

bool WholeOdds::sumOf(WholeOdds a, qint64 n, OddsBudget &budget, WholeOdds &sum)
{
    // The k-th convolution runs over at most k × width + 1 values; the tails that fall below
    // DiceDistribution::Tiny are trimmed, so many dice cost far less.
    const double width = double(a.p.size() - 1);
    const double steps = double(n - 1);
    const double most = double(a.count()) * (width * steps * (steps + 1) / 2 + steps);
    const bool stepwise = !budget.canSpend(most) || double(n) * width + 1 > OddsBudget::MaxValues;
    if (!stepwise && !budget.spend(most))
        return false;
    if (n == 1) {
        sum = std::move(a);
        return true;
    }
    sum = a;
    for (qint64 k = 1; k < n; ++k) {
        if (stepwise && !budget.spendStep(convolveWork(sum, a)))
            return false;
        sum = convolve(sum, a);
        if (stepwise && !budget.admitValues(double(sum.p.size())))
            return false;
    }
    return true;
}
