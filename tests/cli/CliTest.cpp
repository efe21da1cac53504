// The program-level behaviour of quessar-cli shared by every subcommand.

#include "CliProcess.h"

#include "QuessarVersion.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <locale.h>

TEST(Cli, HelpAndVersionGoToStdoutAndSucceed)
{
    for (const QStringList &arguments :
         {QStringList{"--help"}, QStringList{"-h"}, QStringList{"nomes", "--help"},
          QStringList{"cidade", "--help"}, QStringList{"dados", "-h"}}) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 0) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.outText().startsWith("Uso: quessar-cli")) << run.outText().toStdString();
        EXPECT_TRUE(run.err.isEmpty());
        // Every line fits an 80-column terminal, and a quoted value is never split.
        for (const QString &line : run.outText().split('\n')) {
            EXPECT_LE(line.size(), 80) << line.toStdString();
            EXPECT_EQ(line.count('"') % 2, 0) << line.toStdString();
        }
    }
    const CliRun version = RunCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, QByteArray("quessar-cli ") + QuessarVersionString + "\n");
}

TEST(Cli, BadArgumentsExitTwoWithAMessageNamingThem)
{
    struct Case
    {
        QStringList arguments;
        const char *named;
    };
    for (const Case &c : {
             Case{{}, "subcomando"},
             Case{{"voar"}, "subcomando desconhecido: voar; veja"},
             Case{{"--voar"}, "opção desconhecida: --voar"},
             Case{{"dado"}, "dado (seria \"dados\"?)"},
             Case{{"Nome"}, "(seria \"nomes\"?)"},
             Case{{"cidades"}, "(seria \"cidade\"?)"},
             Case{{"nomes", "--voar"}, "--voar"},
             Case{{"dados", "-z"}, "-z"},
             Case{{"dados", "-1d4+2"},
                  "-1 (em \"-1d4+2\"); um argumento que começa com \"-\" vem "
                  "depois de \"--\": quessar-cli dados -- -1d4+2\n"},
             Case{{"dados", "-d4"}, "-4 (em \"-d4\")"},
             Case{{"nomes", "-n", "2", "-2d6"}, "quessar-cli nomes -- -2d6\n"},
             // Text typed by the user is shown as typed, never read as a template.
             Case{{"dados", "-n", "%1 %2 %L1 %%"}, "\"%1 %2 %L1 %%\" não é um número inteiro de 1"},
         }) {
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.status, 2) << c.named;
        EXPECT_TRUE(run.out.isEmpty()) << c.named;
        EXPECT_TRUE(run.errText().contains(QString::fromUtf8(c.named)))
            << run.errText().toStdString();
    }
}

// A full disk on stdout, whether it is met at the first flush or after many: exit 1 and one
// line with the system's reason.
TEST(Cli, AnOutputThatCannotBeWrittenIsAFailure)
{
    const QByteArray message = QByteArray("quessar-cli: não foi possível escrever a saída: ")
                               + std::strerror(ENOSPC) + '\n';
    for (const QStringList &arguments :
         {QStringList{"--help"}, QStringList{"dados", "3d6"},
          QStringList{"dados", "-n", "100000", "-d", "4d6kh3"}, QStringList{"nomes", "-n", "10"},
          QStringList{"nomes", "-n", "1000000"}, QStringList{"cidade", "99999"}}) {
        const CliRun run = RunCli(arguments, "/dev/full");
        EXPECT_EQ(run.status, 1) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.err, message) << arguments.join(' ').toStdString();
    }
}

// Bytes that are not UTF-8 are refused and shown as bytes, never read as U+FFFD (which would
// name another file); nothing is written.
TEST(Cli, ArgumentsThatAreNotUtf8AreRefused)
{
    QTemporaryDir folder;
    QProcess process; // sh's printf makes the bytes, which a QString argument cannot carry
    process.setWorkingDirectory(folder.path());
    process.start("sh",
                  {"-c", "exec \"$0\" cidade 1 -o \"$(printf 'S\\303\\243o\\343\\355\\240')\"",
                   QUESSAR_CLI_PATH});
    ASSERT_TRUE(process.waitForFinished(30'000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()),
              "quessar-cli: o argumento 4 não é UTF-8: \"São\\xE3\\xED\\xA0\"\n");
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

// The system's reasons come in the user's language.
TEST(Cli, SystemReasonsFollowTheLocale)
{
    const locale_t portuguese = newlocale(LC_ALL_MASK, "pt_BR.UTF-8", locale_t(0));
    if (!portuguese)
        GTEST_SKIP() << "the pt_BR.UTF-8 locale is not generated here";
    const QString reason = QString::fromUtf8(strerror_l(ENOSPC, portuguese));
    freelocale(portuguese);
    const CliRun run = RunCli({"nomes"}, "/dev/full", {"LANG=pt_BR.UTF-8", "LC_ALL=", "LANGUAGE="});
    EXPECT_EQ(run.errText(), "quessar-cli: não foi possível escrever a saída: " + reason + '\n');
    EXPECT_NE(reason, QString::fromLocal8Bit(std::strerror(ENOSPC))) << "no Portuguese messages";
}
