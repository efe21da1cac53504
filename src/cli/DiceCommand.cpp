#include "cli/DiceCommand.h"

#include "cli/CliArguments.h"
#include "cli/CliOutput.h"
#include "cli/DiceExpressionArgument.h"
#include "dice/DiceNotation.h"
#include "dice/DiceOutcomeFormat.h"
#include "dice/DiceOutcomeJson.h"
#include "dice/DiceRoller.h"
#include "dice/SplitMixDieSource.h"

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
cano ou arquivo, lê uma expressão por linha e responde cada uma na hora
(para robôs de chat): linhas vazias são puladas, uma linha recusada é
dita na saída de erros com o seu número e a leitura continua.

Notação (exemplo: saída com --detalhes -s 1):
  NdM, NDM  N dados de M faces; d% = d100; dF = Fate (-1, 0, +1), dF.1
  >=8 <3 =6 <>1 (ou !=1)  conta sucessos em vez de somar
            10d10>=8: [3, 8*, 10*, 1, ...] = 4
  f<cp>     conta falhas e as subtrai: 10d10>=8f1
  khK kK    mantém os K maiores; klK os K menores: 4d6kh3, 2d20kl1+5
  dhK       descarta os K maiores; dlK, dK os K menores: 4d6d1
  r, r<cp>  rola de novo a menor face / enquanto cumprir (até 100): 4d6r1
  ro<cp>    rola de novo uma vez só: 2d20ro<3
  u, uo     rola de novo faces repetidas (até 100 / uma vez): 4d6u
  !, !<cp>  explode no máximo / na condição (até 100 extras por dado): 3d6!
  !!        explosão acumulada, um valor por dado: 3d6!!
  !p, !!p   explosão penetrante: cada extra conta 1 a menos: 2d6!p
  minN maxN eleva / rebaixa cada face a N: 4d6min2, 2d20max15
  cs<cp>, cf<cp>  marca críticos de sucesso / falha: 1d20cs>=19
  s, sa, sd ordena os dados mostrados: 4d6sd
  {a, b}    grupo: soma dos membros; {1d20+5, 1d20+5}kh1 mantém o maior,
            {3d6, 3d6, 3d6}>=12 conta membros; {4d6+3d8}k4 junta os dados
  + - * / % ^ **  com a precedência usual; / é exata: 1d6/2 pode dar 2,5
  floor ceil round abs sign min max pow: floor(1d6/2), max(1d20, 1d20)
  [texto]   rótulo de um termo: 2d6[fogo]+1d4[gelo]; "# texto" no fim
  <cp> é uma comparação: =N <>N !=N <N >N <=N >=N; r, ro, f, cs e cf
  também aceitam N sozinho (=N).

Um total que não é inteiro sai com até 4 casas e vírgula decimal (2,5);
em JSON, como número e com "fracao": "5/2".

Com --detalhes, cada dado aparece antes do total, na ordem rolada: ~2~
descartado, 1r rolado de novo (o seguinte o substitui), 3u repetido, 6!
explodiu (o extra vem logo depois), 9!! acumulou, 5p penetrou, 3^ elevado
por min, 4v rebaixado por max, 8* sucesso, 1f falha, 20++ crítico de
sucesso, 1-- crítico de falha; dF mostra -1, 0 e +1.
Com --json, um objeto por linha: {"expressao", "termos": [{"termo",
"dados": [{"valor", "mantido", ...}], "soma" ou "sucessos"}], "total"}.

Limites: 10000 caracteres por expressão e 200 por rótulo; 10000 dados por
termo e 100000 por rolagem antes das explosões; 10100000 rolagens de dado
com rerrolagens e explosões no limite; 100 níveis de parênteses, chaves,
funções e potências; 100000000 dados por execução (rolagens vezes dados).
Todo valor intermediário é conferido antes de rolar: o que poderia sair
dos 64 bits, dividir por 0 ou não deixar nenhum dado é recusado com a
posição.

Exemplos:
  quessar-cli dados 3d6
  quessar-cli dados -n 6 4d6kh3
  quessar-cli dados --detalhes '10d10>=8f1' '3d6!!' '{1d20+5, 1d20+5}kh1'
  quessar-cli dados -s 42 --json 'd%'
  echo '2d6+3 # espada' | quessar-cli dados
  quessar-cli dados -- -1d4+2     (uma expressão que começa com "-" vem
                                   depois de "--"))");
}

// Rolls `expression` `rolls` times into `out`. False when the roller reports a value out
// of range, which the notation's bounds rule out.
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
    parser.addOptions({quantity, seed, details, json});
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

    const QStringList texts = parser.positionalArguments();
    if (texts.isEmpty()) {
        if (isatty(STDIN_FILENO))
            return badArgument(err, QStringLiteral("falta a EXPRESSÃO dos dados (ou expressões "
                                                   "pela entrada padrão, uma por linha); veja "
                                                   "\"quessar-cli dados --help\""));
        return serve(rolls, rendering, source, out, err);
    }

    // Every expression is checked before anything is rolled, so a bad one leaves no output.
    std::vector<DiceExpression> expressions;
    expressions.reserve(std::size_t(texts.size()));
    qint64 dice = 0;
    for (const QString &text : texts) {
        auto parsed = ParseDiceArgument(text);
        if (const auto *message = std::get_if<QString>(&parsed))
            return badArgument(err, *message);
        expressions.push_back(std::move(std::get<DiceExpression>(parsed)));
        // At most 100000 dice per expression and about 64 Ki expressions in a command line.
        dice += expressions.back().diceCount();
    }
    if (dice > MaxDicePerRun / rolls)
        return badArgument(err, tooManyDice(rolls, dice));

    for (std::size_t e = 0; e < expressions.size(); ++e) {
        if (!rollInto(expressions[e], rolls, rendering, source, out))
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
        if (!rollInto(expression, rolls, rendering, source, out))
            refuse(outOfRange(*text));
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
            if (out.failed())
                return ExitOutputFailed;
        }
        // Every complete line read so far is answered before reading on: a bot that waits
        // for its answer gets it now, and lines that came in together go out together.
        if (!out.flush())
            return ExitOutputFailed;
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
    return refused ? ExitBadArguments : ExitSuccess;
}
