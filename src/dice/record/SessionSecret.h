#pragma once

#include <QByteArray>
#include <QString>

// A verifiable session's secret, kept beside its record in "<record>.segredo": 64
// lower-case hex digits and a line end, readable by its owner only (mode 0600), created
// exclusively and never overwritten, so that no later command can change what the
// record's commitment was made from.
class SessionSecret
{
public:
    // The secret file of the record at `recordPath`.
    static QString pathFor(const QString &recordPath);

    // 32 fresh bytes from the system's random source, written to a new file at `path`
    // (refused when one exists) and flushed to the disk. False with the reason, in the
    // user's language; a file that could not be written whole is removed.
    static bool create(const QString &path, QByteArray &secret, QString &error);

    // The secret kept at `path`, checked against `commitment` (the record's "compromisso").
    // False with the reason when it is missing, unreadable, malformed or another secret.
    static bool read(const QString &path, const QByteArray &commitment, QByteArray &secret,
                     QString &error);
};
