#include "dice/audit/AuditJson.h"

#include "dice/audit/AuditWords.h"
#include "dice/format/JsonWriter.h"

#include <cmath>

namespace {

void key(QByteArray &out, const char *name)
{
    out += '"';
    out += name;
    out += "\":";
}

void wholeField(QByteArray &out, const char *name, qint64 value)
{
    key(out, name);
    JsonWriter::appendWhole(out, value);
    out += ',';
}

// A number, or null for one that is not finite (JSON has no NaN).
void number(QByteArray &out, double value)
{
    if (std::isfinite(value))
        JsonWriter::appendDouble(out, value);
    else
        out += "null";
}

void doubleField(QByteArray &out, const char *name, double value)
{
    key(out, name);
    number(out, value);
    out += ',';
}

// The verdict's fields, the last of an object (no comma after).
void verdictFields(QByteArray &out, const AuditFinding &finding)
{
    key(out, "veredito");
    JsonWriter::appendString(out, AuditWords::code(finding.verdict));
    out += ',';
    doubleField(out, "p", finding.pValue);
    key(out, "texto");
    JsonWriter::appendString(out, AuditWords::verdict(finding).toUtf8());
}

void verdict(QByteArray &out, const char *name, const AuditFinding &finding)
{
    key(out, name);
    out += '{';
    verdictFields(out, finding);
    out += "},";
}

void fit(QByteArray &out, const GoodnessOfFit &test, const AuditFinding &finding)
{
    key(out, "ajuste");
    out += '{';
    doubleField(out, "qui_quadrado", test.statistic);
    wholeField(out, "graus_de_liberdade", test.degreesOfFreedom);
    key(out, "classes");
    out += '[';
    for (std::size_t b = 0; b < test.observed.size(); ++b) {
        out += b > 0 ? ",{" : "{";
        wholeField(out, "observado", test.observed[b]);
        key(out, "esperado");
        number(out, test.expected[b]);
        out += '}';
    }
    out += "],";
    verdictFields(out, finding);
    out += '}';
}

void expression(QByteArray &out, const ExpressionAudit &audit)
{
    out += '{';
    key(out, "expressao");
    JsonWriter::appendString(out, audit.expression.toUtf8());
    out += ',';
    wholeField(out, "rolagens", audit.rolls);
    if (!audit.refusal.isEmpty()) {
        doubleField(out, "media", audit.observedMean);
        key(out, "recusa");
        JsonWriter::appendString(out, audit.refusal.toUtf8());
        out += '}';
        return;
    }
    doubleField(out, "media", audit.observedMean);
    doubleField(out, "media_exata", audit.exactMean);
    doubleField(out, "erro_padrao", audit.standardError);
    wholeField(out, "impossiveis", audit.impossible);
    verdict(out, "teste_media", audit.mean);
    fit(out, audit.fit, audit.distribution);
    out += '}';
}

void extreme(QByteArray &out, const char *name, qint64 count, double expected,
             const AuditFinding &finding)
{
    key(out, name);
    out += '{';
    wholeField(out, "contagem", count);
    doubleField(out, "esperado", expected);
    verdictFields(out, finding);
    out += '}';
}

void die(QByteArray &out, const DieAudit &audit)
{
    out += '{';
    wholeField(out, "faces", audit.faces);
    wholeField(out, "sorteios", audit.draws);
    wholeField(out, "impossiveis", audit.impossible);
    if (!audit.counts.empty()) {
        key(out, "contagens");
        out += '[';
        for (std::size_t f = 0; f < audit.counts.size(); ++f) {
            if (f > 0)
                out += ',';
            JsonWriter::appendWhole(out, audit.counts[f]);
        }
        out += "],";
    }
    fit(out, audit.fit, audit.finding);
    if (audit.hasExtremes) {
        out += ',';
        extreme(out, "menor", audit.lowest, audit.expectedEach, audit.lowestFinding);
        out += ',';
        extreme(out, "maior", audit.highest, audit.expectedEach, audit.highestFinding);
    }
    out += '}';
}

} // namespace

void AuditJson::append(QByteArray &out, const AuditReport &report)
{
    out += '{';
    wholeField(out, "rolagens", report.rolls);
    key(out, "por_rotulo");
    out += report.byLabel ? "true," : "false,";
    key(out, "grupos");
    out += '[';
    for (std::size_t g = 0; g < report.groups.size(); ++g) {
        const AuditGroup &group = report.groups[g];
        out += g > 0 ? ",{" : "{";
        if (report.byLabel) {
            key(out, "rotulo");
            JsonWriter::appendString(out, group.label.toUtf8());
            out += ',';
        }
        wholeField(out, "rolagens", group.rolls);
        wholeField(out, "sem_sorteios", group.rollsWithoutDraws);
        key(out, "expressoes");
        out += '[';
        for (std::size_t e = 0; e < group.expressions.size(); ++e) {
            if (e > 0)
                out += ',';
            expression(out, group.expressions[e]);
        }
        out += "],";
        key(out, "dados");
        out += '[';
        for (std::size_t d = 0; d < group.dice.size(); ++d) {
            if (d > 0)
                out += ',';
            die(out, group.dice[d]);
        }
        out += "],";
        key(out, "sorte");
        out += '{';
        wholeField(out, "rolagens", group.luck.rolls);
        doubleField(out, "media", group.luck.meanLuck);
        doubleField(out, "esperada", 0.5);
        doubleField(out, "erro_padrao", group.luck.standardError);
        verdictFields(out, group.luck.finding);
        out += "}}";
    }
    out += "]}\n";
}
