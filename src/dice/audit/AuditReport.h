#pragma once

#include "dice/audit/GoodnessOfFit.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// How unusual something seen is for fair dice, in the terms a verdict is given in.
enum class AuditVerdict {
    TooFew,     // too small a sample: a loaded die would pass as well as a fair one
    Ordinary,   // p ≥ 1 %: nothing out of the ordinary
    Rare,       // 10⁻⁶ ≤ p < 1 %: happens about once in 1/p sessions like this one
    Extreme,    // p < 10⁻⁶: fair dice all but never do this
    Impossible, // something fair dice cannot give at all (a total or face out of reach)
};

// One test's outcome: its verdict and the chance, for fair dice, of a result at least this
// far from what is expected (1 when the test could not be made).
struct AuditFinding
{
    AuditVerdict verdict = AuditVerdict::TooFew;
    double pValue = 1;

    // The least a test needs before its verdict says anything.
    static constexpr qint64 MinimumSample = 30;
    static constexpr double RareBelow = 0.01;
    static constexpr double ExtremeBelow = 1e-6;

    // The verdict of a test that could be made on `sample` trials and gave `pValue`.
    static AuditFinding of(double pValue, qint64 sample, bool testable = true);
    // The worse of two (Impossible worst, then Extreme, Rare, Ordinary, TooFew).
    static AuditFinding worse(const AuditFinding &a, const AuditFinding &b);
    bool flagged() const { return verdict == AuditVerdict::Rare || verdict >= AuditVerdict::Extreme; }
};

// The totals of one expression.
struct ExpressionAudit
{
    QString expression;  // as written, without its label
    qint64 rolls = 0;
    QString refusal;     // why its exact odds are unknown; empty when they are known

    // The rest only when the odds are known.
    double exactMean = 0;
    double observedMean = 0;
    double standardError = 0; // of the observed mean, for fair dice: σ / √rolls
    AuditFinding mean;        // the observed mean against the exact one (normal test)
    GoodnessOfFit fit;        // the totals against the exact distribution
    AuditFinding distribution;
    qint64 impossible = 0;    // totals the expression cannot give
};

// The faces drawn of one die size, from the record's draws.
struct DieAudit
{
    quint32 faces = 0;
    qint64 draws = 0;
    std::vector<qint64> counts; // of faces 1 … faces; only for dice of at most MaxListedFaces
    GoodnessOfFit fit;          // the faces against a flat distribution
    AuditFinding finding;
    qint64 impossible = 0;      // faces out of 1 … faces

    // The lowest and highest faces (1s and 20s of a d20), each against draws / faces.
    bool hasExtremes = false;
    qint64 lowest = 0;
    qint64 highest = 0;
    double expectedEach = 0;
    AuditFinding lowestFinding;
    AuditFinding highestFinding;

    static constexpr quint32 MaxListedFaces = 100;
};

// The luck of the rolls: each roll's mid-percentile under its own distribution,
// P(X < x) + P(X = x) / 2, averaged. For fair dice that mean is exactly 1/2 and its
// variance the sum over the rolls of (1 − Σ p³) / 12 for each roll's probabilities p,
// divided by rolls²: exact, and below the 1/12 of a continuous variable.
struct LuckSummary
{
    qint64 rolls = 0;          // the rolls whose odds are known
    double meanLuck = 0.5;     // from 0 (every roll its lowest) to 1
    double standardError = 0;  // of meanLuck for fair dice
    AuditFinding finding;
};

// Everything audited of one set of rolls: all of them, or those of one label.
struct AuditGroup
{
    QString label;        // with grouping by label: the label ("" for rolls with none)
    qint64 rolls = 0;
    std::vector<ExpressionAudit> expressions; // in the order first rolled
    std::vector<DieAudit> dice;               // by die size
    LuckSummary luck;
    qint64 rollsWithoutDraws = 0;             // rolls whose draws were not recorded
};

// The luck audit's outcome, from which every rendering (text, JSON, a window) is drawn.
struct AuditReport
{
    bool byLabel = false;
    qint64 rolls = 0;
    std::vector<AuditGroup> groups; // one, or one per label in the order first seen
};
