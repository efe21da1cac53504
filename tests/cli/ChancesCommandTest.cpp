// quessar-cli chances, run as a process.

#include "CliProcess.h"

#include "dice/notation/DiceNotation.h"
#include "dice/odds/DiceOdds.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

DiceDistribution exactOdds(const QString &text)
{
    return std::get<DiceDistribution>(
        DiceOdds::evaluate(std::get<DiceExpression>(DiceNotation::parse(text))));
}

// A table in full: the heading with the label, a row per value with a bar in eighths of a
// character scaled to the likeliest.
TEST(ChancesCommand, WritesTheTableOfEachExpression)
{
    const CliRun run = RunCli({"chances", "2d4 # teste", "--", "-d2"});
    EXPECT_EQ(run.status, 0) << run.errText().toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    const QString bar = QString(u'\u2588');
    EXPECT_EQ(run.outText(),
              "2d4: média 5; desvio padrão 1,5811; mínimo 2; máximo 8 # teste\n"
              "valor    chance  pelo menos  no máximo\n"
              "    2    6,25 %    100,00 %     6,25 %  " + bar.repeated(8) + "\n"
              "    3   12,50 %     93,75 %    18,75 %  " + bar.repeated(16) + "\n"
              "    4   18,75 %     81,25 %    37,50 %  " + bar.repeated(24) + "\n"
              "    5   25,00 %     62,50 %    62,50 %  " + bar.repeated(32) + "\n"
              "    6   18,75 %     37,50 %    81,25 %  " + bar.repeated(24) + "\n"
              "    7   12,50 %     18,75 %    93,75 %  " + bar.repeated(16) + "\n"
              "    8    6,25 %      6,25 %   100,00 %  " + bar.repeated(8) + "\n"
              "-d2: média -1,5; desvio padrão 0,5; mínimo -2; máximo -1\n"
              "valor    chance  pelo menos  no máximo\n"
              "   -2   50,00 %    100,00 %    50,00 %  " + bar.repeated(32) + "\n"
              "   -1   50,00 %     50,00 %   100,00 %  " + bar.repeated(32) + "\n");
}

// Long tails of rare values are folded into a line at each end; values seen as decimals;
// chances too small or too large to round show as such; every row within 72 columns, so that
// a table fits 80 even where it is shown indented.
TEST(ChancesCommand, FoldsRareTailsAndFitsTheTerminal)
{
    const CliRun run = RunCli({"chances", "3d6!", "8d6", "1d6/4", "d100000"});
    EXPECT_EQ(run.status, 0) << run.errText().toStdString();
    const QStringList lines = run.outText().split('\n');
    for (const QString &line : lines)
        EXPECT_LE(line.size(), line.contains(u'%') ? 72 : 80) << line.toStdString();
    // 3d6!: rows from 3 to 46, then the rest of its explosions in one line.
    const QRegularExpression fold(
        QString::fromUtf8("^    \u2026 (\\d+) valores raros, de 47 a (\\d+): juntos 0,02 %$"));
    const auto folded = fold.match(lines[46]);
    ASSERT_TRUE(folded.hasMatch()) << lines[46].toStdString();
    EXPECT_EQ(folded.captured(1).toInt(), folded.captured(2).toInt() - 46);
    EXPECT_TRUE(lines[45].startsWith("   46    0,01 %"));
    // 8d6: the rare ends are three rows each, shown.
    EXPECT_EQ(lines[47], "8d6: média 28; desvio padrão 4,8305; mínimo 8; máximo 48");
    EXPECT_EQ(lines[49], "    8   <0,01 %    100,00 %    <0,01 %");
    EXPECT_EQ(lines[50], "    9   <0,01 %    >99,99 %    <0,01 %");
    EXPECT_TRUE(lines.contains("1d6/4: média 0,875; desvio padrão 0,427; mínimo 0,25; máximo 1,5"));
    EXPECT_TRUE(lines.contains(" 0,75   16,67 %     66,67 %    50,00 %  "
                               + QString(u'\u2588').repeated(32)));
    // A hundred thousand rare values in one line.
    EXPECT_EQ(lines.filter(QStringLiteral("valores raros")).size(), 2);
    EXPECT_TRUE(lines.contains(QString::fromUtf8(
        "     \u2026 100000 valores raros, de 1 a 100000: juntos 100,00 %")));
}

// JSON: the whole distribution with full double precision, the same numbers as the engine,
// fractions beside values that are not whole, the label, and one line per expression.
TEST(ChancesCommand, JsonCarriesEveryValueAtFullPrecision)
{
    const QStringList expressions{"4d6kh3", "3d6/2 # metade", "10d10>=8f1"};
    const CliRun run = RunCli(QStringList{"chances", "--json"} + expressions);
    ASSERT_EQ(run.status, 0) << run.errText().toStdString();
    const QStringList lines = run.outText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    for (qsizetype e = 0; e < 3; ++e) {
        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(lines[e].toUtf8(), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << lines[e].toStdString();
        const DiceDistribution odds = exactOdds(expressions[e]);
        EXPECT_EQ(object["expressao"].toString(), expressions[e].section(" #", 0, 0));
        EXPECT_EQ(object["media"].toDouble(), odds.mean());
        EXPECT_EQ(object["desvio_padrao"].toDouble(), odds.standardDeviation());
        EXPECT_EQ(object["minimo"].toDouble(), odds.minimum().toDouble());
        EXPECT_EQ(object["maximo"].toDouble(), odds.maximum().toDouble());
        const QJsonArray rows = object["distribuicao"].toArray();
        ASSERT_EQ(rows.size(), odds.count());
        qsizetype i = 0;
        double total = 0;
        odds.forEach([&](Fraction value, double p) {
            const QJsonObject row = rows[i++].toObject();
            EXPECT_EQ(row["valor"].toDouble(), value.toDouble());
            EXPECT_EQ(row["probabilidade"].toDouble(), p);
            EXPECT_EQ(row["pelo_menos"].toDouble(), odds.atLeast(value));
            EXPECT_NEAR(row["no_maximo"].toDouble(), odds.atMost(value), 1e-15);
            QByteArray fraction;
            value.appendExact(fraction);
            EXPECT_EQ(row["fracao"].toString(), value.isWhole() ? "" : QString(fraction));
            total += p;
        });
        EXPECT_NEAR(total, 1, 1e-12);
    }
    EXPECT_EQ(QJsonDocument::fromJson(lines[1].toUtf8())["rotulo"].toString(), "metade");
    EXPECT_EQ(QJsonDocument::fromJson(lines[1].toUtf8())["minimo_fracao"].toString(), "3/2");
}

// --alvo gives only the three chances, in text or JSON; the target may be negative or a
// fraction.
TEST(ChancesCommand, GivesTheChancesOfOneTarget)
{
    EXPECT_EQ(RunCli({"chances", "--alvo", "15", "2d20kh1+5"}).outText(),
              "2d20kh1+5, alvo 15: exatamente 4,75 %; pelo menos 79,75 %; no máximo 25,00 %\n");
    EXPECT_EQ(RunCli({"chances", "--alvo", "7/2", "2d6/2", "2d6 # perto"}).outText(),
              "2d6/2, alvo 3,5: exatamente 16,67 %; pelo menos 58,33 %; no máximo 58,33 %\n"
              "2d6, alvo 3,5: exatamente 0,00 %; pelo menos 91,67 %; no máximo 8,33 % # perto\n");
    EXPECT_EQ(RunCli({"chances", "--alvo", "3,5", "2d6/2"}).outText(),
              "2d6/2, alvo 3,5: exatamente 16,67 %; pelo menos 58,33 %; no máximo 58,33 %\n");
    EXPECT_EQ(RunCli({"chances", "--alvo", "-2", "4dF"}).outText(),
              "4dF, alvo -2: exatamente 12,35 %; pelo menos 93,83 %; no máximo 18,52 %\n");
    EXPECT_EQ(RunCli({"chances", "--alvo=1", "d6+5"}).outText(),
              "d6+5, alvo 1: exatamente 0,00 %; pelo menos 100,00 %; no máximo 0,00 %\n");

    const CliRun json = RunCli({"chances", "--json", "--alvo", "3", "10d10>=8"});
    const QJsonObject object = QJsonDocument::fromJson(json.out).object();
    const DiceDistribution odds = exactOdds("10d10>=8");
    EXPECT_EQ(object["alvo"].toInt(), 3);
    EXPECT_EQ(object["exatamente"].toDouble(), odds.probabilityOf(3));
    EXPECT_EQ(object["pelo_menos"].toDouble(), odds.atLeast(3));
    EXPECT_EQ(object["no_maximo"].toDouble(), odds.atMost(3));
}

// Refused at once, with the bound; --amostras then estimates, labelled as such, the same for
// the same seed. The other expressions are still answered.
TEST(ChancesCommand, EstimatesWhatItCannotWorkOutExactly)
{
    const QString heavy = "(d100*d100)/(d100*d100)";
    const CliRun refused = RunCli({"chances", "2d4", heavy, "d4"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.errText(),
              "quessar-cli chances: expressão \"" + heavy
                  + "\": trabalho demais para o cálculo exato (cerca de 4,2 bilhões de "
                    "operações; o limite é 400 milhões); --amostras N estima as chances "
                    "rolando N vezes\n");
    EXPECT_TRUE(refused.outText().startsWith("2d4: média 5;"));
    EXPECT_TRUE(refused.outText().contains("\nd4: média 2,5;"));

    const QStringList sampled{"chances", "--amostras", "20000", "-s", "7", heavy, "3d6"};
    const CliRun estimate = RunCli(sampled);
    EXPECT_EQ(estimate.status, 0) << estimate.errText().toStdString();
    const QStringList lines = estimate.outText().split('\n');
    EXPECT_TRUE(lines[0].startsWith(heavy + ": média ")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("estimativa: 20000 rolagens; margem de erro a 95 %: ±0,"))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(" p.p., média ±"));
    EXPECT_TRUE(estimate.outText().contains("\n3d6: média 10,5; desvio padrão 2,958;"));
    EXPECT_FALSE(estimate.outText().section("\n3d6:", 1).contains("estimativa"));
    EXPECT_EQ(RunCli(sampled).out, estimate.out);

    const CliRun json = RunCli({"chances", "--json", "--amostras", "1000", heavy});
    const QJsonObject object = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(object["estimativa"]["amostras"].toInt(), 1000);
    EXPECT_GT(object["estimativa"]["margem_de_erro"].toDouble(), 0.01);
    EXPECT_LE(object["estimativa"]["margem_de_erro"].toDouble(), 1.96 * 0.5 / std::sqrt(1000));
}

// The comparison a game master asks for: each expression's chance of at least each target,
// the best of each row marked, then the first against the second.
TEST(ChancesCommand, ComparesExpressionsAgainstTargets)
{
    const CliRun run = RunCli({"chances", "--alvos", "10..12", "--alvos", "25", "2d20kh1+5",
                               "1d20+8"});
    EXPECT_EQ(run.status, 0) << run.errText().toStdString();
    EXPECT_EQ(run.outText(),
              "2d20kh1+5: média 18,825; desvio padrão 4,7111; mínimo 6; máximo 25\n"
              "1d20+8: média 18,5; desvio padrão 5,7663; mínimo 9; máximo 28\n"
              "chance de tirar pelo menos o alvo (* a maior da linha)\n"
              "alvo  2d20kh1+5     1d20+8\n"
              "  10    96,00 %*   95,00 %\n"
              "  11    93,75 %*   90,00 %\n"
              "  12    91,00 %*   85,00 %\n"
              "  25     9,75 %    20,00 %*\n"
              "2d20kh1+5 contra 1d20+8: vence 49,30 %; empata 4,89 %; perde 45,81 %\n");

    // In JSON every chance is the distribution's own, and the opposed chances the sum over
    // every pair of outcomes.
    const QStringList texts{"2d20kh1+5", "1d20+8", "d6/2"};
    for (const char *view : {"pelo-menos", "no-maximo", "exatamente"}) {
        const CliRun json = RunCli({"chances", "--json", "--ver", view, "--alvos",
                                    "-1 3,5 7/2 10..30", texts[0], texts[1]});
        ASSERT_EQ(json.status, 0) << json.errText().toStdString();
        const QJsonObject chart = QJsonDocument::fromJson(json.out).object();
        const QJsonArray rows = chart["linhas"].toArray();
        ASSERT_EQ(rows.size(), 23); // -1, 7/2 once, 10 … 30
        for (qsizetype s = 0; s < 2; ++s) {
            const DiceDistribution odds = exactOdds(texts[s]);
            for (const QJsonValue row : rows) {
                const double v = row["valor"].toDouble();
                const Fraction value = v == 3.5 ? *Fraction::of(7, 2) : Fraction(qint64(v));
                const double expected = QByteArray(view) == "pelo-menos" ? odds.atLeast(value)
                                        : QByteArray(view) == "no-maximo" ? odds.atMost(value)
                                                                          : odds.probabilityOf(value);
                EXPECT_NEAR(row["chances"][s].toDouble(), expected, 1e-12) << view << ' ' << v;
            }
        }
        EXPECT_EQ(rows[1]["fracao"].toString(), "7/2");
        double beats = 0, ties = 0;
        exactOdds(texts[0]).forEach([&](Fraction a, double p) {
            exactOdds(texts[1]).forEach([&](Fraction b, double q) {
                beats += a > b ? p * q : 0;
                ties += a == b ? p * q : 0;
            });
        });
        EXPECT_NEAR(chart["confronto"]["vence"].toDouble(), beats, 1e-12);
        EXPECT_NEAR(chart["confronto"]["empata"].toDouble(), ties, 1e-12);
        EXPECT_NEAR(chart["confronto"]["perde"].toDouble(), 1 - beats - ties, 1e-12);
    }

    // Side by side over every value of either; the difference on request.
    const CliRun sides = RunCli({"chances", "--comparar", "d4", "d6/2"});
    EXPECT_TRUE(sides.outText().contains("chance de tirar exatamente o valor\n"
                                         "valor        d4       d6/2\n"
                                         "  0,5    0,00 %    16,67 %\n"
                                         "    1   25,00 %    16,67 %\n"))
        << sides.outText().toStdString();
    const CliRun difference = RunCli({"chances", "--diferenca", "1d20+5", "1d20+3"});
    EXPECT_TRUE(difference.outText().startsWith(
        "(1d20+5) - (1d20+3): média 2; desvio padrão 8,1548; mínimo -17; máximo 21\n"));
    EXPECT_TRUE(difference.outText().contains("\n    2               5,00 %   " + QString(u'\u2588').repeated(32) + "\n"));
    EXPECT_TRUE(difference.outText().endsWith(
        "1d20+5 contra 1d20+3: vence 57,25 %; empata 4,50 %; perde 38,25 %\n"));
}

// A sweep writes each value in place of "@", one series each, named as it reads; with more
// than four series the table turns on its side.
TEST(ChancesCommand, SweepsANumberOverARange)
{
    const CliRun json = RunCli({"chances", "--json", "--variar", "1..10", "--alvos", "1..5",
                                "@d10>=8"});
    ASSERT_EQ(json.status, 0) << json.errText().toStdString();
    const QJsonObject chart = QJsonDocument::fromJson(json.out).object();
    const QJsonArray series = chart["series"].toArray();
    ASSERT_EQ(series.size(), 10);
    for (qsizetype n = 1; n <= 10; ++n) {
        const QString text = QString::number(n) + "d10>=8";
        EXPECT_EQ(series[n - 1]["expressao"].toString(), text);
        const DiceDistribution odds = exactOdds(text);
        for (qint64 t = 1; t <= 5; ++t)
            EXPECT_NEAR(chart["linhas"][t - 1]["chances"][n - 1].toDouble(), odds.atLeast(t), 1e-12);
    }
    EXPECT_FALSE(chart.contains("confronto"));

    const CliRun text = RunCli({"chances", "--variar", "1..10", "--alvos", "1..5", "@d10>=8"});
    const QStringList lines = text.outText().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[11], "alvo             1          2          3          4          5");
    EXPECT_EQ(lines[21], "10d10>=8   97,18 %*   85,07 %*   61,72 %*   35,04 %*   15,03 %*");
    for (const QString &line : lines.mid(10))
        EXPECT_LE(line.size(), 80);

    // A bonus swept, the label following.
    const CliRun bonus = RunCli({"chances", "--csv", "--variar", "0..2", "d20+@ # +@"});
    EXPECT_TRUE(bonus.outText().startsWith("valor,d20+0,d20+1,d20+2\r\n1,0.05,0,0\r\n"))
        << bonus.outText().toStdString();
}

// The spreadsheet's two flavours.
TEST(ChancesCommand, WritesCsvForEitherSpreadsheet)
{
    EXPECT_EQ(RunCli({"chances", "--csv", "--alvos", "10 15", "2d20kh1+5", "--", "-d2"}).out,
              "alvo,2d20kh1+5,'-d2\r\n10,0.96,0\r\n15,0.7975000000000001,0\r\n");
    EXPECT_EQ(RunCli({"chances", "--csv-br", "--ver", "no-maximo", "d4/2"}).out,
              "valor;d4/2\r\n0,5;0,25\r\n1;0,5\r\n1,5;0,75\r\n2;1\r\n");
}

// The picture goes to its file atomically: a file that cannot be written is reported with
// status 1 and leaves the old picture whole and no temporary file behind.
TEST(ChancesCommand, WritesTheSvgAtomically)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("grafico.svg");
    const CliRun run = RunCli({"chances", "--svg", path, "--alvos", "10..20", "2d20kh1+5",
                               "1d20+8"});
    EXPECT_EQ(run.status, 0) << run.errText().toStdString();
    EXPECT_TRUE(run.outText().contains("alvo  2d20kh1+5"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray svg = file.readAll();
    file.close();
    QXmlStreamReader xml(svg);
    while (!xml.atEnd())
        xml.readNext();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(svg.contains(">2d20kh1+5</text>") && svg.contains(">1d20+8</text>"));

    const CliRun limited = RunCli({"chances", "--svg", path, "3d6", "4d6"}, {}, {}, 1000);
    EXPECT_EQ(limited.status, 1);
    EXPECT_EQ(limited.errText(), "quessar-cli chances: não foi possível gravar \"" + path
                                     + "\": " + std::strerror(EFBIG) + "\n");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), svg);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"grafico.svg"});

    for (const QString &bad : {folder.filePath("falta/grafico.svg"), QString(), folder.path()}) {
        const CliRun refused = RunCli({"chances", "--svg", bad, "3d6"});
        EXPECT_EQ(refused.status, 1) << bad.toStdString();
        EXPECT_TRUE(refused.errText().startsWith("quessar-cli chances: não foi possível gravar \""
                                                 + bad + "\": "))
            << refused.errText().toStdString();
        EXPECT_TRUE(refused.out.isEmpty());
    }
}

TEST(ChancesCommand, BadArgumentsAreNamed)
{
    struct Row
    {
        QStringList arguments;
        const char *message;
    };
    const Row rows[] = {
        {{"3d6", "2d6+"}, "expressão \"2d6+\", posição 5: a expressão termina antes do esperado"},
        {{}, "falta a EXPRESSÃO dos dados; veja \"quessar-cli chances --help\""},
        {{"--alvo", "x", "3d6"}, "--alvo: \"x\" não é um número (como 15, -2, 7/2, 3,5 ou 3.5)"},
        {{"--alvo", "1/2/3", "3d6"}, "--alvo: \"1/2/3\" não é um número"},
        {{"--alvo", " 15", "3d6"}, "--alvo: \" 15\" não é um número"},
        {{"--alvo", "9223372036854775808", "3d6"},
         "--alvo: \"9223372036854775808\" está fora do intervalo de -9223372036854775808 a "
         "9223372036854775807"},
        {{"--alvo", "0,0000000000000000001", "3d6"},
         "--alvo: \"0,0000000000000000001\" tem casas decimais demais (até 18)"},
        {{"--alvo", "1d6", "3d6"}, "--alvo: \"1d6\" não é um número"},
        {{"--alvo", "%1 %2", "3d6"}, "--alvo: \"%1 %2\" não é um número"},
        {{"--amostras", "0", "3d6"},
         "--amostras: \"0\" não é um número inteiro de 1 a 10000000"},
        {{"--amostras", "10000001", "3d6"}, "--amostras: \"10000001\" não é"},
        {{"-s", "x", "3d6"}, "-s/--semente: \"x\" não é um número inteiro de 64 bits"},
        {{"--amostras", "10000000", "(d100*d100)/(d100*d100)+100d2"},
         "--amostras: 10000000 rolagens de 104 dados passam do limite de 100000000 dados por "
         "estimativa"},
        {{"--ver", "maximo", "3d6"}, "--ver: \"maximo\" não é exatamente, pelo-menos nem no-maximo"},
        {{"--alvos", "20..10", "3d6"}, "--alvos: \"20..10\" termina antes de começar"},
        {{"--alvos", "10..x", "3d6"}, "--alvos: \"x\" não é um número"},
        {{"--alvos", " ", "3d6"}, "--alvos: \" \" não traz alvo"},
        {{"--alvos", "1..100000", "--alvos", "0", "3d6"}, "--alvos: \"0\" passa de 100000 alvos"},
        {{"--alvos", "-9223372036854775807..9223372036854775807", "3d6"}, "--alvos: \"-9223372036854775807..9223372036854775807\" termina antes"},
        {{"--variar", "1..10", "3d6"}, "--variar: a expressão \"3d6\" não tem @ para variar"},
        {{"--variar", "1..51", "@d6"}, "--variar: \"1..51\" passa de 50 valores"},
        {{"--variar", "1..26", "@d6", "@d8"}, "--variar: 26 valores de 2 expressões passam de 50"},
        {{"--variar", "1", "@d6"}, "--variar: \"1\" não é um intervalo de inteiros"},
        {{"--variar", "0..2", "@d6"}, "expressão \"0d6\""},
        {{"--diferenca", "d6", "d8", "d10"}, "--diferenca compara exatamente duas expressões, não 3"},
        {{"--comparar", "d1", "d2", "d3", "d4", "d5", "d6", "d7", "d8", "d9"},
         "compara até 8 expressões de uma vez, não 9"},
        {{"--comparar", "--alvo", "3", "d6"}, "--alvo dá as chances de um alvo só"},
        {{"--comparar", "--amostras", "10", "d6"}, "--amostras não vale numa comparação"},
        {{"--csv", "--csv-br", "d6"}, "escolha --csv ou --csv-br"},
        {{"--csv", "--json", "d6"}, "escolha --csv ou --json"},
        {{"--comparar", "d6", "d1000000*d1000000"}, "expressão \"d1000000*d1000000\": "},
    };
    for (const Row &row : rows) {
        const CliRun run = RunCli(QStringList{"chances"} + row.arguments);
        EXPECT_EQ(run.status, 2) << row.message;
        EXPECT_TRUE(run.out.isEmpty()) << row.message;
        EXPECT_TRUE(
            run.errText().startsWith("quessar-cli chances: " + QString::fromUtf8(row.message)))
            << run.errText().toStdString();
        EXPECT_EQ(run.errText().count('\n'), 1) << run.errText().toStdString();
    }
}

TEST(ChancesCommand, HelpFitsTheTerminalAndAFullDiskFails)
{
    const CliRun help = RunCli({"chances", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.outText().startsWith("Uso: quessar-cli chances [opções] EXPRESSÃO…"));
    for (const QString &line : help.outText().split('\n'))
        EXPECT_LE(line.size(), 80) << line.toStdString();
    EXPECT_TRUE(RunCli({"--help"}).outText().contains("\n  chances    Chances exatas"));
    for (const char *option : {"--comparar", "--ver", "--alvos", "--variar", "--diferenca",
                               "--csv", "--csv-br", "--svg"})
        EXPECT_TRUE(help.outText().contains(option)) << option;

    for (const QStringList &arguments :
         {QStringList{"chances", "3d6"}, QStringList{"chances", "--json", "d100000"},
          QStringList{"chances", "--comparar", "d100000", "d1000"},
          QStringList{"chances", "--csv", "d100000", "d1000"}}) {
        const CliRun run = RunCli(arguments, "/dev/full");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, QByteArray("quessar-cli: não foi possível escrever a saída: ")
                               + std::strerror(ENOSPC) + '\n');
    }
}

} // namespace
