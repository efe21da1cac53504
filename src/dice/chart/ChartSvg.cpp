#include "dice/chart/ChartSvg.h"

#include "dice/chart/ChartAxes.h"
#include "dice/chart/OddsChart.h"
#include "dice/format/OddsText.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Left = 70;
constexpr double Right = 30;
constexpr double Top = 50;
constexpr double AxisRoom = 50; // below the plot: tick labels and the axis name
constexpr double LegendLine = 20;

// Dash patterns, one per round of the colours (and per series where colour is lost).
constexpr const char *Dashes[] = {"", "8 4", "2 3", "10 3 2 3"};

void appendEscaped(QByteArray &out, const QByteArray &text)
{
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // Control characters are not allowed in XML 1.0; names never hold them, but a
            // label might: shown as a blank.
            out += (static_cast<unsigned char>(c) < 0x20) ? ' ' : c;
        }
    }
}

void appendNumber(QByteArray &out, double value)
{
    out += QByteArray::number(value, 'f', 1);
}

void appendText(QByteArray &out, double x, double y, const char *anchor, const QByteArray &text,
                int size = 12)
{
    out += "<text x=\"";
    appendNumber(out, x);
    out += "\" y=\"";
    appendNumber(out, y);
    out += "\" text-anchor=\"";
    out += anchor;
    out += "\" font-size=\"";
    out += QByteArray::number(size);
    out += "\">";
    appendEscaped(out, text);
    out += "</text>\n";
}

} // namespace

void ChartSvg::append(QByteArray &out, const OddsChart &chart)
{
    const qsizetype count = chart.seriesCount();
    const double plotWidth = Width - Left - Right;
    const double bottom = Top + PlotHeight;
    const int height = int(bottom + AxisRoom + LegendLine * double(count) + 10);

    const double low = chart.minimum().toDouble();
    const double high = chart.maximum().toDouble();
    const double rows = double(chart.rowCount());
    const ChartAxes axes = ChartAxes::of(chart);
    const bool bars = axes.bars;
    const double xLow = axes.xLow;
    const double xHigh = axes.xHigh;
    const double yStep = axes.yStep;
    const double yHigh = axes.yHigh;
    const auto xAt = [&](double v) { return Left + (v - xLow) / (xHigh - xLow) * plotWidth; };
    const auto yAt = [&](double p) { return bottom - p / yHigh * PlotHeight; };

    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"";
    out += QByteArray::number(Width);
    out += "\" height=\"";
    out += QByteArray::number(height);
    out += "\" viewBox=\"0 0 ";
    out += QByteArray::number(Width);
    out += ' ';
    out += QByteArray::number(height);
    out += "\" font-family=\"sans-serif\">\n";
    const QByteArray heading = ChartAxes::heading(chart);
    out += "<title>";
    appendEscaped(out, heading);
    out += "</title>\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    appendText(out, Width / 2.0, 28, "middle", heading, 18);

    // Grid and ticks of chances, in percent.
    out += "<g stroke=\"#dddddd\" stroke-width=\"1\">\n";
    const int yTicks = int(std::lround(yHigh / yStep));
    for (int i = 0; i <= yTicks; ++i) {
        out += "<line x1=\"";
        appendNumber(out, Left);
        out += "\" x2=\"";
        appendNumber(out, Left + plotWidth);
        out += "\" y1=\"";
        appendNumber(out, yAt(i * yStep));
        out += "\" y2=\"";
        appendNumber(out, yAt(i * yStep));
        out += "\"/>\n";
    }
    out += "</g>\n";
    for (int i = 0; i <= yTicks; ++i) {
        QByteArray label;
        OddsText::appendDecimal(label, i * yStep * 100, 4);
        label += " %";
        appendText(out, Left - 6, yAt(i * yStep) + 4, "end", label);
    }

    // Ticks of values.
    const double xStep = axes.xStep;
    for (double v = axes.firstTick(low); v <= high + xStep * 1e-9; v += xStep) {
        QByteArray label;
        OddsText::appendDecimal(label, v, 4);
        appendText(out, xAt(v), bottom + 18, "middle", label);
        out += "<line stroke=\"#000000\" x1=\"";
        appendNumber(out, xAt(v));
        out += "\" x2=\"";
        appendNumber(out, xAt(v));
        out += "\" y1=\"";
        appendNumber(out, bottom);
        out += "\" y2=\"";
        appendNumber(out, bottom + 5);
        out += "\"/>\n";
    }
    appendText(out, Left + plotWidth / 2, bottom + 40, "middle",
               chart.overTargets() ? "alvo" : "valor");

    // The series.
    if (bars) {
        const double slot = plotWidth / std::max(rows, 1.0);
        const double barWidth = std::max(slot * 0.8, 0.5);
        out += "<g fill=\"";
        out += Colours[0];
        out += "\">\n";
        for (qsizetype r = 0; r < chart.rowCount(); ++r) {
            const double p = chart.probability(r, 0);
            if (p <= 0)
                continue;
            out += "<rect x=\"";
            appendNumber(out, xAt(chart.value(r).toDouble()) - barWidth / 2);
            out += "\" y=\"";
            appendNumber(out, yAt(p));
            out += "\" width=\"";
            appendNumber(out, barWidth);
            out += "\" height=\"";
            appendNumber(out, bottom - yAt(p));
            out += "\"/>\n";
        }
        out += "</g>\n";
    } else {
        const bool dots = chart.rowCount() <= 60;
        for (qsizetype s = 0; s < count; ++s) {
            const char *colour = Colours[s % 8];
            const char *dash = Dashes[(s / 8) % 4];
            out += "<polyline fill=\"none\" stroke-width=\"2.5\" stroke-linejoin=\"round\" stroke=\"";
            out += colour;
            out += '"';
            if (*dash) {
                out += " stroke-dasharray=\"";
                out += dash;
                out += '"';
            }
            out += " points=\"";
            for (qsizetype r = 0; r < chart.rowCount(); ++r) {
                if (r > 0)
                    out += ' ';
                appendNumber(out, xAt(chart.value(r).toDouble()));
                out += ',';
                appendNumber(out, yAt(chart.probability(r, s)));
            }
            out += "\"/>\n";
            if (dots) {
                out += "<g fill=\"";
                out += colour;
                out += "\">\n";
                for (qsizetype r = 0; r < chart.rowCount(); ++r) {
                    out += "<circle r=\"3.5\" cx=\"";
                    appendNumber(out, xAt(chart.value(r).toDouble()));
                    out += "\" cy=\"";
                    appendNumber(out, yAt(chart.probability(r, s)));
                    out += "\"/>\n";
                }
                out += "</g>\n";
            }
        }
    }

    // The axes over the series.
    out += "<path fill=\"none\" stroke=\"#000000\" stroke-width=\"1\" d=\"M";
    appendNumber(out, Left);
    out += ' ';
    appendNumber(out, Top);
    out += " V";
    appendNumber(out, bottom);
    out += " H";
    appendNumber(out, Left + plotWidth);
    out += "\"/>\n";

    // Legend: a swatch in the series' colour and dash, then its name.
    for (qsizetype s = 0; s < count; ++s) {
        const double y = bottom + AxisRoom + LegendLine * double(s) + 10;
        out += "<line stroke-width=\"4\" x1=\"";
        appendNumber(out, Left);
        out += "\" x2=\"";
        appendNumber(out, Left + 30);
        out += "\" y1=\"";
        appendNumber(out, y);
        out += "\" y2=\"";
        appendNumber(out, y);
        out += "\" stroke=\"";
        out += Colours[s % 8];
        out += '"';
        if (const char *dash = Dashes[(s / 8) % 4]; *dash && !bars) {
            out += " stroke-dasharray=\"";
            out += dash;
            out += '"';
        }
        out += "/>\n";
        appendText(out, Left + 38, y + 4, "start", chart.series()[std::size_t(s)].name);
    }
    out += "</svg>\n";
}
