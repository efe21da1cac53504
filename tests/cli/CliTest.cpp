// The program-level behaviour of quessar-cli shared by every subcommand.

#include "CliProcess.h"

#include "QuessarVersion.h"

#include <gtest/gtest.h>

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

TEST(Cli, AnOutputThatCannotBeWrittenIsAFailure)
{
    const CliRun run = RunCli({"--help"}, "/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errText().contains("saída")) << run.errText().toStdString();
}
