#include "dice/audit/AuditText.h"

#include "dice/audit/AuditWords.h"

namespace {

constexpr qsizetype Columns = 80;

// A name on one line and at most AuditText::LongestName characters.
QString shown(const QString &name)
{
    QString line = name;
    for (QChar &c : line)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    if (line.size() > AuditText::LongestName)
        line = line.first(AuditText::LongestName - 1) + u'…';
    return line;
}

void line(QByteArray &out, int indent, const QString &text)
{
    out += QByteArray(indent, ' ');
    out += text.toUtf8();
    out += '\n';
}

void verdictLine(QByteArray &out, int indent, const AuditFinding &finding)
{
    line(out, indent, AuditWords::verdict(finding));
}

QString fitLine(const QString &what, const GoodnessOfFit &fit)
{
    return what + QStringLiteral(" χ² %1 com %2 graus de liberdade, p = %3")
                      .arg(AuditWords::decimal(fit.statistic, 2),
                           QString::number(fit.degreesOfFreedom), AuditWords::pValue(fit.pValue));
}

QString plural(qint64 count, const char *one, const char *many)
{
    return AuditWords::whole(count) + u' ' + QString::fromUtf8(count == 1 ? one : many);
}

void appendExpression(QByteArray &out, int indent, const ExpressionAudit &audit)
{
    line(out, indent, shown(audit.expression) + QStringLiteral(": ")
                          + plural(audit.rolls, "rolagem", "rolagens"));
    if (!audit.refusal.isEmpty()) {
        line(out, indent + 2, QStringLiteral("média %1; sem as chances exatas, não auditada:")
                                  .arg(AuditWords::decimal(audit.observedMean, 2)));
        // The refusal's reason may be long: wrapped at blanks.
        QString rest = audit.refusal;
        const qsizetype width = Columns - indent - 4;
        while (rest.size() > width) {
            qsizetype cut = rest.lastIndexOf(u' ', width);
            if (cut <= 0)
                cut = width;
            line(out, indent + 4, rest.first(cut));
            rest = rest.sliced(cut).trimmed();
        }
        line(out, indent + 4, rest);
        return;
    }
    if (audit.impossible > 0)
        line(out, indent + 2, plural(audit.impossible, "total que a expressão não dá",
                                     "totais que a expressão não dá"));
    line(out, indent + 2, QStringLiteral("média %1; exata %2 ± %3 (erro padrão)")
                              .arg(AuditWords::decimal(audit.observedMean, 2),
                                   AuditWords::decimal(audit.exactMean, 2),
                                   AuditWords::decimal(audit.standardError, 2)));
    verdictLine(out, indent + 4, audit.mean);
    if (audit.fit.testable())
        line(out, indent + 2, fitLine(QStringLiteral("somas:"), audit.fit));
    else
        line(out, indent + 2, QStringLiteral("somas: poucas para o teste"));
    verdictLine(out, indent + 4, audit.distribution);
}

void appendDie(QByteArray &out, int indent, const DieAudit &audit)
{
    const double expected = double(audit.draws - audit.impossible) / audit.faces;
    line(out, indent, QStringLiteral("d%1: %2 (esperado %3 de cada face)")
                          .arg(QString::number(audit.faces),
                               plural(audit.draws, "sorteio", "sorteios"),
                               AuditWords::decimal(expected, 1)));
    if (audit.impossible > 0)
        line(out, indent + 2, plural(audit.impossible, "face fora de 1 a ", "faces fora de 1 a ")
                                  + QString::number(audit.faces));
    // The counts of small dice, as many to a line as fit.
    if (audit.faces <= 20 && !audit.counts.empty()) {
        QString row;
        for (quint32 face = 1; face <= audit.faces; ++face) {
            const QString cell = QStringLiteral("%1: %2").arg(QString::number(face),
                                                              AuditWords::whole(audit.counts[face - 1]));
            if (!row.isEmpty() && indent + 2 + row.size() + 2 + cell.size() > Columns) {
                line(out, indent + 2, row);
                row.clear();
            }
            row += (row.isEmpty() ? QString() : QStringLiteral("  ")) + cell;
        }
        line(out, indent + 2, row);
    }
    if (audit.fit.testable())
        line(out, indent + 2, fitLine(QStringLiteral("faces:"), audit.fit));
    else
        line(out, indent + 2, QStringLiteral("faces: poucas para o teste"));
    verdictLine(out, indent + 4, audit.finding);
    if (audit.hasExtremes && audit.faces == 20) {
        line(out, indent + 2, QStringLiteral("1s: %1 e 20s: %2 (esperado %3 de cada)")
                                  .arg(AuditWords::whole(audit.lowest), AuditWords::whole(audit.highest),
                                       AuditWords::decimal(audit.expectedEach, 1)));
        verdictLine(out, indent + 4, AuditFinding::worse(audit.lowestFinding, audit.highestFinding));
    }
}

void appendGroup(QByteArray &out, int indent, const AuditGroup &group)
{
    for (const ExpressionAudit &expression : group.expressions)
        appendExpression(out, indent, expression);
    for (const DieAudit &die : group.dice)
        appendDie(out, indent, die);
    if (group.rollsWithoutDraws == group.rolls)
        line(out, indent, QStringLiteral("sem os sorteios (saída de --json): faces não auditadas"));
    else if (group.rollsWithoutDraws > 0)
        line(out, indent, plural(group.rollsWithoutDraws, "rolagem sem os sorteios",
                                 "rolagens sem os sorteios"));
    const LuckSummary &luck = group.luck;
    if (luck.rolls == 0)
        return;
    line(out, indent, QStringLiteral("sorte média: %1 % (50 % ± %2 com dados honestos)")
                          .arg(AuditWords::decimal(100 * luck.meanLuck, 1),
                               AuditWords::decimal(100 * luck.standardError, 1)));
    verdictLine(out, indent + 2, luck.finding);
}

} // namespace

void AuditText::append(QByteArray &out, const AuditReport &report)
{
    line(out, 0, QStringLiteral("Auditoria de sorte: ") + plural(report.rolls, "rolagem", "rolagens"));
    if (report.rolls == 0) {
        line(out, 0, QStringLiteral("nenhuma rolagem para auditar"));
        return;
    }
    for (const AuditGroup &group : report.groups) {
        out += '\n';
        if (report.byLabel) {
            const QString name = group.label.isEmpty()
                                     ? QStringLiteral("sem rótulo")
                                     : QStringLiteral("rótulo \"") + shown(group.label) + u'"';
            line(out, 0, name + QStringLiteral(": ") + plural(group.rolls, "rolagem", "rolagens"));
            appendGroup(out, 2, group);
        } else {
            appendGroup(out, 0, group);
        }
    }
}
