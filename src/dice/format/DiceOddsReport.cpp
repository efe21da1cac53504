#include "dice/format/DiceOddsReport.h"

#include "dice/expression/DiceExpression.h"
#include "dice/format/DiceOutcomeFormat.h"
#include "dice/format/JsonWriter.h"
#include "dice/format/OddsText.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int Columns = 72;
// 95 % of a normal distribution lies within this many standard deviations of its mean.
constexpr double Z95 = 1.959963984540054;

void appendJsonValue(QByteArray &out, const char *key, Fraction value)
{
    out += '"';
    out += key;
    out += "\":";
    JsonWriter::appendValue(out, value, (QByteArray(key) + "_fracao").constData());
}

} // namespace

using Text = OddsText;

DiceOddsReport::DiceOddsReport(const DiceExpression &expression, const DiceDistribution &odds,
                               qint64 samples)
    : m_expression(expression), m_odds(odds), m_samples(samples)
{
    odds.forEach([&](Fraction value, double p) { m_rows.push_back({value, p, 0, 0}); });
    std::vector<double> atMost;
    std::vector<double> atLeast;
    odds.cumulative(atMost, atLeast);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        m_rows[i].atMost = atMost[i];
        m_rows[i].atLeast = atLeast[i];
    }
}

double DiceOddsReport::margin(const std::vector<double> &probabilities) const
{
    double widest = 0;
    for (const double p : probabilities)
        widest = std::max(widest, Z95 * std::sqrt(p * (1 - p) / double(m_samples)));
    return widest;
}

void DiceOddsReport::appendHeading(QByteArray &out) const
{
    out += m_expression.shownUtf8();
    out += ": média ";
    Text::appendDecimal(out, m_odds.mean(), 4);
    out += "; desvio padrão ";
    Text::appendDecimal(out, m_odds.standardDeviation(), 4);
    out += "; mínimo ";
    out += Text::decimal(m_odds.minimum());
    out += "; máximo ";
    out += Text::decimal(m_odds.maximum());
    AppendDiceLabel(out, m_expression);
    out += '\n';
    if (m_samples > 0) {
        std::vector<double> shown;
        for (const Row &row : m_rows)
            shown.insert(shown.end(), {row.chance, row.atLeast, row.atMost});
        out += "estimativa: ";
        out += QByteArray::number(m_samples);
        out += " rolagens; margem de erro a 95 %: ±";
        Text::appendDecimal(out, margin(shown) * 100, 2);
        out += " p.p., média ±";
        Text::appendDecimal(out, Z95 * m_odds.standardDeviation() / std::sqrt(double(m_samples)), 4);
        out += '\n';
    }
}

void DiceOddsReport::appendText(QByteArray &out, const std::function<void()> &written) const
{
    appendHeading(out);
    const auto rare = [](const Row &row) { return row.chance < 0.00005; };
    qsizetype first = 0;
    qsizetype end = qsizetype(m_rows.size());
    while (first < end && rare(m_rows[std::size_t(first)]))
        ++first;
    while (end > first && rare(m_rows[std::size_t(end - 1)]))
        --end;
    if (first <= LongestRareRun)
        first = 0;
    if (qsizetype(m_rows.size()) - end <= LongestRareRun)
        end = qsizetype(m_rows.size());

    qsizetype width = 5; // "valor"
    double likeliest = 0;
    for (const Row &row : m_rows) {
        width = std::max(width, qsizetype(Text::decimal(row.value).size()));
        likeliest = std::max(likeliest, row.chance);
    }
    const qsizetype bar = std::clamp<qsizetype>(Columns - (width + 35), 5, LongestBar);

    const auto fold = [&](qsizetype from, qsizetype to) {
        double together = 0;
        for (qsizetype i = from; i < to; ++i)
            together += m_rows[std::size_t(i)].chance;
        out += QByteArray(width - 1, ' ');
        out += "\xE2\x80\xA6 "; // …
        out += QByteArray::number(to - from);
        out += " valores raros, de ";
        out += Text::decimal(m_rows[std::size_t(from)].value);
        out += " a ";
        out += Text::decimal(m_rows[std::size_t(to - 1)].value);
        out += ": juntos ";
        out += Text::percent(together, from == 0 && to == qsizetype(m_rows.size()));
        out += " %\n";
    };

    Text::appendPadded(out, "valor", width);
    out += "    chance  pelo menos  no m\xC3\xA1ximo\n";
    if (first > 0)
        fold(0, first);
    const qsizetype last = qsizetype(m_rows.size()) - 1;
    for (qsizetype i = first; i < end; ++i) {
        const Row &row = m_rows[std::size_t(i)];
        Text::appendPadded(out, Text::decimal(row.value), width);
        out += "  ";
        Text::appendPadded(out, Text::percent(row.chance, m_rows.size() == 1), 6);
        out += " %  ";
        Text::appendPadded(out, Text::percent(row.atLeast, i == 0), 8);
        out += " %  ";
        Text::appendPadded(out, Text::percent(row.atMost, i == last), 7);
        out += " %";
        const auto eighths = qint64(std::lround(row.chance / likeliest * double(bar * 8)));
        if (eighths > 0) {
            out += "  ";
            Text::appendBar(out, eighths);
        }
        out += '\n';
        if (written)
            written();
    }
    if (end < qsizetype(m_rows.size()))
        fold(end, qsizetype(m_rows.size()));
}

void DiceOddsReport::appendJsonHead(QByteArray &out) const
{
    out += "{\"expressao\":";
    JsonWriter::appendString(out, m_expression.shownUtf8());
    if (!m_expression.label().isEmpty()) {
        out += ",\"rotulo\":";
        JsonWriter::appendString(out, m_expression.label().toUtf8());
    }
    if (m_samples == 0)
        return;
    std::vector<double> shown;
    for (const Row &row : m_rows)
        shown.insert(shown.end(), {row.chance, row.atLeast, row.atMost});
    out += ",\"estimativa\":{\"amostras\":";
    out += QByteArray::number(m_samples);
    out += ",\"margem_de_erro\":";
    JsonWriter::appendDouble(out, margin(shown));
    out += ",\"margem_de_erro_media\":";
    JsonWriter::appendDouble(out, Z95 * m_odds.standardDeviation() / std::sqrt(double(m_samples)));
    out += '}';
}

void DiceOddsReport::appendJson(QByteArray &out, const std::function<void()> &written) const
{
    appendJsonHead(out);
    out += ",\"media\":";
    JsonWriter::appendDouble(out, m_odds.mean());
    out += ",\"desvio_padrao\":";
    JsonWriter::appendDouble(out, m_odds.standardDeviation());
    out += ',';
    appendJsonValue(out, "minimo", m_odds.minimum());
    out += ',';
    appendJsonValue(out, "maximo", m_odds.maximum());
    out += ",\"distribuicao\":[";
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const Row &row = m_rows[i];
        out += i == 0 ? "{\"valor\":" : ",{\"valor\":";
        JsonWriter::appendValue(out, row.value, "fracao");
        out += ",\"probabilidade\":";
        JsonWriter::appendDouble(out, row.chance);
        out += ",\"pelo_menos\":";
        JsonWriter::appendDouble(out, row.atLeast);
        out += ",\"no_maximo\":";
        JsonWriter::appendDouble(out, row.atMost);
        out += '}';
        if (written)
            written();
    }
    out += "]}\n";
}

void DiceOddsReport::appendTargetText(QByteArray &out, Fraction target) const
{
    const double exactly = m_odds.probabilityOf(target);
    const double atLeast = m_odds.atLeast(target);
    const double atMost = m_odds.atMost(target);
    out += m_expression.shownUtf8();
    out += ", alvo ";
    out += Text::decimal(target);
    out += ": exatamente ";
    out += Text::percent(exactly, exactly == 1);
    out += " %; pelo menos ";
    out += Text::percent(atLeast, atLeast == 1);
    out += " %; no m\xC3\xA1ximo ";
    out += Text::percent(atMost, atMost == 1);
    out += " %";
    if (m_samples > 0) {
        out += " (estimativa: ";
        out += QByteArray::number(m_samples);
        out += " rolagens; margem de erro a 95 %: ±";
        Text::appendDecimal(out, margin({exactly, atLeast, atMost}) * 100, 2);
        out += " p.p.)";
    }
    AppendDiceLabel(out, m_expression);
    out += '\n';
}

void DiceOddsReport::appendTargetJson(QByteArray &out, Fraction target) const
{
    appendJsonHead(out);
    out += ',';
    appendJsonValue(out, "alvo", target);
    out += ",\"exatamente\":";
    JsonWriter::appendDouble(out, m_odds.probabilityOf(target));
    out += ",\"pelo_menos\":";
    JsonWriter::appendDouble(out, m_odds.atLeast(target));
    out += ",\"no_maximo\":";
    JsonWriter::appendDouble(out, m_odds.atMost(target));
    out += "}\n";
}
