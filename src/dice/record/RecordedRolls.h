#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

class DiceExpression;
class DieSource;
class SessionRecord;
struct DiceOutcome;

// Rolls one expression into a session record, all its rolls or none, under the record's
// lock: every roll becomes its line ({"tipo":"rolagem","seq":…, the roll's JSON, its draws})
// and the batch reaches the disk before roll() returns Done. The command line and the
// desktop roller both record through here, so their lines are the same for the same draws.
class RecordedRolls
{
public:
    enum class Result {
        Done,       // every roll is in the record
        OutOfRange, // a value left the 64-bit range (nothing recorded)
        Failed,     // the record could not take the rolls (nothing recorded); `error` says why
    };

    // Called once per roll, in order, before the batch is written: the roll's number in the
    // record, its outcome and its JSON object ("{…}\n", without the record's fields). What
    // it keeps counts only when roll() then returns Done.
    using EachRoll = std::function<void(qint64 seq, const DiceOutcome &, QByteArrayView json)>;

    // In a verifiable session (`secret` not empty) each roll's dice come from the secret,
    // the salt and the roll's number, taken under the lock; otherwise from `source`.
    static Result roll(SessionRecord &record, const DiceExpression &expression, qint64 rolls,
                       DieSource &source, const QByteArray &secret, const EachRoll &each,
                       QString &error);
};
