#include "dice/audit/AuditLineReader.h"

#include "dice/audit/LuckAudit.h"

AuditLineReader::AuditLineReader(LuckAudit &audit, Filter filter, BrokenLine broken)
    : m_audit(audit), m_filter(std::move(filter)), m_onBroken(std::move(broken))
{
}

void AuditLineReader::take(QByteArrayView line, bool tooLong)
{
    ++m_lineNumber;
    if (line.endsWith('\r'))
        line.chop(1);
    if (!tooLong && line.trimmed().isEmpty())
        return;
    RollLine &roll = m_roll;
    const RollLine::Kind kind = tooLong ? RollLine::Kind::Broken : roll.read(line);
    if (kind == RollLine::Kind::Broken) {
        ++m_broken;
        if (m_onBroken)
            m_onBroken(m_lineNumber);
        return;
    }
    if (kind != RollLine::Kind::Roll)
        return;
    if (!m_filter.only.isEmpty() || !m_filter.without.isEmpty()) {
        const QString label = QString::fromUtf8(roll.label());
        if ((!m_filter.only.isEmpty() && !m_filter.only.contains(label))
            || m_filter.without.contains(label))
            return;
    }
    if (roll.hasDraws())
        m_audit.add(roll.expression(), roll.label(), roll.total(), roll.draws());
    else
        m_audit.add(roll.expression(), roll.label(), roll.total(), std::nullopt);
}

void AuditLineReader::feed(QByteArrayView bytes)
{
    m_pending.append(bytes);
    qsizetype start = 0;
    for (qsizetype end; (end = m_pending.indexOf('\n', start)) >= 0; start = end + 1) {
        take(QByteArrayView(m_pending).sliced(start, end - start), m_skipping);
        m_skipping = false;
    }
    m_pending.remove(0, start);
    if (m_pending.size() > MaxLineBytes) {
        m_pending.clear();
        m_skipping = true;
    }
}

void AuditLineReader::finish()
{
    if (m_skipping || !m_pending.isEmpty())
        take(m_pending, m_skipping);
    m_pending.clear();
    m_skipping = false;
}
