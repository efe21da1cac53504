#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <functional>

#include "dice/audit/RollLine.h"

class LuckAudit;

// Feeds the rolls of a stream of lines (a session record, or "dados --json" output) to a
// LuckAudit, block by block as they are read: whole lines are audited at once, a line still
// being written waits for its end. The header and other non-roll lines are passed over; a
// line that is not a whole roll is reported by its number and passed over; a line longer
// than MaxLineBytes is passed over as broken without being kept whole.
class AuditLineReader
{
public:
    // Lines longer than this are skipped as broken (the longest roll a record can hold,
    // 10100000 draws, takes about 100 MiB).
    static constexpr qsizetype MaxLineBytes = 256 * 1024 * 1024;

    struct Filter
    {
        QStringList only;    // keep only these labels (when any)
        QStringList without; // leave these out
    };

    // Called with the number (from 1) of each broken line.
    using BrokenLine = std::function<void(qint64 lineNumber)>;

    explicit AuditLineReader(LuckAudit &audit, Filter filter = {}, BrokenLine broken = {});

    // The next bytes of the stream.
    void feed(QByteArrayView bytes);
    // The end of the stream: a last line without its "\n" is read too.
    void finish();

    qint64 brokenLines() const { return m_broken; }

private:
    void take(QByteArrayView line, bool tooLong);

    LuckAudit &m_audit;
    RollLine m_roll; // kept: its buffers serve every line
    Filter m_filter;
    BrokenLine m_onBroken;
    QByteArray m_pending;
    bool m_skipping = false; // inside a line longer than MaxLineBytes
    qint64 m_lineNumber = 0;
    qint64 m_broken = 0;
};
