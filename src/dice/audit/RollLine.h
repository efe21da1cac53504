#pragma once

#include "dice/audit/LuckAudit.h"
#include "dice/number/Fraction.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

// One line of a session record or of "quessar-cli dados --json" output, read for the audit.
// Only the fields the audit needs are taken out of the top-level object ("tipo",
// "expressao", "rotulo", "total", "fracao", "sorteios"); every other value is checked to be
// well-formed JSON and skipped without being built, so that a million lines read in well
// under a second. A line that is not one whole JSON object (a torn write) reads as Broken.
class RollLine
{
public:
    enum class Kind {
        Roll,   // a roll: a record's "tipo":"rolagem", or a --json object (no "tipo")
        Other,  // the record's header, its salt or closing line: nothing to audit
        Broken, // not a whole JSON object, or a roll without its expression or total
    };

    // Reads `line` (without its "\n"); the fields stay valid while the line does, until the
    // next read.
    Kind read(QByteArrayView line);

    QByteArrayView expression() const { return m_expression; }
    QByteArrayView label() const { return m_label; }
    Fraction total() const { return m_total; }
    // Whether the line listed its draws ("sorteios"); --json output does not.
    bool hasDraws() const { return m_hasDraws; }
    const std::vector<DrawnFace> &draws() const { return m_draws; }

private:
    class Scanner;

    QByteArrayView m_expression;
    QByteArrayView m_label;
    QByteArray m_expressionScratch; // the expression and label when they held escapes
    QByteArray m_labelScratch;
    Fraction m_total;
    bool m_hasDraws = false;
    std::vector<DrawnFace> m_draws;
};
