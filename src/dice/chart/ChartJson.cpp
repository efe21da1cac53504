#include "dice/chart/ChartJson.h"

#include "dice/chart/OddsChart.h"
#include "dice/chart/OpposedOdds.h"
#include "dice/format/JsonWriter.h"

void ChartJson::append(QByteArray &out, const OddsChart &chart, const OpposedOdds *opposed)
{
    out += "{\"visao\":";
    switch (chart.view()) {
    case ChartView::Exactly:
        out += "\"exatamente\"";
        break;
    case ChartView::AtLeast:
        out += "\"pelo_menos\"";
        break;
    case ChartView::AtMost:
        out += "\"no_maximo\"";
        break;
    }
    out += chart.overTargets() ? ",\"linhas_sao\":\"alvos\"" : ",\"linhas_sao\":\"valores\"";
    out += ",\"series\":[";
    for (std::size_t s = 0; s < chart.series().size(); ++s) {
        const ChartSeries &one = chart.series()[s];
        out += s == 0 ? "{\"expressao\":" : ",{\"expressao\":";
        JsonWriter::appendString(out, one.name);
        out += ",\"media\":";
        JsonWriter::appendDouble(out, one.odds.mean());
        out += ",\"desvio_padrao\":";
        JsonWriter::appendDouble(out, one.odds.standardDeviation());
        out += ",\"minimo\":";
        JsonWriter::appendValue(out, one.odds.minimum(), "minimo_fracao");
        out += ",\"maximo\":";
        JsonWriter::appendValue(out, one.odds.maximum(), "maximo_fracao");
        out += '}';
    }
    out += "],\"linhas\":[";
    for (qsizetype r = 0; r < chart.rowCount(); ++r) {
        out += r == 0 ? "{\"valor\":" : ",{\"valor\":";
        JsonWriter::appendValue(out, chart.value(r), "fracao");
        out += ",\"chances\":[";
        for (qsizetype s = 0; s < chart.seriesCount(); ++s) {
            if (s > 0)
                out += ',';
            JsonWriter::appendDouble(out, chart.probability(r, s));
        }
        out += "]}";
    }
    out += ']';
    if (opposed) {
        out += ",\"confronto\":{\"vence\":";
        JsonWriter::appendDouble(out, opposed->beats);
        out += ",\"empata\":";
        JsonWriter::appendDouble(out, opposed->ties);
        out += ",\"perde\":";
        JsonWriter::appendDouble(out, opposed->loses);
        out += '}';
    }
    out += "}\n";
}
