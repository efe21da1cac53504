// The chart model against each distribution's own columns, one roll against another against
// the sum over every pair of outcomes, and the table, CSV and SVG drawn from the model.

#include "DiceTestSupport.h"

#include "dice/chart/ChartCsv.h"
#include "dice/chart/ChartSvg.h"
#include "dice/chart/ChartTable.h"
#include "dice/chart/OddsChart.h"
#include "dice/chart/OpposedOdds.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

using dicetest::odds;
using dicetest::parsed;

std::vector<ChartSeries> seriesOf(const QStringList &texts)
{
    std::vector<ChartSeries> series;
    for (const QString &text : texts)
        series.push_back({text.toUtf8(), odds(parsed(text))});
    return series;
}

void expectClose(double actual, double expected, const std::string &where)
{
    EXPECT_NEAR(actual, expected, 1e-12 * std::max(1.0, expected)) << where;
}

// Every cell is the series' own chance in its view: over targets (inside, below and above
// each range, between fractional values) and over the union of every series' values.
TEST(OddsChart, EachColumnIsItsDistributionsOwnColumn)
{
    const QStringList texts{"2d20kh1+5", "1d20+8", "d6/2", "10d10>=8", "3d6!"};
    const std::vector<Fraction> targets{-3, 0, *Fraction::of(3, 2), 10, 15, 20, 26, 29, 100};
    for (const ChartView view : {ChartView::Exactly, ChartView::AtLeast, ChartView::AtMost}) {
        for (const bool overTargets : {true, false}) {
            const OddsChart chart = overTargets ? OddsChart(seriesOf(texts), view, targets)
                                                : OddsChart(seriesOf(texts), view);
            std::set<Fraction> expectedRows;
            if (overTargets) {
                expectedRows.insert(targets.begin(), targets.end());
            } else {
                for (const ChartSeries &one : chart.series())
                    one.odds.forEach([&](Fraction v, double) { expectedRows.insert(v); });
            }
            ASSERT_EQ(chart.rowCount(), qsizetype(expectedRows.size()));
            qsizetype r = 0;
            for (const Fraction v : expectedRows) {
                ASSERT_EQ(chart.value(r), v);
                for (qsizetype s = 0; s < chart.seriesCount(); ++s) {
                    const DiceDistribution &d = chart.series()[std::size_t(s)].odds;
                    const double expected = view == ChartView::Exactly  ? d.probabilityOf(v)
                                            : view == ChartView::AtLeast ? d.atLeast(v)
                                                                         : d.atMost(v);
                    expectClose(chart.probability(r, s), expected,
                                texts[s].toStdString() + " at " + v.decimal(4, '.').toStdString());
                }
                ++r;
            }
        }
    }
}

// Certain means certain by the bounds; the best of a row is marked, ties all of them, and
// nothing when the row is 0 everywhere or there is one series.
TEST(OddsChart, MarksTheBestOfEachRowAndWhatIsCertain)
{
    const OddsChart chart(seriesOf({"1d20+8", "2d20kh1+5", "1d20+8"}), ChartView::AtLeast,
                          {9, 15, 25, 40});
    EXPECT_TRUE(chart.certain(0, 0));
    EXPECT_FALSE(chart.certain(0, 1));
    // 9: 1d20+8 certain twice; 15: 2d20kh1+5 (79,75 % against 70 %); 25: 1d20+8 (20 % against
    // 9,75 %); 40: no one.
    const std::vector<std::vector<bool>> best{
        {true, false, true}, {false, true, false}, {true, false, true}, {false, false, false}};
    for (qsizetype r = 0; r < 4; ++r) {
        for (qsizetype s = 0; s < 3; ++s)
            EXPECT_EQ(chart.best(r, s), best[std::size_t(r)][std::size_t(s)]) << r << ' ' << s;
    }
    const OddsChart alone(seriesOf({"3d6"}), ChartView::AtLeast, {10});
    EXPECT_FALSE(alone.best(0, 0));
}

// The chances of beating, tying and losing are the sums over every pair of outcomes, for
// whole and fractional values, overlapping, nested and apart; the difference's distribution
// gives the same three.
TEST(OpposedOdds, EqualTheSumOverEveryPairOfOutcomes)
{
    const std::pair<const char *, const char *> pairs[] = {
        {"2d20kh1+5", "1d20+8"}, {"1d20+8", "2d20kh1+5"}, {"d6/2", "d4"},  {"3d6", "3d6"},
        {"d4", "d4+10"},         {"d4+10", "d4"},         {"4dF", "0"},    {"10d10>=8", "2d6-4"},
        {"3d6!", "4d6kh3"},      {"1d100", "d2"},
    };
    for (const auto &[a, b] : pairs) {
        const DiceDistribution first = odds(parsed(a));
        const DiceDistribution second = odds(parsed(b));
        long double beats = 0, ties = 0, loses = 0;
        first.forEach([&](Fraction x, double p) {
            second.forEach([&](Fraction y, double q) {
                (x > y ? beats : x == y ? ties : loses) += (long double)p * q;
            });
        });
        const OpposedOdds opposed = OpposedOdds::of(first, second);
        const std::string where = std::string(a) + " vs " + b;
        expectClose(opposed.beats, double(beats), where);
        expectClose(opposed.ties, double(ties), where);
        expectClose(opposed.loses, double(loses), where);
        expectClose(opposed.beats + opposed.ties + opposed.loses, 1, where);

        const auto difference = OpposedOdds::difference(first, second);
        ASSERT_TRUE(difference) << where;
        expectClose(difference->atLeast(*Fraction::of(1, 1'000'000)), double(beats), where);
        expectClose(difference->probabilityOf(0), double(ties), where);
        expectClose(difference->atMost(*Fraction::of(-1, 1'000'000)), double(loses), where);
    }
}

// Up to four series of names up to 12 characters (and longer ones by a letter) fit 80
// columns with values as wide as a long fraction; more columns either turn the table on its
// side or are left to --csv and --json, said so.
TEST(ChartTable, FitsEightyColumns)
{
    struct Row
    {
        QStringList texts;
        std::vector<Fraction> targets; // none: every value
        const char *last;              // the last line, or a text it must hold
    };
    const Row rows[] = {
        {{"2d20kh1+5", "1d20+8", "123456789012+d2", "1d2+1d2+1d2+1d2+1d2"}, {}, ""},
        {{"d7/3", "-d1000-1000000000000", "1d2+1d2+1d2+1d2+1d2+1d2", "2d4"}, {}, ""},
        {{"1d10>=8", "2d10>=8", "3d10>=8", "4d10>=8", "5d10>=8", "6d10>=8"},
         {1, 2, 3, 4, 5, 6}, "6d10>=8   88,24 %*   57,98 %*"},
        {{"3d6", "4d6", "5d6", "6d6", "7d6"}, {}, "a expressão 5 não cabe em 80 colunas"},
        {{"3d6", "4d6", "5d6", "6d6", "7d6", "8d6"}, {}, "as expressões 5 a 6 não cabem"},
    };
    for (const Row &row : rows) {
        const OddsChart chart = row.targets.empty()
                                    ? OddsChart(seriesOf(row.texts), ChartView::AtMost)
                                    : OddsChart(seriesOf(row.texts), ChartView::AtLeast,
                                                row.targets);
        QByteArray out;
        ChartTable::append(out, chart);
        const QStringList lines = QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
        for (qsizetype i = row.texts.size() + 1; i < lines.size(); ++i)
            EXPECT_LE(lines[i].size(), 80) << lines[i].toStdString();
        EXPECT_TRUE(lines.last().contains(QString::fromUtf8(row.last))) << out.toStdString();
        // Every row of the table, and each column's chances right under its header.
        EXPECT_EQ(lines.size(), row.texts.size() + 2
                                    + (row.texts.size() > 4 && row.targets.empty())
                                    + (row.targets.empty() || row.texts.size() <= 4
                                           ? chart.rowCount()
                                           : chart.seriesCount()));
    }
    // A long name goes by its letter, its heading line saying which.
    QByteArray out;
    ChartTable::append(out, OddsChart(seriesOf({"1d2+1d2+1d2+1d2+1d2", "d4"}), ChartView::Exactly));
    EXPECT_TRUE(out.startsWith("A = 1d2+1d2+1d2+1d2+1d2: média 7,5;"));
    EXPECT_TRUE(out.contains("\nvalor         A         d4\n    1    0,00 %    25,00 %\n"));
}

// Both flavours read back cell by cell as the chart's doubles; names that a spreadsheet would
// take for formulas or that hold the separator are kept as text.
TEST(ChartCsv, BothFlavoursReadBackExactly)
{
    std::vector<ChartSeries> series = seriesOf({"d6/4", "-d2", "2d20kh1+5"});
    series[2].name = "a;b,\"c\"";
    const OddsChart chart(std::move(series), ChartView::AtLeast);
    for (const auto flavour : {ChartCsv::Flavour::Plain, ChartCsv::Flavour::Brazilian}) {
        const bool br = flavour == ChartCsv::Flavour::Brazilian;
        QByteArray out;
        ChartCsv::append(out, chart, flavour);
        const QList<QByteArray> lines = out.split('\n');
        ASSERT_EQ(lines.size(), chart.rowCount() + 2); // the header, the rows, "" after the last
        EXPECT_EQ(lines[0], br ? QByteArray("valor;d6/4;'-d2;\"a;b,\"\"c\"\"\"\r")
                               : QByteArray("valor,d6/4,'-d2,\"a;b,\"\"c\"\"\"\r"));
        for (qsizetype r = 0; r < chart.rowCount(); ++r) {
            QByteArray line = lines[r + 1];
            ASSERT_TRUE(line.endsWith('\r'));
            line.chop(1);
            const QList<QByteArray> cells = line.split(br ? ';' : ',');
            ASSERT_EQ(cells.size(), 4) << line.toStdString();
            QByteArray value;
            chart.value(r).appendDecimal(value, 10, br ? ',' : '.');
            EXPECT_EQ(cells[0], value);
            for (qsizetype s = 0; s < 3; ++s) {
                QByteArray cell = cells[s + 1];
                EXPECT_EQ(cell.contains(br ? '.' : ','), false) << cell.toStdString();
                cell.replace(',', '.');
                EXPECT_EQ(cell.toDouble(), chart.probability(r, s)) << cell.toStdString();
            }
        }
    }
}

// The picture is well-formed XML with its viewBox and title, one series drawn per expression
// (bars for one, lines for several) and a legend holding every name as written, escaped.
TEST(ChartSvg, IsValidXmlWithTitleAxesAndLegend)
{
    std::vector<ChartSeries> series = seriesOf({"2d20kh1+5", "1d20+8", "3d6"});
    series[2].name = "<3d6> & \"mais\"";
    for (const std::size_t count : {std::size_t(1), std::size_t(3)}) {
        const OddsChart chart(std::vector<ChartSeries>(series.begin(), series.begin() + count),
                              ChartView::AtLeast, {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
        QByteArray svg;
        ChartSvg::append(svg, chart);
        QXmlStreamReader xml(svg);
        QStringList texts;
        int rects = 0, lines = 0;
        QString title, viewBox;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"svg")
                viewBox = xml.attributes().value("viewBox").toString();
            else if (xml.name() == u"title")
                title = xml.readElementText();
            else if (xml.name() == u"text")
                texts.append(xml.readElementText());
            else if (xml.name() == u"rect")
                ++rects;
            else if (xml.name() == u"polyline")
                ++lines;
        }
        ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_EQ(viewBox.section(' ', 0, 1), "0 0");
        EXPECT_EQ(title, "Chance de tirar pelo menos cada alvo");
        EXPECT_TRUE(texts.contains(title));
        for (std::size_t s = 0; s < count; ++s)
            EXPECT_TRUE(texts.contains(QString::fromUtf8(series[s].name))) << s;
        EXPECT_TRUE(texts.contains("0 %"));
        EXPECT_TRUE(texts.contains("20 %")) << texts.join('|').toStdString();
        EXPECT_TRUE(texts.contains("10") && texts.contains("20"));
        EXPECT_EQ(rects, count == 1 ? 1 + 11 : 1); // the background, then a bar per target
        EXPECT_EQ(lines, count == 1 ? 0 : int(count));
    }
}

} // namespace
