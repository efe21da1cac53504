#include "dice/chart/OddsChart.h"

#include <algorithm>
#include <cmath>

namespace {

// The union of every series' values, in increasing order.
std::vector<Fraction> allValues(const std::vector<ChartSeries> &series)
{
    bool dense = true;
    qint64 low = 0;
    qint64 high = 0;
    for (std::size_t s = 0; s < series.size(); ++s) {
        const DiceDistribution &odds = series[s].odds;
        dense = dense && odds.isDense();
        if (!dense)
            break;
        const qint64 first = odds.first();
        const qint64 last = first + odds.span() - 1;
        low = s == 0 ? first : std::min(low, first);
        high = s == 0 ? last : std::max(high, last);
    }
    std::vector<Fraction> values;
    if (dense && !series.empty() && high - low < OddsChart::MaxCells) {
        // Whole values: every number in the span that some series can take.
        std::vector<char> present(std::size_t(high - low + 1), 0);
        for (const ChartSeries &one : series) {
            const auto &p = one.odds.probabilities();
            for (std::size_t i = 0; i < p.size(); ++i)
                present[std::size_t(one.odds.first() - low) + i] |= p[i] > 0;
        }
        for (std::size_t i = 0; i < present.size(); ++i) {
            if (present[i])
                values.emplace_back(low + qint64(i));
        }
        return values;
    }
    for (const ChartSeries &one : series)
        one.odds.forEach([&](Fraction value, double) { values.push_back(value); });
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

} // namespace

OddsChart::OddsChart(std::vector<ChartSeries> series, ChartView view)
    : m_series(std::move(series)), m_view(view), m_overTargets(false),
      m_values(allValues(m_series))
{
    fill();
}

OddsChart::OddsChart(std::vector<ChartSeries> series, ChartView view,
                     std::vector<Fraction> targets)
    : m_series(std::move(series)), m_view(view), m_overTargets(true), m_values(std::move(targets))
{
    std::sort(m_values.begin(), m_values.end());
    m_values.erase(std::unique(m_values.begin(), m_values.end()), m_values.end());
    fill();
}

qsizetype OddsChart::rowsOverAllValues(const std::vector<ChartSeries> &series)
{
    return qsizetype(allValues(series).size());
}

void OddsChart::fill()
{
    const std::size_t columns = m_series.size();
    m_chances.assign(m_values.size() * columns, 0.0);
    for (std::size_t s = 0; s < columns; ++s) {
        const DiceDistribution &odds = m_series[s].odds;
        // Walk the series' own values beside the rows: its chances summed from either end
        // are the distribution's own columns (as DiceOddsReport shows them).
        std::vector<Fraction> values;
        std::vector<double> chances;
        odds.forEach([&](Fraction v, double p) {
            values.push_back(v);
            chances.push_back(p);
        });
        std::vector<double> atMost;
        std::vector<double> atLeast;
        odds.cumulative(atMost, atLeast);

        std::size_t next = 0; // the first of the series' values not below the row's
        for (std::size_t r = 0; r < m_values.size(); ++r) {
            const Fraction v = m_values[r];
            while (next < values.size() && values[next] < v)
                ++next;
            const bool here = next < values.size() && values[next] == v;
            double p = 0;
            switch (m_view) {
            case ChartView::Exactly:
                p = here ? chances[next] : 0;
                break;
            case ChartView::AtLeast:
                p = next < values.size() ? atLeast[next] : 0;
                break;
            case ChartView::AtMost: {
                const std::size_t upTo = here ? next + 1 : next; // values at most v
                p = upTo == 0 ? 0 : atMost[upTo - 1];
                break;
            }
            }
            m_chances[r * columns + s] = p;
        }
    }
}

bool OddsChart::certain(qsizetype row, qsizetype series) const
{
    const DiceDistribution &odds = m_series[std::size_t(series)].odds;
    const Fraction v = value(row);
    switch (m_view) {
    case ChartView::Exactly:
        return odds.count() == 1 && odds.minimum() == v;
    case ChartView::AtLeast:
        return odds.minimum() >= v;
    case ChartView::AtMost:
        return odds.maximum() <= v;
    }
    return false;
}

bool OddsChart::best(qsizetype row, qsizetype series) const
{
    if (m_series.size() < 2)
        return false;
    double highest = 0;
    for (qsizetype s = 0; s < seriesCount(); ++s)
        highest = std::max(highest, probability(row, s));
    return highest > 0 && probability(row, series) >= highest * (1 - 1e-12);
}

double OddsChart::highestProbability() const
{
    double highest = 0;
    for (const double p : m_chances)
        highest = std::max(highest, p);
    return highest;
}
