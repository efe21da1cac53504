#include "cli/DiceCommand.h"

#include "cli/CliArguments.h"
#include "cli/CliOutput.h"
#include "dice/DiceNotation.h"
#include "dice/DiceOutcomeFormat.h"
#include "dice/DiceRoller.h"
#include "dice/SplitMixDieSource.h"

#include <QCommandLineParser>
#include <QJsonDocument>

#include <vector>

namespace {

// The expression as the user gave it, on one line: characters that would not show (a line
// break, a tab) appear as their code, U+000A.
QString shown(const QString &text)
{
    QString line;
    for (const QChar c : text) {
        if (c.isPrint() || c.isSurrogate())
            line += c;
        else
            line += QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    }
    return line;
}

QString description(const QString &summary)
{
    return summary + QStringLiteral(R"(

Cada EXPRESSÃO é rolada N vezes, na ordem dada, uma linha por rolagem
terminada em "= TOTAL".

Notação:
  NdM      N dados de M faces (N de 1 a 10000, 1 se omitido; M de 1 a 1000000)
  d%       o mesmo que d100
  dF       dado Fate: -1, 0 ou +1
  !        logo depois das faces: cada dado que mostra o valor máximo rola mais
           um dado, que também pode explodir (no máximo 100 dados extras por
           dado); não vale para dados de uma face nem para dF, cujo +1 não é
           um máximo a rolar de novo
  khK, kK  mantém os K maiores       klK      mantém os K menores
  dhK      descarta os K maiores     dlK, dK  descarta os K menores
           K maior que o número de dados mantém (ou descarta) todos. As
           explosões vêm primeiro: em 8d4!kh3 os 3 maiores são escolhidos
           entre todos os dados, os extras também. Entre dados iguais, o
           primeiro rolado é o mantido.
  inteiros, + - *, menos unário e parênteses, com a precedência usual;
  espaços entre os termos. Qualquer outra coisa ("/" também) é recusada com
  a sua posição.

Limites: no máximo 100000 dados por rolagem antes das explosões, 100 níveis
de parênteses e de menos unário, e 100000000 dados por execução (rolagens
vezes dados das expressões). Todo valor intermediário é conferido: uma
expressão cujo resultado poderia sair dos 64 bits com sinal (de
-9223372036854775808 a 9223372036854775807) é recusada, nunca arredondada.

Com --detalhes, cada dado aparece antes do total, na ordem rolada: um dado
descartado fica entre tis (~2~), um dado que explodiu leva "!" e o dado extra
vem logo depois dele; dF mostra -1, 0 e +1.
Com --json, um objeto por linha: {"expressao", "termos": [{"termo", "dados":
[{"valor", "mantido"}], "soma"}], "total"}; os dados de um termo com "!"
também dizem "explodiu" e "extra".

Exemplos:
  quessar-cli dados 3d6
  quessar-cli dados -n 6 4d6kh3
  quessar-cli dados --detalhes 2d20kl1+5 'dF*3' '8d4!kh3'
  quessar-cli dados -s 42 --json 'd%'
  quessar-cli dados -- -1d4+2     (uma expressão que começa com "-" vem
                                   depois de "--"))");
}

} // namespace

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
                                 QStringLiteral("EXPRESSÃO…"));
    if (const auto status = parse(parser, arguments, out, err))
        return *status;

    const std::optional<qint64> readRolls = readWholeNumber(parser, quantity, 1, 1, MaxRolls, err);
    std::optional<std::uint64_t> seedValue;
    if (!readRolls || !readSeed(parser, seed, seedValue, err))
        return ExitBadArguments;
    const qint64 rolls = *readRolls;

    const QStringList texts = parser.positionalArguments();
    if (texts.isEmpty())
        return badArgument(err, QStringLiteral("falta a EXPRESSÃO dos dados; veja "
                                               "\"quessar-cli dados --help\""));

    // Every expression is checked before anything is rolled, so a bad one leaves no output.
    std::vector<DiceExpression> expressions;
    expressions.reserve(std::size_t(texts.size()));
    qint64 dice = 0;
    for (const QString &text : texts) {
        auto parsed = DiceNotation::parse(text);
        if (const auto *error = std::get_if<DiceNotationError>(&parsed))
            return badArgument(err, QStringLiteral("expressão \"%1\", posição %2: %3")
                                        .arg(shown(text))
                                        .arg(error->position)
                                        .arg(error->message));
        expressions.push_back(std::move(std::get<DiceExpression>(parsed)));
        // At most 100000 dice per expression and about 64 Ki expressions in a command line.
        dice += expressions.back().diceCount();
    }
    if (dice > MaxDicePerRun / rolls)
        return badArgument(err, QStringLiteral("-n/--quantidade: %1 rolagens de %2 dados passam "
                                               "do limite de %3 dados por execução")
                                    .arg(rolls)
                                    .arg(dice)
                                    .arg(MaxDicePerRun));

    SplitMixDieSource source(RunSeed(seedValue));
    const bool asJson = parser.isSet(json);
    const bool withDetails = parser.isSet(details);
    for (std::size_t e = 0; e < expressions.size(); ++e) {
        const DiceExpression &expression = expressions[e];
        DiceRoller roller(expression, source);
        for (qint64 r = 0; r < rolls && !out.failed(); ++r) {
            if (!roller.roll())
                return badArgument(err, QStringLiteral("expressão \"%1\": o resultado saiu do "
                                                       "limite de 64 bits")
                                            .arg(shown(texts[qsizetype(e)])));
            if (asJson) {
                out.write(QJsonDocument(DiceOutcomeJson(expression, roller.outcome()))
                              .toJson(QJsonDocument::Compact));
                out.write(QByteArrayView("\n"));
            } else if (withDetails) {
                AppendDiceDetailsLine(out.buffer(), expression, roller.outcome());
                out.flushIfFull();
            } else {
                AppendDiceLine(out.buffer(), expression, roller.outcome());
                out.flushIfFull();
            }
        }
    }
    return ExitSuccess;
}
