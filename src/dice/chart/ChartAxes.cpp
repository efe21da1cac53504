#include "dice/chart/ChartAxes.h"

#include "dice/chart/OddsChart.h"

#include <algorithm>
#include <cmath>

double ChartAxes::roundStep(double span, int parts)
{
    if (!(span > 0))
        return 1;
    const double raw = span / parts;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (raw <= m * power)
            return m * power;
    }
    return 10 * power;
}

ChartAxes ChartAxes::of(const OddsChart &chart)
{
    ChartAxes axes;
    const double low = chart.minimum().toDouble();
    const double high = chart.maximum().toDouble();
    const double rows = double(chart.rowCount());
    axes.bars = chart.seriesCount() == 1;
    const double pad = axes.bars ? std::max((high - low) / std::max(rows - 1, 1.0), 1e-9) / 2
                                 : (high > low ? 0 : 0.5);
    axes.xLow = low - pad;
    axes.xHigh = high + pad;
    const double highest = chart.highestProbability();
    axes.yStep = roundStep(std::max(highest, 1e-12), 5);
    axes.yHigh = std::max(axes.yStep, std::ceil(highest / axes.yStep - 1e-9) * axes.yStep);

    axes.xStep = roundStep(high - low, 10);
    bool whole = true;
    for (qsizetype r = 0; r < chart.rowCount() && whole; ++r)
        whole = chart.value(r).isWhole();
    if (whole)
        axes.xStep = std::max(1.0, std::round(axes.xStep));
    return axes;
}

double ChartAxes::firstTick(double low) const
{
    return std::ceil(low / xStep) * xStep;
}

QByteArray ChartAxes::heading(const OddsChart &chart)
{
    QByteArray text = "Chance de tirar ";
    text += viewWords(chart.view());
    text += chart.overTargets() ? " cada alvo" : " cada valor";
    return text;
}

const char *ChartAxes::viewWords(ChartView view)
{
    switch (view) {
    case ChartView::AtLeast:
        return "pelo menos";
    case ChartView::AtMost:
        return "no máximo";
    case ChartView::Exactly:
        break;
    }
    return "exatamente";
}
