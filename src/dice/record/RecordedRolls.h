#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>

class DiceExpression;
class DieSource;
class SessionRecord;
struct DiceOutcome;

// Rolls expressions into a session record under the record's lock: every roll becomes its
// line ({"tipo":"rolagem","seq":…, the roll's JSON, its draws}) and the batch reaches the
// disk before commit() returns. The command line and the desktop roller both record through
// here, so their lines are the same for the same draws.
//
// One expression, all its rolls or none: roll(). Several expressions under one lock and
// one flush (the roll server takes every line that came in together so): begin(), add()
// for each, then commit(); an expression that leaves the 64-bit range is taken back alone.
class RecordedRolls
{
public:
    enum class Result {
        Done,       // every roll is in the record (in the batch, for add())
        OutOfRange, // a value left the 64-bit range (nothing of this expression recorded)
        Failed,     // the record could not take the rolls (nothing recorded); `error` says why
    };

    // Called once per roll, in order, before the batch is written: the roll's number in the
    // record, its outcome and its JSON object ("{…}\n", without the record's fields). What
    // it keeps counts only when the rolls are then committed.
    using EachRoll = std::function<void(qint64 seq, const DiceOutcome &, QByteArrayView json)>;

    // In a verifiable session (`secret` not empty) each roll's dice come from the secret,
    // the salt and the roll's number, taken under the lock; otherwise from `source`.
    static Result roll(SessionRecord &record, const DiceExpression &expression, qint64 rolls,
                       DieSource &source, const QByteArray &secret, const EachRoll &each,
                       QString &error);

    RecordedRolls(SessionRecord &record, const QByteArray &secret);
    ~RecordedRolls(); // an open batch is dropped
    RecordedRolls(const RecordedRolls &) = delete;
    RecordedRolls &operator=(const RecordedRolls &) = delete;

    // Takes the lock and checks that the record takes these rolls. False with the reason.
    bool begin(QString &error);
    bool begun() const { return m_begun; }
    // Done or OutOfRange; `each` is called for the rolls of an expression kept or not.
    Result add(const DiceExpression &expression, qint64 rolls, DieSource &source,
               const EachRoll &each);
    // Writes the batch and flushes it to the disk (false with the reason: nothing of it is
    // kept), then releases the lock.
    bool commit(QString &error);
    // Drops the batch and releases the lock.
    void abort();

private:
    // An expression's JSON writer, over a copy of the expression it writes.
    struct Writer;
    // Made once per distinct expression text: the roll server sees the same few again and
    // again, and making the writer cost more than writing a roll with it. The same text
    // always parses to the same expression, so its writer serves every roll of it.
    const Writer &writerFor(const DiceExpression &expression);

    SessionRecord &m_record;
    QByteArray m_secret;
    bool m_begun = false;
    bool m_verifiable = false;
    qint64 m_lastSeq = 0;
    QByteArray m_rollJson; // each roll's JSON, the buffer kept from roll to roll
    QHash<QString, std::shared_ptr<const Writer>> m_writers;
};
