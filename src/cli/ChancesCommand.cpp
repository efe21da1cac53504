#include "cli/ChancesCommand.h"

#include "cli/CliArguments.h"
#include "cli/CliOutput.h"
#include "cli/DiceExpressionArgument.h"
#include "common/AtomicFile.h"
#include "dice/chart/ChartCsv.h"
#include "dice/chart/ChartJson.h"
#include "dice/chart/ChartSvg.h"
#include "dice/chart/ChartTable.h"
#include "dice/chart/OddsChart.h"
#include "dice/chart/OpposedOdds.h"
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

Comparações: --comparar põe as expressões numa tabela só, uma coluna por
expressão, na visão de --ver; --alvos dá uma linha por alvo, com um * na
maior chance; com duas expressões, a chance de a primeira vencer, empatar
ou perder; --variar troca o @ da expressão por cada número do intervalo,
uma série por número. Vantagem contra +8 (os alvos 12 a 19 omitidos):
  $ quessar-cli chances --comparar --alvos 10..20 2d20kh1+5 1d20+8
  2d20kh1+5: média 18,825; desvio padrão 4,7111; mínimo 6; máximo 25
  1d20+8: média 18,5; desvio padrão 5,7663; mínimo 9; máximo 28
  chance de tirar pelo menos o alvo (* a maior da linha)
  alvo  2d20kh1+5     1d20+8
    10    96,00 %*   95,00 %
    11    93,75 %*   90,00 %
    20    51,00 %*   45,00 %
  2d20kh1+5 contra 1d20+8: vence 49,30 %; empata 4,89 %; perde 45,81 %

Exemplos:
  quessar-cli chances 4d6kh3 '10d10>=8' 8d6 '3d6!'
  quessar-cli chances --alvo 3 '10d10>=8f1'
  quessar-cli chances --json '{1d20+5, 1d20+5}kh1'
  quessar-cli chances --amostras 100000 -s 1 '30d20!kh10'
  quessar-cli chances --variar 1..10 --alvos 1..4 '@d10>=8'
  quessar-cli chances --diferenca --alvos 1..5 2d6+3 1d10+4
  quessar-cli chances --ver no-maximo --csv-br 3d6 4d6kh3
  quessar-cli chances --variar 0..5 --svg bonus.svg --alvos 10..20 'd20+@')");
}

// Why the text of --alvo is refused, in words; the user's text is inserted once.
QString targetProblem(const QString &text, NumberProblem problem,
                      const QString &option = QStringLiteral("--alvo"))
{
    switch (problem) {
    case NumberProblem::OutOfRange:
        return option
               + QStringLiteral(": \"%1\" está fora do intervalo de %2 a %3")
                     .arg(text, QString::number(std::numeric_limits<qint64>::min()),
                          QString::number(std::numeric_limits<qint64>::max()));
    case NumberProblem::TooFine:
        return option + QStringLiteral(": \"%1\" tem casas decimais demais (até 18)").arg(text);
    case NumberProblem::NotANumber:
        break;
    }
    return option
           + QStringLiteral(": \"%1\" não é um número (como 15, -2, 7/2, 3,5 ou 3.5)").arg(text);
}


// The text of a --alvos or --variar range refused, in words; the user's text inserted once.
QString rangeProblem(const QString &option, const QString &text, const QString &why)
{
    return QStringLiteral("%1: \"%2\" %3").arg(option, text, why);
}

// The targets of every --alvos: numbers (as --alvo reads them) and ranges "INÍCIO..FIM" that
// step by 1 from INÍCIO, several in one argument apart by blanks. An empty answer after
// writing the reason to `problem`.
std::vector<Fraction> readTargets(const QStringList &arguments, qint64 limit, QString &problem)
{
    std::vector<Fraction> targets;
    const auto number = [&](const QString &text, std::optional<Fraction> &value) {
        const auto read = ParseExactNumber(text);
        if (const auto *why = std::get_if<NumberProblem>(&read)) {
            problem = targetProblem(text, *why, QStringLiteral("--alvos"));
            return false;
        }
        value = std::get<Fraction>(read);
        return true;
    };
    for (const QString &argument : arguments) {
        const QStringList words = argument.split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty()) {
            problem = rangeProblem(QStringLiteral("--alvos"), argument,
                                   QStringLiteral("não traz alvo (como 10..20 ou \"10 15 20\")"));
            return {};
        }
        for (const QString &word : words) {
            const qsizetype dots = word.indexOf(QStringLiteral(".."));
            std::optional<Fraction> first;
            std::optional<Fraction> last;
            if (dots < 0) {
                if (!number(word, first))
                    return {};
                last = first;
            } else if (!number(word.left(dots), first) || !number(word.mid(dots + 2), last)) {
                return {};
            }
            const auto span = last->minus(*first);
            if (!span || span->sign() < 0) {
                problem = rangeProblem(QStringLiteral("--alvos"), word,
                                       QStringLiteral("termina antes de começar"));
                return {};
            }
            if (span->floor() >= limit - qint64(targets.size())) {
                problem = rangeProblem(QStringLiteral("--alvos"), argument,
                                       QStringLiteral("passa de %1 alvos").arg(limit));
                return {};
            }
            for (qint64 i = 0; i <= span->floor(); ++i)
                targets.push_back(*first->plus(i));
        }
    }
    return targets;
}

// The view of --ver, or nothing for a word it does not know.
std::optional<ChartView> readView(const QString &text)
{
    if (text == u"exatamente")
        return ChartView::Exactly;
    if (text == u"pelo-menos")
        return ChartView::AtLeast;
    if (text == u"no-maximo" || text == u"no-máximo")
        return ChartView::AtMost;
    return std::nullopt;
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
    const QCommandLineOption compare(
        QStringLiteral("comparar"),
        QStringLiteral("Uma tabela só, uma coluna por expressão (até %1).").arg(MaxCompared));
    const QCommandLineOption view(QStringLiteral("ver"),
                                  QStringLiteral("A chance de cada valor: exatamente (o "
                                                 "padrão), pelo-menos ou no-maximo."),
                                  QStringLiteral("VISÃO"));
    const QCommandLineOption targets(
        QStringLiteral("alvos"),
        QStringLiteral("Uma linha por alvo (10..20, \"8 10 12\"), com a chance de tirar pelo "
                       "menos o alvo (ou no máximo, com --ver no-maximo)."),
        QStringLiteral("ALVOS"));
    const QCommandLineOption sweep(
        QStringLiteral("variar"),
        QStringLiteral("Troca cada @ da expressão por INÍCIO, …, FIM: uma série por valor "
                       "(--variar 1..10 '@d10>=8')."),
        QStringLiteral("INÍCIO..FIM"));
    const QCommandLineOption difference(
        QStringLiteral("diferenca"),
        QStringLiteral("Com duas expressões: a distribuição da primeira menos a segunda."));
    const QCommandLineOption csv(QStringLiteral("csv"),
                                 QStringLiteral("A tabela em CSV: vírgulas, ponto decimal."));
    const QCommandLineOption csvBrazilian(
        QStringLiteral("csv-br"),
        QStringLiteral("A tabela em CSV para planilha em português: ponto e vírgula, vírgula "
                       "decimal."));
    const QCommandLineOption svg(QStringLiteral("svg"),
                                 QStringLiteral("Grava em ARQUIVO o gráfico da tabela, em SVG."),
                                 QStringLiteral("ARQUIVO"));
    parser.addOptions({target, json, samples, seed, compare, view, targets, sweep, difference,
                       csv, csvBrazilian, svg});
    parser.addPositionalArgument(QStringLiteral("expressão"),
                                 QStringLiteral("Expressões de dados, como 4d6kh3 ou 2d20kh1+5."),
                                 QStringLiteral("EXPRESSÃO…"));
    if (const auto status = parse(parser, arguments, out, err))
        return *status;

    const bool charted = parser.isSet(compare) || parser.isSet(view) || parser.isSet(targets)
                         || parser.isSet(sweep) || parser.isSet(difference) || parser.isSet(csv)
                         || parser.isSet(csvBrazilian) || parser.isSet(svg);
    if (charted) {
        ChartRequest request;
        if (parser.isSet(target))
            return badArgument(err, QStringLiteral("--alvo dá as chances de um alvo só; numa "
                                                   "comparação, use --alvos"));
        if (parser.isSet(samples))
            return badArgument(err, QStringLiteral("--amostras não vale numa comparação, que "
                                                   "é sempre exata"));
        if (parser.isSet(csv) && parser.isSet(csvBrazilian))
            return badArgument(err, QStringLiteral("escolha --csv ou --csv-br, não os dois"));
        if ((parser.isSet(csv) || parser.isSet(csvBrazilian)) && parser.isSet(json))
            return badArgument(err, QStringLiteral("escolha --csv ou --json, não os dois"));
        if (parser.isSet(view)) {
            const QString text = parser.value(view);
            const auto chosen = readView(text);
            if (!chosen)
                return badArgument(err, QStringLiteral("--ver: \"%1\" não é exatamente, "
                                                       "pelo-menos nem no-maximo")
                                            .arg(text));
            request.view = *chosen;
        } else if (parser.isSet(targets)) {
            request.view = ChartView::AtLeast;
        }
        if (parser.isSet(targets)) {
            QString problem;
            auto read = readTargets(parser.values(targets), MaxTargets, problem);
            if (read.empty())
                return badArgument(err, problem);
            request.targets = std::move(read);
        }
        if (parser.isSet(sweep)) {
            const QString text = parser.value(sweep);
            const qsizetype dots = text.indexOf(QStringLiteral(".."));
            const auto first = dots < 0 ? std::nullopt
                                        : ParseWholeNumber(text.left(dots), -1'000'000, 1'000'000);
            const auto last = dots < 0 ? std::nullopt
                                       : ParseWholeNumber(text.mid(dots + 2), -1'000'000, 1'000'000);
            if (!first || !last || *last < *first)
                return badArgument(err, rangeProblem(QStringLiteral("--variar"), text,
                                                     QStringLiteral("não é um intervalo de "
                                                                    "inteiros (como 1..10)")));
            if (*last - *first >= MaxSeries)
                return badArgument(err, rangeProblem(QStringLiteral("--variar"), text,
                                                     QStringLiteral("passa de %1 valores")
                                                         .arg(MaxSeries)));
            request.sweep = std::pair{*first, *last};
        }
        request.difference = parser.isSet(difference);
        request.json = parser.isSet(json);
        request.csv = parser.isSet(csv) || parser.isSet(csvBrazilian);
        request.csvBrazilian = parser.isSet(csvBrazilian);
        request.svg = parser.isSet(svg);
        request.svgPath = parser.value(svg);
        return runChart(parser.positionalArguments(), request, out, err);
    }

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

int ChancesCommand::runChart(const QStringList &given, const ChartRequest &request,
                             CliOutput &out, CliOutput &err) const
{
    if (given.isEmpty())
        return badArgument(err, QStringLiteral("falta a EXPRESSÃO dos dados; veja "
                                               "\"quessar-cli chances --help\""));
    if (given.size() > MaxCompared)
        return badArgument(err, QStringLiteral("compara até %1 expressões de uma vez, não %2")
                                    .arg(QString::number(MaxCompared),
                                         QString::number(given.size())));
    // A sweep writes each value in place of every "@": one series per value and expression.
    QStringList texts;
    if (request.sweep) {
        for (const QString &text : given) {
            if (!text.contains(u'@'))
                return badArgument(err, QStringLiteral("--variar: a expressão \"")
                                            + ShownExpression(text)
                                            + QStringLiteral("\" não tem @ para variar"));
        }
        const qint64 values = request.sweep->second - request.sweep->first + 1;
        if (values * given.size() > MaxSeries)
            return badArgument(err, QStringLiteral("--variar: %1 valores de %2 expressões "
                                                   "passam de %3 séries")
                                        .arg(QString::number(values),
                                             QString::number(given.size()),
                                             QString::number(MaxSeries)));
        for (const QString &text : given) {
            for (qint64 v = request.sweep->first; v <= request.sweep->second; ++v)
                texts.append(QString(text).replace(u'@', QString::number(v)));
        }
    } else {
        texts = given;
    }
    if (request.difference && texts.size() != 2)
        return badArgument(err, QStringLiteral("--diferenca compara exatamente duas expressões, "
                                               "não %1")
                                    .arg(texts.size()));

    auto parsed = ParseDiceArguments(texts);
    if (const auto *message = std::get_if<QString>(&parsed))
        return badArgument(err, *message);
    const auto &expressions = std::get<std::vector<DiceExpression>>(parsed);

    std::vector<ChartSeries> series;
    for (std::size_t e = 0; e < expressions.size(); ++e) {
        auto exact = DiceOdds::evaluate(expressions[e]);
        if (const auto *refusal = std::get_if<DiceOddsRefusal>(&exact))
            return badArgument(err, QStringLiteral("expressão \"")
                                        + ShownExpression(texts[qsizetype(e)])
                                        + QStringLiteral("\": ") + refusal->reason);
        series.push_back({expressions[e].shownUtf8(), std::move(std::get<DiceDistribution>(exact))});
    }

    std::optional<OpposedOdds> opposed;
    if (series.size() == 2)
        opposed = OpposedOdds::of(series[0].odds, series[1].odds);
    if (request.difference) {
        auto difference = OpposedOdds::difference(series[0].odds, series[1].odds);
        if (!difference)
            return badArgument(err, QStringLiteral("a diferença das duas expressões passa dos "
                                                   "limites do cálculo exato"));
        series = {{"(" + series[0].name + ") - (" + series[1].name + ")", std::move(*difference)}};
    }
    const qsizetype rows = request.targets ? qsizetype(request.targets->size())
                                           : OddsChart::rowsOverAllValues(series);
    if (rows * qsizetype(series.size()) > OddsChart::MaxCells)
        return badArgument(err, QStringLiteral("a tabela teria %1 linhas de %2 colunas, mais "
                                               "que %3 chances; --alvos escolhe menos linhas")
                                    .arg(QString::number(rows), QString::number(series.size()),
                                         QString::number(OddsChart::MaxCells)));
    const OddsChart chart = request.targets
                                ? OddsChart(std::move(series), request.view, *request.targets)
                                : OddsChart(std::move(series), request.view);

    if (request.svg) {
        QByteArray picture;
        ChartSvg::append(picture, chart);
        QString reason;
        const QString &path = request.svgPath;
        if (path.isEmpty() || !AtomicFile::write(path, picture, &reason)) {
            err.write(QStringLiteral("quessar-cli %1: não foi possível gravar \"%2\": %3\n")
                          .arg(name(), path,
                               path.isEmpty() ? QStringLiteral("nome de arquivo vazio") : reason));
            return ExitOutputFailed;
        }
    }

    QByteArray &text = out.buffer();
    if (request.json) {
        ChartJson::append(text, chart, opposed && !request.difference ? &*opposed : nullptr);
    } else if (request.csv) {
        ChartCsv::append(text, chart,
                         request.csvBrazilian ? ChartCsv::Flavour::Brazilian
                                              : ChartCsv::Flavour::Plain);
    } else {
        ChartTable::append(text, chart);
        if (opposed)
            ChartTable::appendOpposed(text, expressions[0].shownUtf8(), expressions[1].shownUtf8(),
                                      *opposed);
    }
    out.flushIfFull();
    return ExitSuccess;
}
