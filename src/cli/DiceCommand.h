#pragma once

#include "cli/CliCommand.h"
#include "dice/record/RecordedRolls.h"
#include "dice/record/SessionRecord.h"

#include <optional>

class DiceExpression;
class DieSource;

// quessar-cli dados: rolls dice expressions in the usual tabletop notation.
class DiceCommand final : public CliCommand
{
public:
    // At most this many rolls of each expression (-n).
    static constexpr qint64 MaxRolls = 1'000'000;
    // At most this many dice in a run, counted before explosions: rolls times the dice of
    // every expression. Keeps a run to about a second whatever the arguments.
    static constexpr qint64 MaxDicePerRun = 100'000'000;
    // A line of standard input longer than this is refused unread: no expression is.
    static constexpr qsizetype MaxLineBytes = 64 * 1024;

    // How each roll is written.
    struct Rendering
    {
        bool json = false;
        bool details = false;
    };

    // What became of the rolls of one expression.
    enum class Recorded { Done, OutOfRange, Failed };

    QString name() const override { return QStringLiteral("dados"); }
    QString summary() const override
    {
        return QStringLiteral("Rola dados em notação padrão (3d6, 4d6kh3, 2d20kl1+5…).");
    }
    int run(const QStringList &arguments, CliOutput &out, CliOutput &err) override;

private:
    // The roll server: one expression per line of standard input, every complete line
    // answered (and flushed) before more input is read. Exit status 2 when a line was
    // refused.
    int serve(qint64 rolls, Rendering rendering, DieSource &source, CliOutput &out,
              CliOutput &err);
    static QString tooManyDice(qint64 rolls, qint64 dice);
    // The rolls of one expression, into the record first with --registro; a record that
    // cannot take them is reported on `err`.
    Recorded roll(const DiceExpression &expression, qint64 rolls, Rendering rendering,
                  DieSource &source, CliOutput &out, CliOutput &err);
    static int recordFailed(CliOutput &err, const QString &path, const QString &reason);
    // The roll server's batch: the rolls of every line that came in together are recorded
    // under one lock and one flush, then answered together. False when the record could
    // not take them (reported on `err`; none is answered).
    bool finishBatch(CliOutput &out, CliOutput &err);

    SessionRecord m_record;
    QString m_recordPath;
    QByteArray m_secret; // a verifiable session's, checked against its commitment
    bool m_recording = false;
    std::optional<RecordedRolls> m_batch; // while serving into a record
    QByteArray m_batchAnswers;            // the batch's answers, printed once it is recorded
};
