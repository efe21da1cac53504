#pragma once

#include "dice/audit/AuditReport.h"

#include <QString>

#include <memory>

class AuditLineReader;
class LuckAudit;

// The luck audit of a record kept up to date as the record grows: each update reads only
// the lines appended since the last one, so a long session costs what its new rolls cost,
// and each expression's exact odds are worked out once for the tally's whole life. The
// numbers are those `quessar-cli auditar` gives for the same record (`--por-rotulo` with
// `byLabel`). Used by one thread at a time.
class LuckTally
{
public:
    LuckTally(const QString &path, bool byLabel);
    ~LuckTally();
    LuckTally(const LuckTally &) = delete;
    LuckTally &operator=(const LuckTally &) = delete;

    // Reads what the record gained and reports on every roll read so far. A record that
    // shrank (replaced by another) is read again from its start. False with the reason, in
    // the user's language, when it cannot be read.
    bool update(AuditReport &report, QString &error);

    const QString &path() const { return m_path; }
    bool byLabel() const { return m_byLabel; }

private:
    void restart();

    QString m_path;
    bool m_byLabel;
    std::unique_ptr<LuckAudit> m_audit;
    std::unique_ptr<AuditLineReader> m_reader;
    qint64 m_offset = 0;
};
