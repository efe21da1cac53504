// The program-level behaviour of quessar-cli shared by every subcommand.

#include "CliProcess.h"

#include "QuessarVersion.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

TEST(Cli, HelpAndVersionGoToStdoutAndSucceed)
{
    for (const QStringList &arguments :
         {QStringList{"--help"}, QStringList{"-h"}, QStringList{"nomes", "--help"},
          QStringList{"cidade", "--help"}, QStringList{"dados", "-h"}}) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 0) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.outText().startsWith("Uso: quessar-cli")) << run.outText().toStdString();
        EXPECT_TRUE(run.err.isEmpty());
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
    for (const Case &c : {Case{{}, "subcomando"}, Case{{"voar"}, "voar"},
                          Case{{"nomes", "--voar"}, "--voar"}, Case{{"dados", "-z"}, "-z"}}) {
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
