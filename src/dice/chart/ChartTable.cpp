#include "dice/chart/ChartTable.h"

#include "dice/chart/ChartAxes.h"
#include "dice/chart/OddsChart.h"
#include "dice/chart/OpposedOdds.h"
#include "dice/format/OddsText.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qsizetype LongestHeader = 12;
constexpr qsizetype LongestAlone = 30; // a single series' column has room for more
// A column: two blanks, the chance ("100,00 %", right-aligned under the header) and a place
// for the mark.
constexpr qsizetype ChanceWidth = 8;
constexpr qsizetype LongestBar = 32;

QByteArray header(const OddsChart &chart, qsizetype series)
{
    const QByteArray &name = chart.series()[std::size_t(series)].name;
    if (OddsText::width(name) <= (chart.seriesCount() == 1 ? LongestAlone : LongestHeader))
        return name;
    return QByteArray(1, char('A' + series));
}

void appendHeading(QByteArray &out, const OddsChart &chart, qsizetype series)
{
    const ChartSeries &one = chart.series()[std::size_t(series)];
    if (header(chart, series) != one.name) {
        out += header(chart, series);
        out += " = ";
    }
    out += one.name;
    out += ": média ";
    OddsText::appendDecimal(out, one.odds.mean(), 4);
    out += "; desvio padrão ";
    OddsText::appendDecimal(out, one.odds.standardDeviation(), 4);
    out += "; mínimo ";
    out += OddsText::decimal(one.odds.minimum());
    out += "; máximo ";
    out += OddsText::decimal(one.odds.maximum());
    out += '\n';
}

// "pelo menos" / "no máximo" / "exatamente", as the sentence above the table says it.
void appendViewLine(QByteArray &out, const OddsChart &chart, bool marked)
{
    out += "chance de tirar ";
    out += ChartAxes::viewWords(chart.view());
    out += chart.overTargets() ? " o alvo" : " o valor";
    if (marked)
        out += " (* a maior da linha)";
    out += '\n';
}

void appendCell(QByteArray &out, const OddsChart &chart, qsizetype row, qsizetype series,
                qsizetype width, bool marked)
{
    QByteArray cell = OddsText::percent(chart.probability(row, series), chart.certain(row, series));
    cell += " %";
    out += "  ";
    OddsText::appendPadded(out, cell, width);
    out += marked && chart.best(row, series) ? '*' : ' ';
}

// A column's header, right-aligned over its chances.
void appendHeader(QByteArray &out, const QByteArray &text, qsizetype width)
{
    out += "  ";
    OddsText::appendPadded(out, text, width);
    out += ' ';
}

void endLine(QByteArray &out)
{
    while (out.endsWith(' '))
        out.chop(1);
    out += '\n';
}

} // namespace

void ChartTable::append(QByteArray &out, const OddsChart &chart)
{
    const qsizetype count = chart.seriesCount();
    for (qsizetype s = 0; s < count; ++s)
        appendHeading(out, chart, s);
    const bool marked = chart.overTargets() && count > 1;
    appendViewLine(out, chart, marked);
    const QByteArray corner = chart.overTargets() ? "alvo" : "valor";

    qsizetype valueWidth = OddsText::width(corner);
    for (qsizetype r = 0; r < chart.rowCount(); ++r)
        valueWidth = std::max(valueWidth, OddsText::width(OddsText::decimal(chart.value(r))));

    if (count > MaxColumns) {
        // On its side: a row per series, a column per value, when that fits.
        qsizetype nameWidth = OddsText::width(corner);
        for (const ChartSeries &one : chart.series())
            nameWidth = std::max(nameWidth, OddsText::width(one.name));
        const qsizetype cell = std::max(ChanceWidth, valueWidth);
        if (nameWidth + chart.rowCount() * (cell + 3) <= Width) {
            out += corner;
            out += QByteArray(nameWidth - OddsText::width(corner), ' ');
            for (qsizetype r = 0; r < chart.rowCount(); ++r)
                appendHeader(out, OddsText::decimal(chart.value(r)), cell);
            endLine(out);
            for (qsizetype s = 0; s < count; ++s) {
                const QByteArray &name = chart.series()[std::size_t(s)].name;
                out += name;
                out += QByteArray(nameWidth - OddsText::width(name), ' ');
                for (qsizetype r = 0; r < chart.rowCount(); ++r)
                    appendCell(out, chart, r, s, cell, marked);
                endLine(out);
            }
            return;
        }
    }

    const qsizetype shown = std::min<qsizetype>(count, MaxColumns);
    std::vector<qsizetype> widths;
    OddsText::appendPadded(out, corner, valueWidth);
    for (qsizetype s = 0; s < shown; ++s) {
        const QByteArray name = header(chart, s);
        widths.push_back(std::max(ChanceWidth, OddsText::width(name)));
        appendHeader(out, name, widths.back());
    }
    endLine(out);
    const double highest = chart.highestProbability();
    for (qsizetype r = 0; r < chart.rowCount(); ++r) {
        OddsText::appendPadded(out, OddsText::decimal(chart.value(r)), valueWidth);
        for (qsizetype s = 0; s < shown; ++s)
            appendCell(out, chart, r, s, widths[std::size_t(s)], marked);
        if (count == 1 && highest > 0) {
            const auto eighths =
                qint64(std::lround(chart.probability(r, 0) / highest * double(LongestBar * 8)));
            if (eighths > 0) {
                out += "  ";
                OddsText::appendBar(out, eighths);
            }
        }
        endLine(out);
    }
    if (shown + 1 == count) {
        out += "a expressão ";
        out += QByteArray::number(count);
        out += " não cabe em 80 colunas; --csv ou --json trazem todas\n";
    } else if (shown < count) {
        out += "as expressões ";
        out += QByteArray::number(shown + 1);
        out += " a ";
        out += QByteArray::number(count);
        out += " não cabem em 80 colunas; --csv ou --json trazem todas\n";
    }
}

void ChartTable::appendOpposed(QByteArray &out, const QByteArray &first, const QByteArray &second,
                               const OpposedOdds &odds)
{
    out += first;
    out += " contra ";
    out += second;
    out += ": vence ";
    out += OddsText::percent(odds.beats, odds.beats == 1);
    out += " %; empata ";
    out += OddsText::percent(odds.ties, odds.ties == 1);
    out += " %; perde ";
    out += OddsText::percent(odds.loses, odds.loses == 1);
    out += " %\n";
}
