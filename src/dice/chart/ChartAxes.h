#pragma once

#include <QByteArray>

class OddsChart;
enum class ChartView;

// The two axes of a plotted OddsChart and its heading, the same for every picture of it (the SVG
// and the window): values from the least to the greatest row, half a step beyond for bars; chances
// from 0 to a round step above the highest. Ticks fall on round steps: 1, 2, 2,5 or 5 times a
// power of ten, whole steps when every value is whole.
struct ChartAxes
{
    double xLow = 0;
    double xHigh = 1;
    double xStep = 1;
    double yHigh = 1;
    double yStep = 1;
    bool bars = false; // one series: drawn as bars

    static ChartAxes of(const OddsChart &chart);

    // A round step that cuts `span` into about `parts` pieces.
    static double roundStep(double span, int parts);
    // What the chart shows: "Chance de tirar pelo menos cada valor" (UTF-8).
    static QByteArray heading(const OddsChart &chart);
    // The words of a view in a sentence: "exatamente", "pelo menos", "no máximo" (UTF-8).
    static const char *viewWords(ChartView view);
    // The first value tick (a multiple of xStep at or above the least value).
    double firstTick(double low) const;
};
