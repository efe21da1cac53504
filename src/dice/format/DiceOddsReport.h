#pragma once

#include "dice/odds/DiceDistribution.h"

#include <QByteArray>

#include <functional>

class DiceExpression;

// The odds of an expression as quessar-cli chances writes them, appended to a byte buffer
// (UTF-8, lines ending in "\n"). Numbers in text have a decimal comma; in JSON, full double
// precision.
//
// Text: a heading, then one row per value, with its chance, the chance of at least and of at
// most that value, in percent with two decimals, and a bar (in eighths of a character)
// scaled to the most likely value:
//   4d6kh3: média 12,2446; desvio padrão 2,8468; mínimo 3; máximo 18
//   valor  chance  pelo menos  no máximo
//       3  0,08 %    100,00 %     0,08 %
//       4  0,31 %     99,92 %     0,39 %  ▌
// A chance below 0,005 % shows as "<0,01", and one above 99,995 % that is not certain as
// ">99,99". A run of more than three such rare values at either end (the long tails of
// explosions) is folded into one line that counts them and gives their total. The rows take
// at most 72 columns (the bar at most 32), so a table fits 80 even shown indented.
//
// JSON, one object per line: {"expressao", "rotulo" (when labelled), "media",
// "desvio_padrao", "minimo", "maximo", "distribuicao": [{"valor", "probabilidade",
// "pelo_menos", "no_maximo"}]}; a value that is not whole carries "fracao" ("7/2"), and
// "minimo"/"maximo" then "minimo_fracao"/"maximo_fracao".
//
// An estimate (samples > 0) says so: in text a line after the heading with the number of
// rolls and the 95 % margins of error, in percentage points for the chances and for the mean
// ("estimativa: 100000 rolagens; margem de erro a 95 %: ±0,31 p.p., média ±0,0686"), in
// JSON "estimativa": {"amostras", "margem_de_erro", "margem_de_erro_media"} after the label.
// The margin of a probability p estimated from n rolls is 1.96 √(p(1 − p)/n); the largest
// over what is shown is given.
class DiceOddsReport
{
public:
    DiceOddsReport(const DiceExpression &expression, const DiceDistribution &odds,
                   qint64 samples = 0);

    // `written`, when given, is called after each row, so that a caller can pass long
    // distributions on (a million values make a hundred megabytes of JSON).
    void appendText(QByteArray &out, const std::function<void()> &written = {}) const;
    void appendJson(QByteArray &out, const std::function<void()> &written = {}) const;

    // Only the chances of exactly, at least and at most `target`:
    //   2d20kh1+5, alvo 15: exatamente 4,75 %; pelo menos 79,75 %; no máximo 25,00 %
    //   {"expressao": …, "alvo": 15, "exatamente": …, "pelo_menos": …, "no_maximo": …}
    void appendTargetText(QByteArray &out, Fraction target) const;
    void appendTargetJson(QByteArray &out, Fraction target) const;

    // Rows folded into one at either end when more than this many are rare.
    static constexpr qsizetype LongestRareRun = 3;
    // The widest bar, in characters.
    static constexpr int LongestBar = 32;

private:
    struct Row
    {
        Fraction value;
        double chance;
        double atLeast;
        double atMost;
    };

    void appendHeading(QByteArray &out) const;
    // {"expressao", "rotulo" and "estimativa" when there are.
    void appendJsonHead(QByteArray &out) const;
    // The largest 95 % margin of error of the probabilities in `rows` (in [0, 1]).
    double margin(const std::vector<double> &probabilities) const;

    const DiceExpression &m_expression;
    const DiceDistribution &m_odds;
    qint64 m_samples;
    std::vector<Row> m_rows;
};
