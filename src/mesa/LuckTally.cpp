#include "mesa/LuckTally.h"

#include "dice/audit/AuditLineReader.h"
#include "dice/audit/LuckAudit.h"
#include "dice/record/SessionRecord.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

LuckTally::LuckTally(const QString &path, bool byLabel) : m_path(path), m_byLabel(byLabel)
{
    restart();
}

LuckTally::~LuckTally() = default;

void LuckTally::restart()
{
    m_reader.reset();
    m_audit = std::make_unique<LuckAudit>(m_byLabel);
    m_reader = std::make_unique<AuditLineReader>(*m_audit);
    m_offset = 0;
}

bool LuckTally::update(AuditReport &report, QString &error)
{
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = SessionRecord::systemReason(errno);
        return false;
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) == 0 && info.st_size < m_offset)
        restart();
    // A line being appended by another process stays in the reader until its end comes.
    char block[64 * 1024];
    int failure = 0;
    for (;;) {
        const ssize_t got = ::pread(fd, block, sizeof block, m_offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            failure = errno;
        if (got <= 0)
            break;
        m_reader->feed(QByteArrayView(block, got));
        m_offset += got;
    }
    ::close(fd);
    if (failure != 0) {
        error = SessionRecord::systemReason(failure);
        return false;
    }
    report = m_audit->report();
    return true;
}
