#include "cli/DiceCommand.h"

#include "cli/CliArguments.h"
#include "cli/CliOutput.h"
#include "cli/DiceExpressionArgument.h"
#include "dice/notation/DiceNotation.h"
#include "dice/format/DiceOutcomeFormat.h"
#include "dice/format/DiceOutcomeJson.h"
#include "dice/format/DiceNotationTable.h"
#include "dice/roll/DiceRoller.h"
#include "dice/roll/SplitMixDieSource.h"
#include "dice/record/RecordLine.h"
#include "dice/record/RecordedRolls.h"
#include "dice/record/SessionRecord.h"
#include "dice/record/SessionSecret.h"

#include "QuessarVersion.h"

#include <QCommandLineParser>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include <unistd.h>

namespace {

QString description(const QString &summary)
{
    return summary + QStringLiteral(R"(

Cada EXPRESSÃO é rolada N vezes, na ordem dada, uma linha por rolagem
terminada em "= TOTAL". Sem EXPRESSÃO, com a entrada padrão vindo de um
cano ou arquivo, lê uma expressão por linha e responde cada linha assim que
ela chega (servidor para robôs de chat): linhas vazias são puladas, uma
linha recusada é dita na saída de erros com o seu número e a leitura segue;
status 2 se alguma linha foi recusada.

)") + DiceNotationTable() + QStringLiteral(R"(
Um total que não é inteiro sai com até 4 casas e vírgula decimal (2,5).
Com --json, um objeto por rolagem: {"expressao", "termos": [{"termo",
"dados": [{"valor", "mantido", ...}], "soma" ou "sucessos"}], "total"};
um total fracionário traz também "fracao": "5/2".

Limites: 10000 caracteres por expressão, 200 por rótulo; 100000 dados por
rolagem antes de explosões e rerrolagens, 10100000 com todas no limite;
100 níveis de parênteses, chaves, funções e potências; 100000000 dados por
execução (rolagens vezes dados). Antes de rolar, o que poderia sair dos 64
bits, dividir por 0 ou não deixar nenhum dado é recusado com a posição.

Exemplos:
  quessar-cli dados 3d6
  quessar-cli dados -n 6 4d6kh3
  quessar-cli dados -d '10d10>=8f1' '3d6!!' '{1d20+5, 1d20+5}kh1'
  quessar-cli dados -s 42 --json 'd%'
  printf '4d6kh3\n2d6+3 # espada\n' | quessar-cli dados
  quessar-cli dados -- -1d4+2   (uma expressão que começa com "-" vem
                                 depois de "--"))");
}

bool rollInto(const DiceExpression &expression, qint64 rolls, DiceCommand::Rendering rendering,
              DieSource &source, CliOutput &out)
{
    DiceRoller roller(expression, source);
    const std::optional<DiceOutcomeJson> json =
        rendering.json ? std::optional<DiceOutcomeJson>(std::in_place, expression) : std::nullopt;
    for (qint64 r = 0; r < rolls && !out.failed(); ++r) {
        if (!roller.roll())
            return false;
        if (json)
            json->append(out.buffer(), roller.outcome());
        else if (rendering.details)
            AppendDiceDetailsLine(out.buffer(), expression, roller.outcome());
        else
            AppendDiceLine(out.buffer(), expression, roller.outcome());
        out.flushIfFull();
    }
    return true;
}

// What a recorded roll answers, appended to `answers` as it is rolled.
RecordedRolls::EachRoll answerInto(QByteArray &answers, const DiceExpression &expression,
                                   DiceCommand::Rendering rendering)
{
    return [&answers, &expression, rendering](qint64, const DiceOutcome &outcome,
                                              QByteArrayView rollJson) {
        if (rendering.json)
            answers += rollJson;
        else if (rendering.details)
            AppendDiceDetailsLine(answers, expression, outcome);
        else
            AppendDiceLine(answers, expression, outcome);
    };
}

// The rolls of one expression into the record, all or none, under the record's lock; their
// answers are printed only once the record holds them on the disk. In a verifiable session
// (`secret` not empty) each roll's dice come from the secret, the salt and the roll's
// number, taken under the lock.
DiceCommand::Recorded recordInto(const DiceExpression &expression, qint64 rolls,
                                 DiceCommand::Rendering rendering, DieSource &source,
                                 const QByteArray &secret, SessionRecord &record,
                                 CliOutput &out, QString &error)
{
    QByteArray answers;
    switch (RecordedRolls::roll(record, expression, rolls, source, secret,
                                answerInto(answers, expression, rendering), error)) {
    case RecordedRolls::Result::Done:
        out.write(answers);
        return DiceCommand::Recorded::Done;
    case RecordedRolls::Result::OutOfRange:
        return DiceCommand::Recorded::OutOfRange;
    case RecordedRolls::Result::Failed:
        break;
    }
    return DiceCommand::Recorded::Failed;
}

QString outOfRange(const QString &text)
{
    return QStringLiteral("expressão \"") + ShownExpression(text)
           + QStringLiteral("\": o resultado saiu do limite de 64 bits");
}

} // namespace

QString DiceCommand::tooManyDice(qint64 rolls, qint64 dice)
{
    return QStringLiteral("-n/--quantidade: %1 rolagens de %2 dados passam do limite de %3 "
                          "dados por execução")
        .arg(rolls)
        .arg(dice)
        .arg(MaxDicePerRun);
}

int DiceCommand::run(const QStringList &arguments, CliOutput &out, CliOutput &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description(summary()));
    const QCommandLineOption quantity(
        {QStringLiteral("n"), QStringLiteral("quantidade")},
        QStringLiteral("Rola cada expressão N vezes (de 1 a %1; 1 se omitida).").arg(MaxRolls),
        QStringLiteral("N"));
    const QCommandLineOption seed =
        seedOption(QStringLiteral("Semente (inteiro de 64 bits): os mesmos argumentos e semente "
                                  "dão os mesmos dados em toda execução e máquina."));
    const QCommandLineOption details({QStringLiteral("d"), QStringLiteral("detalhes")},
                                     QStringLiteral("Mostra cada dado antes do total."));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Um objeto JSON por rolagem, com os dados."));
    const QCommandLineOption recordFile(
        QStringLiteral("registro"),
        QStringLiteral("Acrescenta cada rolagem ao registro de sessão ARQUIVO (criado se faltar) "
                       "antes de mostrá-la; numa sessão verificável (quessar-cli sessao) os "
                       "dados vêm do segredo. Veja quessar-registro(5)."),
        QStringLiteral("ARQUIVO"));
    parser.addOptions({quantity, seed, details, json, recordFile});
    parser.addPositionalArgument(QStringLiteral("expressão"),
                                 QStringLiteral("Expressões de dados, como 3d6 ou 4d6kh3+2."),
                                 QStringLiteral("[EXPRESSÃO…]"));
    if (const auto status = parse(parser, arguments, out, err))
        return *status;

    const std::optional<qint64> readRolls = readWholeNumber(parser, quantity, 1, 1, MaxRolls, err);
    std::optional<std::uint64_t> seedValue;
    if (!readRolls || !readSeed(parser, seed, seedValue, err))
        return ExitBadArguments;
    const qint64 rolls = *readRolls;
    const Rendering rendering{parser.isSet(json), parser.isSet(details)};
    SplitMixDieSource source(RunSeed(seedValue));
    if (parser.isSet(recordFile)) {
        QString error;
        const QString path = parser.value(recordFile);
        if (!m_record.open(path, RecordLine::header(QByteArray("quessar-cli ") + QuessarVersionString),
                           false, error))
            return recordFailed(err, path, error);
        m_recordPath = path;
        m_recording = true;
        // A verifiable session rolls with its secret's dice, which a seed would replace.
        const QByteArray &commitment = m_record.state().commitment;
        if (!commitment.isEmpty()) {
            if (seedValue)
                return badArgument(err, QStringLiteral("-s/--semente não vale numa sessão "
                                                       "verificável: os dados vêm do segredo"));
            if (!SessionSecret::read(SessionSecret::pathFor(path), commitment, m_secret, error))
                return recordFailed(err, path, error);
        }
    }

    const QStringList texts = parser.positionalArguments();
    if (texts.isEmpty()) {
        if (isatty(STDIN_FILENO))
            return badArgument(err, QStringLiteral("falta a EXPRESSÃO dos dados (ou expressões "
                                                   "pela entrada padrão, uma por linha); veja "
                                                   "\"quessar-cli dados --help\""));
        return serve(rolls, rendering, source, out, err);
    }

    auto parsed = ParseDiceArguments(texts);
    if (const auto *message = std::get_if<QString>(&parsed))
        return badArgument(err, *message);
    const auto &expressions = std::get<std::vector<DiceExpression>>(parsed);
    // At most 100000 dice per expression and about 64 Ki expressions in a command line.
    qint64 dice = 0;
    for (const DiceExpression &expression : expressions)
        dice += expression.diceCount();
    if (dice > MaxDicePerRun / rolls)
        return badArgument(err, tooManyDice(rolls, dice));

    for (std::size_t e = 0; e < expressions.size(); ++e) {
        const Recorded rolled = roll(expressions[e], rolls, rendering, source, out, err);
        if (rolled == Recorded::Failed)
            return ExitOutputFailed;
        if (rolled == Recorded::OutOfRange)
            return badArgument(err, outOfRange(texts[qsizetype(e)]));
    }
    return ExitSuccess;
}

int DiceCommand::serve(qint64 rolls, Rendering rendering, DieSource &source, CliOutput &out,
                       CliOutput &err)
{
    // Lines are read with read(2) and answered as soon as they are complete: a bot writes a
    // line and waits for its answer, so no answer may wait for more input.
    QByteArray pending;
    qint64 lineNumber = 0;
    bool refused = false;
    bool skippingLongLine = false;
    bool recordBroken = false; // a roll that could not be recorded ends the server
    const auto refuse = [&](const QString &message) {
        err.write(QStringLiteral("quessar-cli dados: linha ") + QString::number(lineNumber)
                  + QStringLiteral(": ") + message + u'\n');
        err.flush();
        refused = true;
    };
    const auto answer = [&](QByteArrayView line) {
        ++lineNumber;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            return;
        if (line.size() > MaxLineBytes) {
            refuse(QStringLiteral("linha longa demais (mais de %1 bytes)").arg(MaxLineBytes));
            return;
        }
        const std::optional<QString> text = DecodeArgument(line);
        if (!text) {
            refuse(QStringLiteral("a linha não é UTF-8: \"") + ShowBytes(line) + u'"');
            return;
        }
        auto parsed = ParseDiceArgument(*text);
        if (const auto *message = std::get_if<QString>(&parsed)) {
            refuse(*message);
            return;
        }
        const DiceExpression &expression = std::get<DiceExpression>(parsed);
        if (expression.diceCount() > MaxDicePerRun / rolls) {
            refuse(tooManyDice(rolls, expression.diceCount()));
            return;
        }
        const Recorded rolled = roll(expression, rolls, rendering, source, out, err);
        if (rolled == Recorded::Failed)
            recordBroken = true;
        else if (rolled == Recorded::OutOfRange)
            refuse(outOfRange(*text));
    };

    if (m_recording)
        m_batch.emplace(m_record, m_secret);
    const auto failed = [this, &out] {
        m_batch.reset(); // a batch left open is dropped
        out.flush();
        return ExitOutputFailed;
    };

    char block[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            err.write(QStringLiteral("quessar-cli dados: não foi possível ler a entrada padrão: ")
                      + QString::fromLocal8Bit(std::strerror(errno)) + u'\n');
            return ExitOutputFailed;
        }
        if (got == 0)
            break;
        pending.append(block, got);
        qsizetype start = 0;
        for (qsizetype end; (end = pending.indexOf('\n', start)) >= 0; start = end + 1) {
            if (skippingLongLine)
                skippingLongLine = false;
            else
                answer(QByteArrayView(pending).sliced(start, end - start));
            if (out.failed() || recordBroken)
                return failed();
        }
        // Every complete line read so far is answered before reading on: a bot that waits
        // for its answer gets it now, and lines that came in together go out together (and,
        // with a record, go into it together).
        if (!finishBatch(out, err) || !out.flush())
            return failed();
        pending.remove(0, start);
        // A line longer than any expression may be is refused without being kept whole.
        if (!skippingLongLine && pending.size() > MaxLineBytes) {
            ++lineNumber;
            refuse(QStringLiteral("linha longa demais (mais de %1 bytes)").arg(MaxLineBytes));
            skippingLongLine = true;
        }
        if (skippingLongLine)
            pending.clear();
    }
    if (!skippingLongLine && !pending.isEmpty())
        answer(pending);
    if (recordBroken || !finishBatch(out, err))
        return failed();
    m_batch.reset();
    return refused ? ExitBadArguments : ExitSuccess;
}

DiceCommand::Recorded DiceCommand::roll(const DiceExpression &expression, qint64 rolls,
                                        Rendering rendering, DieSource &source, CliOutput &out,
                                        CliOutput &err)
{
    if (!m_recording)
        return rollInto(expression, rolls, rendering, source, out) ? Recorded::Done
                                                                   : Recorded::OutOfRange;
    QString error;
    if (m_batch) {
        if (!m_batch->begun() && !m_batch->begin(error)) {
            recordFailed(err, m_recordPath, error);
            return Recorded::Failed;
        }
        const qsizetype kept = m_batchAnswers.size();
        if (m_batch->add(expression, rolls, source,
                         answerInto(m_batchAnswers, expression, rendering))
            == RecordedRolls::Result::OutOfRange) {
            m_batchAnswers.truncate(kept);
            return Recorded::OutOfRange;
        }
        return Recorded::Done;
    }
    const Recorded rolled =
        recordInto(expression, rolls, rendering, source, m_secret, m_record, out, error);
    if (rolled == Recorded::Failed)
        recordFailed(err, m_recordPath, error);
    return rolled;
}

bool DiceCommand::finishBatch(CliOutput &out, CliOutput &err)
{
    if (!m_batch || !m_batch->begun())
        return true;
    QString error;
    const bool recorded = m_batch->commit(error);
    if (recorded)
        out.write(m_batchAnswers);
    else
        recordFailed(err, m_recordPath, error);
    m_batchAnswers.resize(0);
    return recorded;
}

int DiceCommand::recordFailed(CliOutput &err, const QString &path, const QString &reason)
{
    err.write(QStringLiteral("quessar-cli dados: o registro \"") + path
              + QStringLiteral("\" não pôde receber a rolagem, que não foi feita: ") + reason
              + u'\n');
    err.flush();
    return ExitOutputFailed;
}
