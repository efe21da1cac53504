#pragma once

#include "dice/record/SessionRecord.h"
#include "mesa/RollEntry.h"

#include <QString>

#include <memory>
#include <variant>

class DiceExpression;
class DieSource;

// The desktop roller's session: its record and its dice. Every roll goes into the record
// (the same lines `quessar-cli dados --registro` writes) and reaches the disk before it is
// handed back to be shown; a roll the record cannot take is refused whole.
class MesaSession
{
public:
    // Rolls from `source` when given (tests), otherwise from a source seeded by the system's
    // randomness.
    explicit MesaSession(std::unique_ptr<DieSource> source = {});
    ~MesaSession();
    MesaSession(const MesaSession &) = delete;
    MesaSession &operator=(const MesaSession &) = delete;

    // A new record in `folder`, named after the local time (sessao-2026-12-08-101502.jsonl).
    bool openNew(const QString &folder, QString &error);
    // Continues the record at `path`, created when it is missing. A verifiable session's
    // record is continued with its secret's dice, so its secret must be there.
    bool openExisting(const QString &path, QString &error);
    // A new verifiable session at `path`, as `quessar-cli sessao abrir` makes it: the record
    // with its commitment and the secret beside it. Refused when either file exists.
    bool openVerifiable(const QString &path, QString &error);
    const QString &path() const { return m_path; }

    // The record as it is now, read under its lock (another process may share it).
    bool readState(SessionRecord::State &state, QString &error);
    // A verifiable session's steps, as `quessar-cli sessao sal` and `sessao fechar` take them.
    bool salt(const QString &text, QString &error);
    bool close(QByteArray &secretHex, QString &error);

    // The roll, recorded; or why it was not made (in Portuguese).
    std::variant<RollEntry, QString> roll(const DiceExpression &expression);

private:
    bool open(const QString &path, bool exclusive, QString &error);
    bool recordAt(const QString &path);
    // Whether the path still names the file the record was opened on: a record removed or
    // replaced would otherwise go on taking rolls that no one can read back.
    bool stillThere() const;

    std::unique_ptr<DieSource> m_source;
    SessionRecord m_record;
    QString m_path;
    QByteArray m_secret; // a verifiable session's, once read; empty for a plain record
    bool m_open = false;
    quint64 m_device = 0;
    quint64 m_inode = 0;
    QString m_lastExpression; // shared by every entry of the same text
    QString m_lastLabel;
};
