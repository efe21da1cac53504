#pragma once

#include "dice/audit/AuditReport.h"

#include <QString>

// The words both renderings of the audit give a verdict in, so that the text and the JSON
// never say it differently.
class AuditWords
{
public:
    // "nada fora do comum", "raro: acontece 1 vez em 400 sessões assim", …
    static QString verdict(const AuditFinding &finding);
    // A short code for programs: "poucos_dados", "comum", "raro", "extremo", "impossivel".
    static const char *code(AuditVerdict verdict);
    // How many sessions like this one it takes, on average, for fair dice to stray as far:
    // 1/p to two significant digits (400, 8300).
    static qint64 oneIn(double pValue);
    // A number with a decimal comma and `places` decimals (12,24); digits grouped by dots
    // in whole numbers of five digits or more (8300, 12.000).
    static QString decimal(double value, int places);
    static QString whole(qint64 value);
    // A p-value: four decimals, or two significant digits below 0,0001 (2,5e-07).
    static QString pValue(double p);
};
