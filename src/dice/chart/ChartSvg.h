#pragma once

#include <QByteArray>

class OddsChart;

// An OddsChart drawn as a standalone SVG picture (UTF-8), the same in a browser and in
// rsvg-convert: a viewBox and fixed width and height, a <title>, every word as <text> in a
// generic sans-serif font, no scripts, no external references.
//
// The picture: a title saying which chance is shown, a vertical axis of percentages (decimal
// comma: "2,5 %") and a horizontal axis of values, each with about five to ten round ticks
// and grid lines; one series as bars, several as lines (one point per row, a dot on each
// when there are few rows), each in its own colour and dash pattern, so that they stay apart
// in grey print; below, a legend with each series' name as written beside its colour.
class ChartSvg
{
public:
    static constexpr int Width = 800;
    static constexpr int PlotHeight = 360;

    // The colours of the series, in order (they repeat, with other dashes, past the eighth).
    static constexpr const char *Colours[8] = {"#0072b2", "#d55e00", "#009e73", "#cc79a7",
                                               "#e69f00", "#56b4e9", "#8c564b", "#6a3d9a"};

    static void append(QByteArray &out, const OddsChart &chart);
};
