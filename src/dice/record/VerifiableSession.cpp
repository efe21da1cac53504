#include "dice/record/VerifiableSession.h"

#include "dice/record/RecordLine.h"
#include "dice/record/SessionDieSource.h"
#include "dice/record/SessionRecord.h"
#include "dice/record/SessionSecret.h"

#include <QFile>

#include <sys/stat.h>

namespace {

// Takes the record's lock when it holds a verifiable session that is still open; otherwise
// gives the lock back and says why (`closed` when the session has been closed).
bool beginOpenSession(SessionRecord &record, const QString &closed, QString &error)
{
    if (!record.begin(error))
        return false;
    const SessionRecord::State &state = record.state();
    if (state.commitment.isEmpty())
        error = QStringLiteral("o registro não é de uma sessão verificável");
    else if (state.closed)
        error = closed;
    if (error.isEmpty())
        return true;
    record.abort();
    return false;
}

} // namespace

bool VerifiableSession::open(SessionRecord &record, const QString &path, const QByteArray &program,
                             QByteArray &commitment, QString &failedPath, QString &error)
{
    // The record first: an existing one is refused before any secret is made for it.
    failedPath = path;
    struct stat info
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &info) == 0) {
        error = QStringLiteral("o arquivo já existe");
        return false;
    }
    const QString secretPath = SessionSecret::pathFor(path);
    QByteArray secret;
    if (!SessionSecret::create(secretPath, secret, error)) {
        failedPath = secretPath;
        return false;
    }
    commitment = SessionDieSource::commitment(secret);
    if (!record.open(path, RecordLine::sessionHeader(program, commitment), true, error)) {
        // A secret no record commits to is of no use: it goes too.
        QFile::remove(secretPath);
        commitment.clear();
        return false;
    }
    return true;
}

bool VerifiableSession::salt(SessionRecord &record, const QByteArray &salt, QString &error)
{
    error.clear();
    if (salt.size() > MaxSaltBytes) {
        error = QStringLiteral("o sal passa de %1 bytes").arg(MaxSaltBytes);
        return false;
    }
    if (!beginOpenSession(record, QStringLiteral("a sessão do registro foi encerrada"), error))
        return false;
    const SessionRecord::State &state = record.state();
    if (state.salt)
        error = QStringLiteral("o registro já tem um sal");
    else if (state.lastSeq > 0)
        error = QStringLiteral("o registro já tem rolagens; o sal vem antes delas");
    if (!error.isEmpty()) {
        record.abort();
        return false;
    }
    record.addSalt(salt, RecordLine::salt(RecordLine::now(), salt));
    return record.commit(error);
}

bool VerifiableSession::close(SessionRecord &record, const QString &path, qint64 &rolls,
                              QByteArray &secret, QString &error)
{
    error.clear();
    if (!beginOpenSession(record, QStringLiteral("a sessão do registro já foi encerrada"), error))
        return false;
    const SessionRecord::State &state = record.state();
    // A secret that cannot be read, or is not the one committed to, leaves the session open.
    if (!SessionSecret::read(SessionSecret::pathFor(path), state.commitment, secret, error)) {
        record.abort();
        return false;
    }
    rolls = state.lastSeq;
    record.addClosing(RecordLine::closing(RecordLine::now(), secret.toHex()));
    return record.commit(error);
}
