#include "dice/record/SessionRecord.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Lines go out in blocks of about this size; the first lines are read in one piece.
constexpr qint64 Chunk = 64 * 1024;

std::optional<QJsonObject> jsonObject(const QByteArray &line)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

} // namespace

SessionRecord::~SessionRecord()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing releases the lock too
}

QString SessionRecord::systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool SessionRecord::open(const QString &path, const QByteArray &header, bool exclusive,
                         QString &error)
{
    const QByteArray name = QFile::encodeName(path);
    bool created = true;
    m_fd = header.isEmpty()
               ? (errno = EEXIST, -1)
               : ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (m_fd < 0 && errno == EEXIST && !exclusive) {
        created = false;
        m_fd = ::open(name.constData(), O_RDWR | O_APPEND | O_CLOEXEC);
    }
    if (m_fd < 0) {
        error = errno == EEXIST ? QStringLiteral("o arquivo já existe") : systemReason(errno);
        return false;
    }
    struct stat info{};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = QStringLiteral("não é um arquivo comum");
        return false;
    }
    while (::flock(m_fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            error = systemReason(errno);
            return false;
        }
    }
    m_locked = true;
    if (!header.isEmpty() && ::fstat(m_fd, &info) == 0 && info.st_size == 0) {
        int failure = 0;
        if (!writeAll(header, failure) || ::fdatasync(m_fd) != 0) {
            if (failure == 0)
                failure = errno;
            error = systemReason(failure);
            if (::ftruncate(m_fd, 0) != 0 || created)
                ::unlink(name.constData());
            unlock();
            return false;
        }
    }
    const bool read = readState(error);
    unlock();
    return read;
}

void SessionRecord::unlock()
{
    if (m_locked)
        ::flock(m_fd, LOCK_UN);
    m_locked = false;
}

bool SessionRecord::begin(QString &error)
{
    while (::flock(m_fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            error = systemReason(errno);
            return false;
        }
    }
    m_locked = true;
    m_batch.resize(0); // its memory is kept for the next batch
    m_spilled = 0;
    m_failure = 0;
    m_wrote = false;
    if (!readState(error)) {
        unlock();
        return false;
    }
    m_pending = m_state;
    if (m_tornTail)
        m_batch.append('\n');
    return true;
}

qint64 SessionRecord::lastNewlineBefore(qint64 position, QString &error) const
{
    char block[4096];
    while (position > 0) {
        const qint64 from = std::max<qint64>(0, position - qint64(sizeof block));
        const ssize_t got = ::pread(m_fd, block, std::size_t(position - from), from);
        if (got < 0 && errno == EINTR)
            continue;
        if (got != position - from) {
            error = got < 0 ? systemReason(errno) : QStringLiteral("o registro encolheu");
            return -2;
        }
        for (qint64 i = got - 1; i >= 0; --i) {
            if (block[i] == '\n')
                return from + i;
        }
        position = from;
    }
    return -1;
}

bool SessionRecord::readLine(qint64 start, qint64 end, QByteArray &line, QString &error) const
{
    line.resize(end - start);
    qint64 done = 0;
    while (done < line.size()) {
        const ssize_t got = ::pread(m_fd, line.data() + done, line.size() - done, start + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error = got < 0 ? systemReason(errno) : QStringLiteral("o registro encolheu");
            return false;
        }
        done += got;
    }
    return true;
}

bool SessionRecord::readState(QString &error)
{
    struct stat info{};
    if (::fstat(m_fd, &info) != 0) {
        error = systemReason(errno);
        return false;
    }
    const qint64 size = info.st_size;
    if (size == m_knownSize)
        return true;

    // The first lines: the header, then the salt when there is one.
    QByteArray head;
    if (!readLine(0, std::min(size, 2 * Chunk), head, error))
        return false;
    const qsizetype headerEnd = head.indexOf('\n');
    const std::optional<QJsonObject> header =
        headerEnd < 0 ? std::nullopt : jsonObject(head.left(headerEnd));
    if (!header || header->value(QLatin1String("registro")).toString() != u"quessar") {
        error = QStringLiteral("não é um registro de sessão do Quessar");
        return false;
    }
    if (header->value(QLatin1String("versao")).toInteger() != 1) {
        error = QStringLiteral("o registro é de uma versão que este programa não conhece");
        return false;
    }
    State state;
    state.commitment = header->value(QLatin1String("compromisso")).toString().toLatin1();
    // The salt is the first whole line after the header (a torn line before it, left by a
    // killed writer, is passed over as every reader does).
    for (qsizetype from = headerEnd + 1, end; (end = head.indexOf('\n', from)) > 0;
         from = end + 1) {
        const auto second = jsonObject(head.sliced(from, end - from));
        if (!second)
            continue;
        if (second->value(QLatin1String("tipo")).toString() == u"sal")
            state.salt = second->value(QLatin1String("sal")).toString().toUtf8();
        break;
    }

    // The last line that is JSON, found backwards; torn lines after it are skipped.
    const auto lastLine = [&state](const QByteArray &line) {
        const auto last = jsonObject(line);
        if (!last)
            return false;
        const QString type = last->value(QLatin1String("tipo")).toString();
        if (type == u"rolagem")
            state.lastSeq = last->value(QLatin1String("seq")).toInteger();
        else if (type == u"fechamento")
            state.closed = true;
        return true;
    };
    qint64 lineEnd = size > 0 ? lastNewlineBefore(size, error) + 1 : 0;
    if (lineEnd < 0)
        return false;
    // A write cut off just before its newline leaves a whole line at the end: once the next
    // append closes it, every reader takes it as a roll, so its number is taken too, never
    // given again.
    bool found = false;
    if (lineEnd < size && lineEnd > headerEnd) {
        QByteArray tail;
        if (!readLine(lineEnd, size, tail, error))
            return false;
        found = lastLine(tail);
    }
    while (!found && lineEnd > headerEnd + 1) {
        const qint64 lineStart = lastNewlineBefore(lineEnd - 1, error) + 1;
        QByteArray line;
        if (lineStart < 0 || !readLine(lineStart, lineEnd - 1, line, error))
            return false;
        found = lastLine(line);
        lineEnd = lineStart; // not JSON: a torn line mended by a later append; look further
    }
    m_state = state;
    m_knownSize = size;
    m_batchStart = size;
    // A torn last line is closed before anything follows it.
    char lastByte = '\n';
    m_tornTail = size > 0 && ::pread(m_fd, &lastByte, 1, size - 1) == 1 && lastByte != '\n';
    return true;
}

void SessionRecord::add(QByteArrayView line)
{
    m_batch += line;
    spill();
}

void SessionRecord::spill()
{
    if (m_batch.size() < Chunk)
        return;
    // The batch ends with a whole line here: it goes out in one write.
    if (m_failure == 0 && writeAll(m_batch, m_failure))
        m_spilled += m_batch.size();
    m_batch.resize(0);
}

void SessionRecord::addRoll(qint64 seq, QByteArrayView line)
{
    add(line);
    m_pending.lastSeq = seq;
}

void SessionRecord::rollAdded(qint64 seq)
{
    spill();
    m_pending.lastSeq = seq;
}

void SessionRecord::addSalt(const QByteArray &salt, QByteArrayView line)
{
    add(line);
    m_pending.salt = salt;
}

void SessionRecord::addClosing(QByteArrayView line)
{
    add(line);
    m_pending.closed = true;
}

void SessionRecord::rewind(qint64 mark, qint64 lastSeq)
{
    m_pending.lastSeq = lastSeq;
    if (mark >= m_spilled) {
        m_batch.resize(mark - m_spilled);
        return;
    }
    // Part of what goes is in the record already: cut it off (the lock is still held). A
    // record that cannot be cut fails the whole batch at commit().
    m_batch.resize(0);
    m_spilled = mark;
    if (m_failure == 0 && ::ftruncate(m_fd, m_batchStart + mark) != 0)
        m_failure = errno;
}

bool SessionRecord::writeAll(QByteArrayView bytes, int &error)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            error = wrote < 0 ? errno : ENOSPC;
            return false;
        }
        m_wrote = true;
        done += wrote;
    }
    return true;
}

bool SessionRecord::commit(QString &error)
{
    // Batch begin() read the state, so m_batchStart is where this batch begins. What is left
    // of it goes out in one write, then one flush to the disk for all of it.
    int failure = m_failure;
    bool written = failure == 0 && writeAll(m_batch, failure);
    if (written && ::fdatasync(m_fd) != 0) {
        failure = errno;
        written = false;
    }
    if (!written) {
        error = systemReason(failure);
        takeBack();
        m_knownSize = -1;
    } else {
        const qint64 batchSize = m_spilled + m_batch.size();
        m_state = m_pending;
        m_tornTail = m_tornTail && batchSize == 0;
        m_knownSize = m_batchStart + batchSize;
        m_batchStart = m_knownSize;
    }
    m_batch.resize(0);
    m_spilled = 0;
    m_failure = 0;
    m_wrote = false;
    unlock();
    return written;
}

void SessionRecord::takeBack()
{
    // Only this batch's own bytes go: the record is as it was before it.
    if (!m_wrote)
        return;
    if (::ftruncate(m_fd, m_batchStart) == 0)
        ::fdatasync(m_fd);
    m_knownSize = -1;
}

void SessionRecord::abort()
{
    takeBack();
    m_batch.resize(0);
    m_spilled = 0;
    m_failure = 0;
    m_wrote = false;
    unlock();
}
