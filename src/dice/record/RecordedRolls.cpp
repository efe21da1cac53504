#include "dice/record/RecordedRolls.h"

#include "dice/format/DiceOutcomeJson.h"
#include "dice/record/RecordLine.h"
#include "dice/record/RecordingDieSource.h"
#include "dice/record/SessionDieSource.h"
#include "dice/record/SessionRecord.h"
#include "dice/roll/DiceRoller.h"

#include <optional>

RecordedRolls::Result RecordedRolls::roll(SessionRecord &record, const DiceExpression &expression,
                                          qint64 rolls, DieSource &source,
                                          const QByteArray &secret, const EachRoll &each,
                                          QString &error)
{
    if (!record.begin(error))
        return Result::Failed;
    // Plain rolls never go into a verifiable session (their draws would not come from its
    // secret), a session's rolls never into a plain record, and nothing after a session's end.
    const bool verifiable = !record.state().commitment.isEmpty();
    if (record.state().closed || verifiable != !secret.isEmpty()) {
        record.abort();
        error = record.state().closed ? QStringLiteral("a sessão do registro foi encerrada")
                : verifiable          ? QStringLiteral("o registro é de uma sessão verificável")
                                      : QStringLiteral("o registro mudou de tipo");
        return Result::Failed;
    }
    std::optional<SessionDieSource> session;
    if (verifiable)
        session.emplace(secret, record.state().salt.value_or(QByteArray()), 0);
    RecordingDieSource recording(session ? static_cast<DieSource &>(*session) : source);
    DiceRoller roller(expression, recording);
    const DiceOutcomeJson json(expression);
    const QByteArray time = RecordLine::now();
    QByteArray rollJson;
    qint64 seq = record.state().lastSeq;
    for (qint64 r = 0; r < rolls; ++r) {
        recording.clear();
        if (session)
            session->restart(std::uint64_t(seq + 1));
        if (!roller.roll()) {
            record.abort();
            return Result::OutOfRange;
        }
        rollJson.resize(0); // resize, not clear: the buffer is kept from roll to roll
        json.append(rollJson, roller.outcome());
        // Straight into the batch, which writes itself out in blocks as it grows.
        RecordLine::appendRoll(record.lineBuffer(), ++seq, time, rollJson, recording.draws());
        record.rollAdded(seq);
        if (each)
            each(seq, roller.outcome(), rollJson);
    }
    if (!record.commit(error))
        return Result::Failed;
    return Result::Done;
}
