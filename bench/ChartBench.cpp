// Comparisons in quessar-cli chances: each question from its expressions' text to the chart,
// and the SVG of a wide chart. Goals in the comments.

#include "dice/chart/ChartSvg.h"
#include "dice/chart/ChartTable.h"
#include "dice/chart/OddsChart.h"
#include "dice/notation/DiceNotation.h"
#include "dice/odds/DiceOdds.h"

#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

std::vector<ChartSeries> seriesOf(const QStringList &texts)
{
    std::vector<ChartSeries> series;
    for (const QString &text : texts) {
        const auto expression = std::get<DiceExpression>(DiceNotation::parse(text));
        series.push_back({text.toUtf8(), std::get<DiceDistribution>(DiceOdds::evaluate(expression))});
    }
    return series;
}

std::vector<Fraction> targets(int first, int last)
{
    std::vector<Fraction> all;
    for (int t = first; t <= last; ++t)
        all.emplace_back(t);
    return all;
}

// Four attacks against every armour class from 1 to 30, table included (1 ms).
void BM_FourAgainstTargets(benchmark::State &state)
{
    const QStringList texts{"2d20kh1+5", "1d20+8", "2d20kl1+10", "1d20+9"};
    for (auto _ : state) {
        const OddsChart chart(seriesOf(texts), ChartView::AtLeast, targets(1, 30));
        QByteArray out;
        ChartTable::append(out, chart);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_FourAgainstTargets)->Unit(benchmark::kMicrosecond);

// A pool of successes swept over 1 to 30 dice, every value in the at-least view (5 ms).
void BM_SweepOfPools(benchmark::State &state)
{
    QStringList texts;
    for (int dice = 1; dice <= 30; ++dice)
        texts << QStringLiteral("%1d10>=8").arg(dice);
    for (auto _ : state) {
        const OddsChart chart(seriesOf(texts), ChartView::AtLeast);
        benchmark::DoNotOptimize(chart.probability(0, 0));
    }
}
BENCHMARK(BM_SweepOfPools)->Unit(benchmark::kMicrosecond);

// The SVG of four series over 1,000 values each (10 ms).
void BM_SvgOfFourWideSeries(benchmark::State &state)
{
    const OddsChart chart(seriesOf({"1d1000", "1d1000+1", "2d500", "1d1000+3"}),
                          ChartView::Exactly);
    for (auto _ : state) {
        QByteArray out;
        ChartSvg::append(out, chart);
        benchmark::DoNotOptimize(out);
    }
    state.counters["linhas"] = double(chart.rowCount());
}
BENCHMARK(BM_SvgOfFourWideSeries)->Unit(benchmark::kMicrosecond);

} // namespace
