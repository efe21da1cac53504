#include "dice/chart/ChartCsv.h"

#include "dice/chart/OddsChart.h"
#include "dice/format/JsonWriter.h"

namespace {

void appendField(QByteArray &out, const QByteArray &text, char separator)
{
    QByteArray field = text;
    if (!field.isEmpty() && QByteArrayView("=+-@\t\r").contains(field.front()))
        field.prepend('\'');
    if (field.contains(separator) || field.contains('"') || field.contains('\n')
        || field.contains('\r')) {
        field.replace("\"", "\"\"");
        field = '"' + field + '"';
    }
    out += field;
}

} // namespace

void ChartCsv::append(QByteArray &out, const OddsChart &chart, Flavour flavour)
{
    const bool brazilian = flavour == Flavour::Brazilian;
    const char separator = brazilian ? ';' : ',';
    const char point = brazilian ? ',' : '.';
    out += chart.overTargets() ? "alvo" : "valor";
    for (const ChartSeries &one : chart.series()) {
        out += separator;
        appendField(out, one.name, separator);
    }
    out += "\r\n";
    QByteArray number;
    for (qsizetype r = 0; r < chart.rowCount(); ++r) {
        chart.value(r).appendDecimal(out, 10, point);
        for (qsizetype s = 0; s < chart.seriesCount(); ++s) {
            out += separator;
            number.clear();
            JsonWriter::appendDouble(number, chart.probability(r, s));
            if (brazilian)
                number.replace('.', ',');
            out += number;
        }
        out += "\r\n";
    }
}
