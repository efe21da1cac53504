#pragma once

#include "dice/number/Fraction.h"
#include "dice/odds/DiceDistribution.h"

#include <QByteArray>
#include <QtGlobal>

#include <vector>

// Which chance a chart shows for a value v: of rolling exactly v, at least v or at most v.
enum class ChartView { Exactly, AtLeast, AtMost };

// One line of a chart: a distribution and the name it is shown by (the expression as it was
// written, UTF-8; for a sweep, with the swept number in place).
struct ChartSeries
{
    QByteArray name;
    DiceDistribution odds;
};

// Several distributions set side by side, as one table of numbers that every rendering draws
// (the terminal table, CSV, SVG, and a window painting it): no text formatting lives here.
//
// Rows are values in increasing order: every value that can come up in any series, or the
// targets asked for (each once, sorted). probability(row, series) is that series' chance of
// the row's value in the chart's view; a value a series cannot take has chance 0 exactly (or
// 1 in the at-least view below its minimum, and in the at-most view above its maximum).
//
//   OddsChart chart({{"2d20kh1+5", a}, {"1d20+8", b}}, ChartView::AtLeast, {10, 11, …, 20});
//   for (qsizetype r = 0; r < chart.rowCount(); ++r)
//       paint(chart.value(r), chart.probability(r, 0), chart.probability(r, 1));
//
// The chances are doubles computed from each distribution (DiceDistribution::atLeast and
// atMost, summed from the nearer end), so a chart's column is that distribution's own column.
class OddsChart
{
public:
    // At most this many chances (rows times series) in a chart, so that it stays within
    // memory (32 MB); a caller checks rowsOverAllValues before building one.
    static constexpr qsizetype MaxCells = 4'000'000;

    // Rows over every value of every series.
    OddsChart(std::vector<ChartSeries> series, ChartView view);
    // Rows over the given targets (sorted, each once, in the chart).
    OddsChart(std::vector<ChartSeries> series, ChartView view, std::vector<Fraction> targets);

    // How many rows a chart over every value of these series would have.
    static qsizetype rowsOverAllValues(const std::vector<ChartSeries> &series);

    const std::vector<ChartSeries> &series() const { return m_series; }
    qsizetype seriesCount() const { return qsizetype(m_series.size()); }
    ChartView view() const { return m_view; }
    // Whether the rows are targets rather than every value.
    bool overTargets() const { return m_overTargets; }

    qsizetype rowCount() const { return qsizetype(m_values.size()); }
    Fraction value(qsizetype row) const { return m_values[std::size_t(row)]; }
    double probability(qsizetype row, qsizetype series) const
    {
        return m_chances[std::size_t(row) * m_series.size() + std::size_t(series)];
    }
    // Whether the chance is exactly certain (1 by the distribution's bounds, not by rounding).
    bool certain(qsizetype row, qsizetype series) const;
    // Whether `series` has the highest chance of its row (ties all count, within rounding:
    // a relative 1e-12), when there is more than one series and the highest is above 0.
    bool best(qsizetype row, qsizetype series) const;

    // The least and greatest row value, and the highest chance anywhere (axes of a plot).
    Fraction minimum() const { return m_values.front(); }
    Fraction maximum() const { return m_values.back(); }
    double highestProbability() const;

private:
    void fill();

    std::vector<ChartSeries> m_series;
    ChartView m_view;
    bool m_overTargets;
    std::vector<Fraction> m_values;
    std::vector<double> m_chances; // row by row, a chance per series
};
