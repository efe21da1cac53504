#pragma once

#include <QByteArray>

class OddsChart;
struct OpposedOdds;

// An OddsChart as quessar-cli chances writes it in the terminal (UTF-8, decimal comma,
// lines ending in "\n"): a heading line per series with its mean, standard deviation,
// minimum and maximum, a line that says what the chances are, then the table.
//
//   2d20kh1+5: média 18,825; desvio padrão 4,7111; mínimo 6; máximo 25
//   1d20+8: média 18,5; desvio padrão 5,7663; mínimo 9; máximo 28
//   chance de tirar pelo menos o alvo (* a maior da linha)
//   alvo  2d20kh1+5     1d20+8
//     10   95,75 %*   95,00 %
//
// A column per series, headed by its name when that takes at most 12 characters (30 when it
// is the only one), otherwise
// by a letter that its heading line gives ("A = 2d20kh1+5+1d4+…: média …"). Up to
// MaxColumns series the table fits 80 columns. With more, it is turned on its side (a row
// per series, a column per value) when the values fit across 80 columns; otherwise it shows
// the first MaxColumns and says that --csv and --json hold every one. In a chart of several
// series the highest chance of each row over targets is marked with "*" (so the mark needs
// no colour). A single series also gets a bar in eighths of a character, scaled to its
// highest chance.
class ChartTable
{
public:
    static constexpr int MaxColumns = 4;
    static constexpr int Width = 80;

    static void append(QByteArray &out, const OddsChart &chart);
    // "2d20kh1+5 contra 1d20+8: vence 52,34 %; empata 4,12 %; perde 43,54 %"
    static void appendOpposed(QByteArray &out, const QByteArray &first, const QByteArray &second,
                              const OpposedOdds &odds);
};
