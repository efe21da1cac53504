#pragma once

#include <QByteArray>

class OddsChart;
struct OpposedOdds;

// An OddsChart as one line of JSON, written with JsonWriter:
//   {"visao": "exatamente" | "pelo_menos" | "no_maximo", "linhas_sao": "valores" | "alvos",
//    "series": [{"expressao", "media", "desvio_padrao", "minimo", "maximo"}],
//    "linhas": [{"valor", "chances": [one probability per series]}],
//    "confronto": {"vence", "empata", "perde"}}
// "confronto" (the first series against the second) only when `opposed` is given; a value
// that is not whole carries "fracao" ("7/2"), as in every other output.
class ChartJson
{
public:
    static void append(QByteArray &out, const OddsChart &chart,
                       const OpposedOdds *opposed = nullptr);
};
