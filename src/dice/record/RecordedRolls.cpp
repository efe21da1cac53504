#include "dice/record/RecordedRolls.h"

#include "dice/format/DiceOutcomeJson.h"
#include "dice/record/RecordLine.h"
#include "dice/record/RecordingDieSource.h"
#include "dice/record/SessionDieSource.h"
#include "dice/record/SessionRecord.h"
#include "dice/roll/DiceRoller.h"

#include "dice/expression/DiceExpression.h"

#include <optional>

namespace {

// Distinct expressions whose writers are kept at once; past that the cache starts over.
constexpr qsizetype KeptWriters = 256;

} // namespace

struct RecordedRolls::Writer
{
    explicit Writer(const DiceExpression &written) : expression(written), json(expression) {}
    DiceExpression expression;
    DiceOutcomeJson json;
};

RecordedRolls::Result RecordedRolls::roll(SessionRecord &record, const DiceExpression &expression,
                                          qint64 rolls, DieSource &source,
                                          const QByteArray &secret, const EachRoll &each,
                                          QString &error)
{
    RecordedRolls batch(record, secret);
    if (!batch.begin(error))
        return Result::Failed;
    if (batch.add(expression, rolls, source, each) == Result::OutOfRange) {
        batch.abort();
        return Result::OutOfRange;
    }
    return batch.commit(error) ? Result::Done : Result::Failed;
}

RecordedRolls::RecordedRolls(SessionRecord &record, const QByteArray &secret)
    : m_record(record), m_secret(secret)
{}

RecordedRolls::~RecordedRolls()
{
    if (m_begun)
        abort();
}

const RecordedRolls::Writer &RecordedRolls::writerFor(const DiceExpression &expression)
{
    std::shared_ptr<const Writer> &writer = m_writers[expression.text()];
    if (!writer) {
        if (m_writers.size() > KeptWriters) {
            m_writers.clear();
            return *(m_writers[expression.text()] = std::make_shared<const Writer>(expression));
        }
        writer = std::make_shared<const Writer>(expression);
    }
    return *writer;
}

bool RecordedRolls::begin(QString &error)
{
    if (!m_record.begin(error))
        return false;
    // Plain rolls never go into a verifiable session (their draws would not come from its
    // secret), a session's rolls never into a plain record, and nothing after a session's end.
    m_verifiable = !m_record.state().commitment.isEmpty();
    if (m_record.state().closed || m_verifiable != !m_secret.isEmpty()) {
        m_record.abort();
        error = m_record.state().closed ? QStringLiteral("a sessão do registro foi encerrada")
                : m_verifiable          ? QStringLiteral("o registro é de uma sessão verificável")
                                        : QStringLiteral("o registro mudou de tipo");
        return false;
    }
    m_lastSeq = m_record.state().lastSeq;
    m_begun = true;
    return true;
}

RecordedRolls::Result RecordedRolls::add(const DiceExpression &expression, qint64 rolls,
                                         DieSource &source, const EachRoll &each)
{
    std::optional<SessionDieSource> session;
    if (m_verifiable)
        session.emplace(m_secret, m_record.state().salt.value_or(QByteArray()), 0);
    RecordingDieSource recording(session ? static_cast<DieSource &>(*session) : source);
    DiceRoller roller(expression, recording);
    const DiceOutcomeJson &json = writerFor(expression).json;
    const QByteArray time = RecordLine::now();
    const qint64 mark = m_record.mark();
    QByteArray &rollJson = m_rollJson;
    qint64 seq = m_lastSeq;
    for (qint64 r = 0; r < rolls; ++r) {
        recording.clear();
        if (session)
            session->restart(std::uint64_t(seq + 1));
        if (!roller.roll()) {
            m_record.rewind(mark, m_lastSeq);
            return Result::OutOfRange;
        }
        rollJson.resize(0); // resize, not clear: the buffer is kept from roll to roll
        json.append(rollJson, roller.outcome());
        // Straight into the batch, which writes itself out in blocks as it grows.
        RecordLine::appendRoll(m_record.lineBuffer(), ++seq, time, rollJson, recording.draws());
        m_record.rollAdded(seq);
        if (each)
            each(seq, roller.outcome(), rollJson);
    }
    m_lastSeq = seq;
    return Result::Done;
}

bool RecordedRolls::commit(QString &error)
{
    m_begun = false;
    return m_record.commit(error);
}

void RecordedRolls::abort()
{
    m_begun = false;
    m_record.abort();
}
