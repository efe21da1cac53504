// quessar-cli cidade run as a process.

#include "CliProcess.h"

#include "city/CityFile.h"
#include "city/CityReport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A fixed stamp, so that whole outputs can be compared.
constexpr qint64 Epoch = 1'796'665'530; // 2026-12-07 17:45:30 UTC
const QDateTime Stamp = QDateTime::fromSecsSinceEpoch(Epoch);

CliRun city(const QStringList &arguments, const QString &stdoutFile = QString())
{
    qputenv("SOURCE_DATE_EPOCH", QByteArray::number(Epoch));
    return RunCli(QStringList{"cidade"} + arguments, stdoutFile);
}

QString windowReport(const QString &name, qint32 blocks)
{
    return BuildCityReport(name, blocks, Stamp, QLocale::system());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

TEST(CityCommand, TextIsTheWindowsReportWithLineFeeds)
{
    for (const qint32 blocks : {1, 0, -3, 37, 99999, 8589934, -8589934}) {
        const QString arg = QString::number(blocks);
        const CliRun run = city({arg, "--nome", "Tau Rianu"});
        EXPECT_EQ(run.status, 0) << blocks << run.errText().toStdString();
        EXPECT_EQ(run.outText(), windowReport("Tau Rianu", blocks).replace("\r\n", "\n") + '\n')
            << blocks;
    }
    // The name from a mask is the seeded source's first name; the same seed, the same city.
    const CliRun a = city({"5", "-s", "99", "--mascara", "$!@ {}"});
    EXPECT_EQ(a.out, city({"-s", "99", "--mascara", "$!@ {}", "5"}).out);
    EXPECT_TRUE(a.outText().startsWith("Cidade: ")) << a.outText().left(30).toStdString();
    EXPECT_EQ(a.outText().section('\n', 0, 0).size(), 8 + 6);
    EXPECT_EQ(city({"5", "-s", "1"}).outText().section('\n', 0, 0).size(), 8 + 9); // "$!^ $!!@^"
}

TEST(CityCommand, JsonParsesAndAgreesWithTheText)
{
    const CliRun json = city({"37", "-f", "json", "--nome", "Vila \"Nova\""});
    ASSERT_EQ(json.status, 0);
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(json.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    const QStringList text = city({"37", "--nome", "Vila \"Nova\""}).outText().split('\n');

    EXPECT_EQ(object["nome"].toString(), "Vila \"Nova\"");
    EXPECT_EQ(object["blocos"].toInteger(), 37);
    EXPECT_EQ(text[1],
              QStringLiteral("População:  %1 habitantes").arg(object["populacao"].toInteger()));
    EXPECT_EQ(QDateTime::fromString(object["gerada_em"].toString(), Qt::ISODate), Stamp);
    // Every item and total of the JSON is a line of the text.
    int checked = 0;
    for (const QJsonValue section : object["secoes"].toArray()) {
        EXPECT_TRUE(text.contains(section["titulo"].toString()));
        for (const QJsonValue item : section["itens"].toArray()) {
            EXPECT_TRUE(text.contains(QStringLiteral("%1 %2")
                                          .arg(item["quantidade"].toInteger())
                                          .arg(item["nome"].toString())));
            ++checked;
        }
    }
    for (const QJsonValue characterClass : object["classes"].toArray()) {
        EXPECT_TRUE(text.contains(QStringLiteral("TOTAL: %1 %2")
                                      .arg(characterClass["total"].toInteger())
                                      .arg(characterClass["titulo"].toString().toLower())));
        ++checked;
    }
    EXPECT_EQ(checked, 67 + 4);
}

TEST(CityCommand, Windows1252FileIsTheWindowsSavedFile)
{
    QTemporaryDir folder;
    const QString cli = folder.filePath("cli.txt");
    ASSERT_EQ(city({"37", "--nome", "Tau Rianu", "-o", cli, "--codificacao", "windows-1252", "-f",
                    "texto"})
                  .status,
              0);
    ASSERT_EQ(CityFile::save(folder.path(), "Tau Rianu", windowReport("Tau Rianu", 37)).status,
              CityFile::Status::Saved);
    const QByteArray saved = readFile(CityFile::pathFor(folder.path(), "Tau Rianu"));
    EXPECT_EQ(readFile(cli), saved);
    EXPECT_TRUE(saved.endsWith("pelo Morvane's Quessar\r\n"));
    EXPECT_TRUE(saved.contains("Popula\xE7\xE3o:  9250 habitantes\r\n"));
    // The same bytes on stdout without --saida.
    EXPECT_EQ(city({"37", "--nome", "Tau Rianu", "--codificacao", "windows-1252"}).out, saved);

    // UTF-8 to a file is what stdout would show; the folder keeps only the files asked for.
    const QString markdown = folder.filePath("cidade.md");
    ASSERT_EQ(city({"4", "--nome", "X", "-f", "markdown", "--saida", markdown}).status, 0);
    EXPECT_EQ(readFile(markdown), city({"4", "--nome", "X", "-f", "markdown"}).out);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 3);
}

TEST(CityCommand, RefusalsNameTheArgumentAndWriteNothing)
{
    QTemporaryDir folder;
    const QString target = folder.filePath("velho.txt");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("conteúdo antigo");
    }
    const struct
    {
        QStringList arguments;
        const char *named;
    } cases[] = {
        {{}, "BLOCOS"},
        {{"8589935"}, "8589934"},
        {{"-8589935"}, "8589934"},
        {{"99999999999999999999"}, "BLOCOS"},
        {{"1.5"}, "BLOCOS"},
        {{"1e3"}, "BLOCOS"},
        {{"1", "2"}, "\"2\""},
        {{"1", "-f", "pdf"}, "--formato"},
        {{"1", "--codificacao", "latin-9"}, "--codificacao"},
        {{"1", "-f", "json", "--codificacao", "windows-1252"}, "--codificacao"},
        {{"1", "--nome", "A", "--mascara", "$!"}, "--mascara"},
        {{"1", "--nome", ""}, "--nome"},
        {{"1", "-s", "x"}, "--semente"},
        {{"1", "--nome", "Жук", "--codificacao", "windows-1252", "-o", target}, "U+0416"},
    };
    for (const auto &c : cases) {
        const CliRun run = city(c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.errText().contains(QString::fromUtf8(c.named)))
            << run.errText().toStdString();
    }
    EXPECT_EQ(readFile(target), QByteArray("conteúdo antigo"));

    // Failures to write: exit 1 with the system's reason; the old file untouched.
    const CliRun missing = city({"1", "-o", folder.filePath("falta/x.txt")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.errText().contains("falta/x.txt")) << missing.errText().toStdString();
    const CliRun full = city({"99999"}, "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(full.errText().contains("saída")) << full.errText().toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"velho.txt"});
}

} // namespace
