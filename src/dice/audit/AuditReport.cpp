#include "dice/audit/AuditReport.h"

AuditFinding AuditFinding::of(double pValue, qint64 sample, bool testable)
{
    if (!testable || sample < MinimumSample || !(pValue >= 0))
        return {AuditVerdict::TooFew, 1};
    const AuditVerdict verdict = pValue < ExtremeBelow ? AuditVerdict::Extreme
                                 : pValue < RareBelow  ? AuditVerdict::Rare
                                                       : AuditVerdict::Ordinary;
    return {verdict, pValue};
}

AuditFinding AuditFinding::worse(const AuditFinding &a, const AuditFinding &b)
{
    if (a.verdict != b.verdict)
        return a.verdict > b.verdict ? a : b;
    return a.pValue <= b.pValue ? a : b;
}
