#include "dice/audit/AuditWords.h"

#include <cmath>

QString AuditWords::verdict(const AuditFinding &finding)
{
    switch (finding.verdict) {
    case AuditVerdict::TooFew:
        return QStringLiteral("poucas rolagens: ainda não dá para distinguir um dado viciado "
                              "de um honesto");
    case AuditVerdict::Ordinary:
        return QStringLiteral("nada fora do comum");
    case AuditVerdict::Rare:
        return QStringLiteral("raro: acontece 1 vez em %1 sessões assim")
            .arg(whole(oneIn(finding.pValue)));
    case AuditVerdict::Extreme:
        return QStringLiteral("quase impossível: menos de 1 vez em 1 milhão de sessões assim");
    case AuditVerdict::Impossible:
        return QStringLiteral("impossível com dados honestos: saiu o que estes dados não dão");
    }
    return {};
}

const char *AuditWords::code(AuditVerdict verdict)
{
    switch (verdict) {
    case AuditVerdict::TooFew: return "poucos_dados";
    case AuditVerdict::Ordinary: return "comum";
    case AuditVerdict::Rare: return "raro";
    case AuditVerdict::Extreme: return "extremo";
    case AuditVerdict::Impossible: return "impossivel";
    }
    return "";
}

qint64 AuditWords::oneIn(double pValue)
{
    if (!(pValue > 0))
        return 0;
    const double n = 1 / pValue;
    if (n < 100)
        return qint64(std::llround(n));
    const double scale = std::pow(10.0, std::floor(std::log10(n)) - 1);
    return qint64(std::llround(n / scale) * scale);
}

QString AuditWords::whole(qint64 value)
{
    QString digits = QString::number(value < 0 ? -value : value);
    if (digits.size() >= 5)
        for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
            digits.insert(at, u'.');
    return value < 0 ? u'-' + digits : digits;
}

QString AuditWords::decimal(double value, int places)
{
    return QString::number(value, 'f', places).replace(u'.', u',');
}

QString AuditWords::pValue(double p)
{
    if (!(p >= 0))
        return QStringLiteral("n/d");
    if (p >= 0.0001 || p == 0)
        return decimal(p, 4);
    return QString::number(p, 'e', 1).replace(u'.', u',');
}
