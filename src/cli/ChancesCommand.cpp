#include "cli/ChancesCommand.h"

#include "cli/CliArguments.h"
#include "cli/CliOutput.h"
#include "cli/DiceExpressionArgument.h"
#include "dice/odds/DiceOdds.h"
#include "dice/format/DiceOddsReport.h"
#include "dice/odds/OddsBudget.h"
#include "dice/odds/SampledOdds.h"
#include "dice/roll/SplitMixDieSource.h"

#include <QCommandLineParser>

#include <limits>
#include <optional>
#include <variant>
#include <vector>

namespace {

QString description(const QString &summary)
{
    return summary + QStringLiteral(R"(

Cada EXPRESSÃO, na notação de "quessar-cli dados" (veja "quessar-cli dados
--help"), recebe a sua distribuição exata, calculada sob as mesmas regras
com que "dados" rola, rerrolagens e explosões até o limite de 100
incluídas: uma linha com a média, o desvio padrão, o mínimo e o máximo, e
uma linha por valor com a chance dele, a de tirar pelo menos e a de tirar
no máximo esse valor, e uma barra do tamanho da chance. Mais de três
valores raros seguidos numa ponta (menos de 0,005 % cada, como na cauda de
uma explosão) aparecem somados numa linha só; --json traz todos.

Exemplo (vantagem: o maior de dois d20, mais 5; os valores de 8 a 24 omitidos):
  $ quessar-cli chances 2d20kh1+5
  2d20kh1+5: média 18,825; desvio padrão 4,7111; mínimo 6; máximo 25
  valor    chance  pelo menos  no máximo
      6    0,25 %    100,00 %     0,25 %  ▉
      7    0,75 %     99,75 %     1,00 %  ██▌
     25    9,75 %      9,75 %   100,00 %  ████████████████████████████████
  $ quessar-cli chances --alvo 15 2d20kh1+5
  2d20kh1+5, alvo 15: exatamente 4,75 %; pelo menos 79,75 %; no máximo 25,00 %

Com --json, um objeto por expressão e por linha, com a distribuição
inteira e as probabilidades em precisão dupla: {"expressao", "media",
"desvio_padrao", "minimo", "maximo", "distribuicao": [{"valor",
"probabilidade", "pelo_menos", "no_maximo"}]}; um valor que não é inteiro
traz também "fracao": "7/2". Com --alvo, {"expressao", "alvo",
"exatamente", "pelo_menos", "no_maximo"}. O rótulo ("# texto") vai no fim
da primeira linha e em "rotulo".

Limites do cálculo exato: 1000000 valores distintos em qualquer etapa,
cerca de 400 milhões de operações (meio segundo) e 4000000 probabilidades
guardadas de uma vez. Uma expressão que passaria de um deles é recusada na
hora, dizendo qual; com --amostras N ela é estimada rolando N vezes, com a
margem de erro de 95 %. Toda rolagem da janela de dados (1 a 50 dados de 4
a 20 faces) cabe com folga. Probabilidades abaixo de 1e-150 contam como 0.

Exemplos:
  quessar-cli chances 4d6kh3 '10d10>=8' 8d6 '3d6!'
  quessar-cli chances --alvo 3 '10d10>=8f1'
  quessar-cli chances --json '{1d20+5, 1d20+5}kh1'
  quessar-cli chances --amostras 100000 -s 1 '30d20!kh10')");
}

// Why the text of --alvo is refused, in words; the user's text is inserted once.
QString targetProblem(const QString &text, NumberProblem problem)
{
    switch (problem) {
    case NumberProblem::OutOfRange:
        return QStringLiteral("--alvo: \"%1\" está fora do intervalo de %2 a %3")
            .arg(text, QString::number(std::numeric_limits<qint64>::min()),
                 QString::number(std::numeric_limits<qint64>::max()));
    case NumberProblem::TooFine:
        return QStringLiteral("--alvo: \"%1\" tem casas decimais demais (até 18)").arg(text);
    case NumberProblem::NotANumber:
        break;
    }
    return QStringLiteral("--alvo: \"%1\" não é um número (como 15, -2, 7/2, 3,5 ou 3.5)")
        .arg(text);
}

} // namespace

int ChancesCommand::run(const QStringList &arguments, CliOutput &out, CliOutput &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description(summary()));
    const QCommandLineOption target(QStringLiteral("alvo"),
                                    QStringLiteral("Só as chances de tirar exatamente, pelo "
                                                   "menos e no máximo N (15, -2, 7/2, 3,5…)."),
                                    QStringLiteral("N"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Um objeto JSON por expressão."));
    const QCommandLineOption samples(
        QStringLiteral("amostras"),
        QStringLiteral("Estima rolando N vezes (de 1 a %1) o que o cálculo exato recusar.")
            .arg(MaxSamples),
        QStringLiteral("N"));
    const QCommandLineOption seed =
        seedOption(QStringLiteral("Semente (inteiro de 64 bits) das rolagens de --amostras."));
    parser.addOptions({target, json, samples, seed});
    parser.addPositionalArgument(QStringLiteral("expressão"),
                                 QStringLiteral("Expressões de dados, como 4d6kh3 ou 2d20kh1+5."),
                                 QStringLiteral("EXPRESSÃO…"));
    if (const auto status = parse(parser, arguments, out, err))
        return *status;

    std::optional<Fraction> targetValue;
    if (parser.isSet(target)) {
        const QString text = parser.value(target);
        const auto read = ParseExactNumber(text);
        if (const auto *problem = std::get_if<NumberProblem>(&read))
            return badArgument(err, targetProblem(text, *problem));
        targetValue = std::get<Fraction>(read);
    }
    const std::optional<qint64> sampleCount =
        readWholeNumber(parser, samples, 0, 1, MaxSamples, err);
    std::optional<std::uint64_t> seedValue;
    if (!sampleCount || !readSeed(parser, seed, seedValue, err))
        return ExitBadArguments;

    const QStringList texts = parser.positionalArguments();
    if (texts.isEmpty())
        return badArgument(err, QStringLiteral("falta a EXPRESSÃO dos dados; veja "
                                               "\"quessar-cli chances --help\""));
    auto parsed = ParseDiceArguments(texts);
    if (const auto *message = std::get_if<QString>(&parsed))
        return badArgument(err, *message);
    const auto &expressions = std::get<std::vector<DiceExpression>>(parsed);

    SplitMixDieSource source(RunSeed(seedValue));
    int status = ExitSuccess;
    for (std::size_t e = 0; e < expressions.size() && !out.failed(); ++e) {
        const DiceExpression &expression = expressions[e];
        const QString named = QStringLiteral("expressão \"") + ShownExpression(texts[qsizetype(e)])
                              + QStringLiteral("\": ");
        auto exact = DiceOdds::evaluate(expression);
        std::optional<DiceDistribution> odds;
        qint64 rolled = 0;
        if (auto *distribution = std::get_if<DiceDistribution>(&exact)) {
            odds = std::move(*distribution);
        } else if (*sampleCount == 0) {
            status = badArgument(err, named + std::get<DiceOddsRefusal>(exact).reason
                                          + QStringLiteral("; --amostras N estima as chances "
                                                           "rolando N vezes"));
            continue;
        } else if (expression.diceCount() > MaxSampledDice / *sampleCount) {
            status = badArgument(
                err, QStringLiteral("--amostras: %1 rolagens de %2 dados passam do limite de %3 "
                                    "dados por estimativa")
                         .arg(QString::number(*sampleCount),
                              QString::number(expression.diceCount()),
                              QString::number(MaxSampledDice)));
            continue;
        } else {
            odds = SampledOdds::roll(expression, *sampleCount, source);
            if (!odds) {
                status = badArgument(err, named + QStringLiteral("as rolagens dão mais de %1 "
                                                                 "valores distintos")
                                                      .arg(OddsBudget::MaxValues));
                continue;
            }
            rolled = *sampleCount;
        }
        const DiceOddsReport report(expression, *odds, rolled);
        const auto written = [&out] { out.flushIfFull(); };
        if (targetValue && parser.isSet(json))
            report.appendTargetJson(out.buffer(), *targetValue);
        else if (targetValue)
            report.appendTargetText(out.buffer(), *targetValue);
        else if (parser.isSet(json))
            report.appendJson(out.buffer(), written);
        else
            report.appendText(out.buffer(), written);
        out.flushIfFull();
    }
    return status;
}
