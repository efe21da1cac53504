#pragma once

#include <QByteArray>
#include <QString>

class SessionRecord;

// The three steps of a verifiable session on its record, shared by `quessar-cli sessao` and
// the desktop roller: open (a new record committing to a fresh secret kept beside it), salt
// (the players' salt, before any roll) and close (the secret revealed; nothing after it).
// Each step is appended under the record's lock and reaches the disk before it returns; a
// step refused leaves the record as it was. Reasons are in Portuguese.
class VerifiableSession
{
public:
    // At most this many bytes of salt (UTF-8).
    static constexpr qsizetype MaxSaltBytes = 1000;

    // Creates the record at `path` (refused when anything is there) and its secret file
    // beside it, 0600 and exclusive, leaving `record` open on it. On failure `failedPath`
    // names the file at fault (the record or its secret) and nothing is left behind.
    static bool open(SessionRecord &record, const QString &path, const QByteArray &program,
                     QByteArray &commitment, QString &failedPath, QString &error);

    // Records `salt` in the open `record`: refused when it is not a verifiable session, is
    // closed, has a salt already or has rolls, and when the salt passes MaxSaltBytes.
    static bool salt(SessionRecord &record, const QByteArray &salt, QString &error);

    // Reveals the secret kept beside `path` in the open `record` and ends the session;
    // `rolls` is how many the session holds and `secret` what was revealed.
    static bool close(SessionRecord &record, const QString &path, qint64 &rolls, QByteArray &secret,
                      QString &error);
};
