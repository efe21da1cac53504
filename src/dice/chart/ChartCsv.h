#pragma once

#include <QByteArray>

class OddsChart;

// An OddsChart as a spreadsheet reads it: a header row ("valor" or "alvo", then each series'
// name), then a row per value with each series' chance as a probability from 0 to 1 at full
// double precision (the shortest decimal that reads back as the same double).
//
// Two flavours: Plain, comma-separated with a decimal point (what most spreadsheets and
// programs read by default), and Brazilian, semicolon-separated with a decimal comma (what a
// spreadsheet set to Portuguese (Brazil) opens as numbers). Lines end in CR LF, as RFC 4180
// has it. A name is quoted when it holds the separator, a quote or a line break; one that
// begins with "=", "+", "-", "@", a tab or a carriage return gets a leading apostrophe, so
// that a spreadsheet shows it as text rather than running it as a formula ("-d2", or a label).
class ChartCsv
{
public:
    enum class Flavour { Plain, Brazilian };

    static void append(QByteArray &out, const OddsChart &chart, Flavour flavour);
};
