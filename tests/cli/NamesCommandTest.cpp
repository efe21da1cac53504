// quessar-cli nomes run as a process.

#include "CliProcess.h"

#include "common/SplitMixRandomSource.h"
#include "names/NameBatch.h"
#include "names/NameMask.h"
#include "names/PredefinedNameMasks.h"

#include <gtest/gtest.h>

namespace {

// The names the window's batch makes from the same seed, joined the command line's way.
QByteArray expectedNames(const QStringList &masks, int count, std::uint64_t seed,
                         const QString &separator)
{
    SplitMixRandomSource source(seed);
    return (GenerateNames(masks, count, source).replace(QStringLiteral(", "), separator) + u'\n')
        .toUtf8();
}

TEST(NamesCommand, NamesAreTheBatchsNamesForTheSeed)
{
    const struct
    {
        QStringList arguments;
        QStringList masks;
        int count;
        std::uint64_t seed;
        QString separator;
    } cases[] = {
        {{"-s", "42"}, {"$!!@"}, 1, 42, "\n"},
        {{"-n", "5", "--semente", "7", "$!@!@"}, {"$!@!@"}, 5, 7, "\n"},
        {{"-n", "300", "-s", "-1", "&@@!@!@@!", "{}#", "Vila $!@!"},
         {"&@@!@!@@!", "{}#", "Vila $!@!"},
         300,
         ~0ull,
         "\n"},
        {{"-n", "20", "-s", "18446744073709551615", "--separador", ", ", "$%^@"},
         {"$%^@"},
         20,
         ~0ull,
         ", "},
        {{"-n", "3", "-s", "1", "--", "-$!"}, {"-$!"}, 3, 1, "\n"},
    };
    for (const auto &c : cases) {
        const CliRun run = RunCli(QStringList{"nomes"} + c.arguments);
        EXPECT_EQ(run.status, 0) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.out, expectedNames(c.masks, c.count, c.seed, c.separator))
            << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.isEmpty());
    }
    // Without a seed, runs differ; -n 0 writes nothing.
    EXPECT_NE(RunCli({"nomes", "-n", "50"}).out, RunCli({"nomes", "-n", "50"}).out);
    EXPECT_EQ(RunCli({"nomes", "-n", "0"}).out, QByteArray());
}

// A million names, the largest count, all there and well-formed, through many buffer refills.
TEST(NamesCommand, TheLargestCountStreamsWholeLines)
{
    const CliRun run = RunCli({"nomes", "-n", "1000000", "-s", "5", "{@@!}"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out.size(), 1'000'000 * 8); // 2 + 1 + 1 + 1 + 2 bytes and a line feed
    EXPECT_EQ(run.out.count('\n'), 1'000'000);
    EXPECT_EQ(run.out.left(200), expectedNames({"{@@!}"}, 25, 5, "\n").left(200));
}

TEST(NamesCommand, ListsAndHelpText)
{
    const CliRun presets = RunCli({"nomes", "--predefinidas"});
    EXPECT_EQ(presets.status, 0);
    EXPECT_EQ(presets.outText(), PredefinedNameMasks().join('\n') + '\n');

    const CliRun help = RunCli({"nomes", "--ajuda-mascara"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.outText(), MaskHelpText().replace("\r\n", "\n") + '\n');
}

TEST(NamesCommand, BadArgumentsAreNamed)
{
    const struct
    {
        QStringList arguments;
        const char *named;
    } cases[] = {
        {{"-n", "1000001"}, "--quantidade"},
        {{"-n", "-1"}, "--quantidade"},
        {{"-n", "1e3"}, "--quantidade"},
        {{"--quantidade", ""}, "--quantidade"},
        {{"-s", "abc"}, "--semente"},
        {{"-s", "18446744073709551616"}, "--semente"},
        {{"-n"}, "-n"},
        {{"-x"}, "-x"},
        {{"-n", "%1 %2 %L1 %%"}, "\"%1 %2 %L1 %%\" não é um número inteiro de 0"},
        {{""}, "MÁSCARA vazia"},
        {{"$!@", " "}, "MÁSCARA vazia ou só de espaços: \" \""},
    };
    for (const auto &c : cases) {
        const CliRun run = RunCli(QStringList{"nomes"} + c.arguments);
        EXPECT_EQ(run.status, 2) << c.named;
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.errText().contains(QString::fromUtf8(c.named)))
            << run.errText().toStdString();
    }
}

} // namespace
