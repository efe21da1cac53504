// quessar-cli dados, run as a process.

#include "CliProcess.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

QStringList lines(const QByteArray &out)
{
    QStringList all = QString::fromUtf8(out).split('\n');
    EXPECT_EQ(all.takeLast(), QString()) << "the output ends with a line end";
    return all;
}

// The same seed gives the same dice on every run and machine, in a fixed format.
TEST(DiceCommand, ASeedFixesTheDice)
{
    const QStringList arguments{"-s", "1", "-d", "4d6kh3", "2d20kl1+5", "dF*3", "3d6!"};
    const CliRun run = RunCli({QStringList{"dados"} + arguments});
    EXPECT_EQ(run.status, 0) << run.errText().toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    EXPECT_EQ(run.outText(), "4d6kh3: [4, 5, 6, ~3~] = 15\n"
                             "2d20kl1+5: [9, ~16~] + 5 = 14\n"
                             "dF*3: [+1] * 3 = 3\n"
                             "3d6!: [4, 2, 5] = 11\n");
    EXPECT_EQ(RunCli({"dados", "--semente", "-1", "-n", "3", "d%"}).outText(),
              "d% = 90\nd% = 92\nd% = 22\n");
}

// Plain, detailed and JSON runs of the same seed are the same rolls: each expression's N
// rolls in order, the same totals, and JSON that parses. Runs without a seed differ.
TEST(DiceCommand, TextAndJsonAgreeRollForRoll)
{
    const QStringList expressions{"4d6kh3", "2d20kl1+5", "dF*3", "8d4!kh3"};
    const QStringList seeded = QStringList{"dados", "-s", "20240307", "-n", "40"} + expressions;
    const CliRun plain = RunCli(seeded);
    const CliRun details = RunCli(seeded + QStringList{"--detalhes"});
    const CliRun json = RunCli(seeded + QStringList{"--json"});
    for (const CliRun *run : {&plain, &details, &json})
        ASSERT_EQ(run->status, 0) << run->errText().toStdString();

    const QStringList plainLines = lines(plain.out);
    const QStringList detailLines = lines(details.out);
    const QStringList jsonLines = lines(json.out);
    for (const QStringList *all : {&plainLines, &detailLines, &jsonLines})
        ASSERT_EQ(all->size(), 160);
    for (qsizetype i = 0; i < 160; ++i) {
        const QString &expression = expressions[i / 40];
        const QString &line = plainLines[i];
        ASSERT_TRUE(line.startsWith(expression + " = ")) << line.toStdString();
        const QString total = line.section(" = ", -1);
        EXPECT_TRUE(detailLines[i].startsWith(expression + ": ")) << detailLines[i].toStdString();
        EXPECT_TRUE(detailLines[i].endsWith(" = " + total)) << detailLines[i].toStdString();

        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(jsonLines[i].toUtf8(), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << jsonLines[i].toStdString();
        const QJsonObject object = document.object();
        EXPECT_EQ(object["expressao"].toString(), expression);
        EXPECT_EQ(QString::number(object["total"].toInteger()), total);
    }

    const CliRun unseeded = RunCli({"dados", "-n", "40", "4d6kh3"});
    EXPECT_NE(unseeded.out, RunCli({"dados", "-n", "40", "4d6kh3"}).out);
}

// Bad arguments exit 2 with nothing on stdout and a message naming the argument; a bad
// expression anywhere stops the run before any roll.
TEST(DiceCommand, BadArgumentsAreNamed)
{
    struct Row
    {
        QStringList arguments;
        const char *message;
    };
    const Row rows[] = {
        {{"3d6", "2d6/(d2-1)"},
         "expressão \"2d6/(d2-1)\", posição 4: o divisor pode ser 0 (vai de 0 a 1)"},
        {{"2d6 %1 %2 %L1 %%"},
         "expressão \"2d6 %1 %2 %L1 %%\", posição 12: caractere inesperado \"L\""},
        {{"d6d6"}, "expressão \"d6d6\", posição 3: descartar 6 de 1 dado não deixa nenhum "
                   "(queria dizer d6+d6?)"},
        {{"1\u00A0+\u22122"}, "expressão \"1U+00A0+−2\", posição 2: caractere inesperado "
                               "U+00A0: espaço sem quebra; use um espaço comum"},
        {{"--", "-(2d6"},
         "expressão \"-(2d6\", posição 6: falta fechar o parêntese aberto "
         "na posição 2"},
        {{"2d6\n"}, "expressão \"2d6U+000A\", posição 4: caractere inesperado U+000A"},
        {{"-n", "0", "d6"}, "-n/--quantidade: \"0\" não é um número inteiro de 1 a 1000000"},
        {{"-n", "1000001", "d6"}, "-n/--quantidade: \"1000001\""},
        {{"-n", "5x", "d6"}, "-n/--quantidade: \"5x\""},
        {{"-s", "18446744073709551616", "d6"}, "-s/--semente: \"18446744073709551616\" não é"},
        {{"-n", "5001", "d6", "10000d6+9999d6"},
         "-n/--quantidade: 5001 rolagens de 20000 dados "
         "passam do limite de 100000000 dados por "
         "execução"},
    };
    for (const Row &row : rows) {
        const CliRun run = RunCli(QStringList{"dados"} + row.arguments);
        EXPECT_EQ(run.status, 2) << row.message;
        EXPECT_TRUE(run.out.isEmpty()) << row.message;
        EXPECT_TRUE(
            run.errText().startsWith("quessar-cli dados: " + QString::fromUtf8(row.message)))
            << run.errText().toStdString();
        EXPECT_TRUE(run.errText().endsWith('\n') && run.errText().count('\n') == 1)
            << run.errText().toStdString();
    }
}

} // namespace
