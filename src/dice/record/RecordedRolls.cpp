#include "dice/record/RecordedRolls.h"

#include "dice/format/DiceOutcomeJson.h"
#include "dice/record/RecordLine.h"
#include "dice/record/RecordingDieSource.h"
#include "dice/record/SessionRecord.h"
#include "dice/roll/DiceRoller.h"

RecordedRolls::Result RecordedRolls::roll(SessionRecord &record, const DiceExpression &expression,
                                          qint64 rolls, DieSource &source, const EachRoll &each,
                                          QString &error)
{
    RecordingDieSource recording(source);
    DiceRoller roller(expression, recording);
    const DiceOutcomeJson json(expression);
    if (!record.begin(error))
        return Result::Failed;
    // Plain rolls never go into a verifiable session (their draws would not come from its
    // secret) nor after a session's end.
    if (record.state().closed || !record.state().commitment.isEmpty()) {
        record.abort();
        error = record.state().closed ? QStringLiteral("a sessão do registro foi encerrada")
                                      : QStringLiteral("o registro é de uma sessão verificável");
        return Result::Failed;
    }
    const QByteArray time = RecordLine::now();
    QByteArray rollJson;
    QByteArray line;
    qint64 seq = record.state().lastSeq;
    for (qint64 r = 0; r < rolls; ++r) {
        recording.clear();
        if (!roller.roll()) {
            record.abort();
            return Result::OutOfRange;
        }
        rollJson.clear();
        json.append(rollJson, roller.outcome());
        line.clear();
        RecordLine::appendRoll(line, ++seq, time, rollJson, recording.draws());
        record.addRoll(seq, line);
        if (each)
            each(seq, roller.outcome(), rollJson);
    }
    if (!record.commit(error))
        return Result::Failed;
    return Result::Done;
}
