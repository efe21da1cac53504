// quessar-cli dados, run as a process.

#include "CliProcess.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// A line of standard input longer than this is refused.
constexpr int DiceCommandMaxLine = 64 * 1024;

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
        {{"1\u00A0+\u22122"}, "expressão \"1<U+00A0>+−2\", posição 2: caractere inesperado "
                               "U+00A0: espaço sem quebra; use um espaço comum"},
        {{"--", "-(2d6"},
         "expressão \"-(2d6\", posição 6: falta fechar o parêntese aberto "
         "na posição 2"},
        {{"2d6\n"}, "expressão \"2d6<U+000A>\", posição 4: caractere inesperado U+000A"},
        {{"1\x01" "2"}, "expressão \"1<U+0001>2\", posição 2: caractere inesperado U+0001"},
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

// The roll server: one answer per line, blank lines skipped, a refused line named by its
// number on stderr while the others go on, exit 2 when any was refused; the same seed gives
// the same dice as the expressions given as arguments.
TEST(DiceCommand, ServesOneAnswerPerLineOfInput)
{
    const QByteArray input = "3d6\n\n  \n2d6+\r\n4d6kh3 # força\r\n\xe3\n"
                             + QByteArray(DiceCommandMaxLine + 10, '1') + "\n1d6/4";
    const CliRun run = RunCli({"dados", "-s", "7"}, {}, {}, RLIM_INFINITY, input);
    EXPECT_EQ(run.status, 2);
    const QStringList answers = lines(run.out);
    ASSERT_EQ(answers.size(), 3) << run.outText().toStdString();
    EXPECT_TRUE(answers[0].startsWith("3d6 = "));
    EXPECT_TRUE(answers[1].startsWith("4d6kh3 = ") && answers[1].endsWith(" # força"));
    EXPECT_TRUE(answers[2].startsWith("1d6/4 = 0,"));
    EXPECT_EQ(run.errText(),
              "quessar-cli dados: linha 4: expressão \"2d6+\", posição 5: a expressão termina "
              "antes do esperado\n"
              "quessar-cli dados: linha 6: a linha não é UTF-8: \"\\xE3\"\n"
              "quessar-cli dados: linha 7: linha longa demais (mais de 65536 bytes)\n");

    const CliRun arguments = RunCli({"dados", "-s", "7", "3d6", "4d6kh3 # força", "1d6/4"});
    EXPECT_EQ(run.out, arguments.out);
    const CliRun clean = RunCli({"dados", "--json", "-n", "2"}, {}, {}, RLIM_INFINITY, "d6\n");
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(lines(clean.out).size(), 2);

    const CliRun full = RunCli({"dados"}, "/dev/full", {}, RLIM_INFINITY, "d6\nd6\n");
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(full.errText().startsWith("quessar-cli: não foi possível escrever a saída: "));
}

// Each answer comes while the input is still open: a bot writes a line and reads its answer
// before writing the next.
TEST(DiceCommand, AnswersEachLineBeforeTheNextArrives)
{
    QProcess process;
    process.start(QStringLiteral(QUESSAR_CLI_PATH), {"dados", "--detalhes", "-s", "3"});
    ASSERT_TRUE(process.waitForStarted());
    for (const QByteArray expression : {"10d10>=8f1", "{1d20+5, 1d20+5}kh1", "3d6!!"}) {
        process.write(expression + '\n');
        QByteArray answer;
        while (!answer.endsWith('\n') && process.waitForReadyRead(10'000))
            answer += process.readAllStandardOutput();
        EXPECT_TRUE(answer.startsWith(expression + ": ")) << answer.toStdString();
    }
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(10'000));
    EXPECT_EQ(process.exitCode(), 0);
}

// Every worked-out roll the documentation shows ("-s S" and the line "quessar-cli dados -d
// -s S" gives) is what the program gives today: the man page, "dados --help" and the README's
// table of the notation.
TEST(DiceCommand, TheDocumentedRollsAreRealOutputs)
{
    const auto readSource = [](const char *path) {
        QFile file(QStringLiteral(QUESSAR_SOURCE_DIR "/") + QLatin1String(path));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
        return QString::fromUtf8(file.readAll());
    };
    // Each example as its seed and its line.
    QList<std::pair<QString, QString>> examples;
    const QRegularExpression shown(QStringLiteral(R"(^\s*-s (\d+) (.+ = \S+(?: # .*)?)$)"));
    const QString man = readSource("docs/man/quessar-cli.1")
                            .replace(QStringLiteral("\\-"), QStringLiteral("-"));
    const QString help = RunCli({"dados", "--help"}).outText();
    for (const QString &text : {man, help}) {
        for (const QString &line : text.split(u'\n')) {
            if (const auto match = shown.match(line); match.hasMatch())
                examples.append({match.captured(1), match.captured(2)});
        }
    }
    const QRegularExpression row(QStringLiteral(R"(\| (\d+) \| `([^`]+)` \|$)"));
    for (const QString &line : readSource("README.md").split(u'\n')) {
        if (const auto match = row.match(line); match.hasMatch())
            examples.append({match.captured(1), match.captured(2)});
    }
    EXPECT_GE(examples.size(), 60);

    for (const auto &[seed, line] : examples) {
        // The expression is what comes before ": "; a label follows the total.
        QString expression = line.section(QStringLiteral(": "), 0, 0);
        if (const qsizetype label = line.lastIndexOf(QStringLiteral(" # ")); label >= 0)
            expression += line.sliced(label);
        const CliRun run = RunCli({"dados", "-d", "-s", seed, "--", expression});
        EXPECT_EQ(run.outText(), line + u'\n') << "-s " << seed.toStdString();
    }
}

} // namespace
