// quessar-cli cidade run as a process.

#include "CliProcess.h"

#include "city/CityFile.h"
#include "city/CityJsonReport.h"
#include "city/CityMarkdownReport.h"
#include "city/CityModel.h"
#include "city/CityReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <locale.h>
#include <sys/stat.h>

namespace {

// A fixed stamp, so that whole outputs can be compared.
constexpr qint64 Epoch = 1'796'665'530; // 2026-12-07 17:45:30 UTC
const QDateTime Stamp = QDateTime::fromSecsSinceEpoch(Epoch);

CliRun city(const QStringList &arguments)
{
    qputenv("SOURCE_DATE_EPOCH", QByteArray::number(Epoch));
    return RunCli(QStringList{"cidade"} + arguments);
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

// Every format is the report's own rendering, the same on stdout and in a --saida file; the
// Windows-1252 text is byte for byte the file the window saves. The folder keeps only the
// files asked for.
TEST(CityCommand, EachFormatIsTheReportsRenderingOnStdoutAndInAFile)
{
    QTemporaryDir folder;
    const std::optional<CityModel> model = CityModel::build("Tau Rianu", 37, Stamp);
    ASSERT_TRUE(model);
    ASSERT_EQ(CityFile::save(folder.path(), "Tau Rianu", windowReport("Tau Rianu", 37)).status,
              CityFile::Status::Saved);
    const QByteArray saved = readFile(CityFile::pathFor(folder.path(), "Tau Rianu"));
    EXPECT_TRUE(saved.endsWith("pelo Morvane's Quessar\r\n"));
    EXPECT_TRUE(saved.contains("Popula\xE7\xE3o:  9250 habitantes\r\n"));

    const struct
    {
        QStringList arguments;
        QByteArray bytes;
    } cases[] = {
        {{"-f", "json"}, CityJsonReport::render(*model)},
        {{"-f", "markdown"}, CityMarkdownReport::render(*model, QLocale::system()).toUtf8()},
        {{"--codificacao", "windows-1252", "-f", "texto"}, saved},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QStringList arguments = QStringList{"37", "--nome", "Tau Rianu"} + c.arguments;
        EXPECT_EQ(city(arguments).out, c.bytes) << c.arguments.join(' ').toStdString();
        const QString file = folder.filePath(QString::number(n++));
        ASSERT_EQ(city(arguments + QStringList{"-o", file}).status, 0);
        EXPECT_EQ(readFile(file), c.bytes) << c.arguments.join(' ').toStdString();
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1 + n);
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
        {{"1", "--nome", " \u00A0 ", "-o", target}, "--nome"},
        {{"1", "--mascara", "  ", "-o", target}, "--mascara"},
        {{"%1 %2 %L1 %%"}, "\"%1 %2 %L1 %%\" (use"},
        {{"1", "-s", "x"}, "--semente"},
        {{"1", "--nome", "Жук", "--codificacao", "windows-1252", "-o", target}, "U+0416"},
        {{"1", "--nome", "Tau\nRianu", "-o", target}, "U+000A"},
        {{"1", "--mascara", "$!\t@", "-o", target}, "U+0009"},
    };
    for (const auto &c : cases) {
        const CliRun run = city(c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.errText().contains(QString::fromUtf8(c.named)))
            << run.errText().toStdString();
    }
    EXPECT_EQ(readFile(target), QByteArray("conteúdo antigo"));

    // A stamp that is no moment is refused, not printed as a broken date.
    for (const char *epoch : {"99999999999999999", "-1", "ontem"}) {
        qputenv("SOURCE_DATE_EPOCH", epoch);
        const CliRun run = RunCli({"cidade", "1", "-f", "json"});
        EXPECT_EQ(run.status, 2) << epoch;
        EXPECT_TRUE(run.errText().contains("SOURCE_DATE_EPOCH")) << run.errText().toStdString();
    }

    // Failures to write: exit 1 with the system's reason; the old file untouched. A real
    // file-size limit fails the write too, instead of its signal ending the program.
    const CliRun limited = RunCli({"cidade", "99999", "--nome", "Tau", "-o", target}, {},
                                  {"SOURCE_DATE_EPOCH=0"}, 999);
    EXPECT_EQ(limited.status, 1);
    EXPECT_TRUE(limited.errText().endsWith(QString::fromLocal8Bit(std::strerror(EFBIG)) + '\n'));
    EXPECT_EQ(readFile(target), QByteArray("conteúdo antigo"));
    const CliRun missing = city({"1", "-o", folder.filePath("falta %1 %2 %L1 %%/x.txt")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.errText().contains("falta %1 %2 %L1 %%/x.txt\": "))
        << missing.errText().toStdString();
    const CliRun folderTarget = city({"1", "-o", folder.path()});
    EXPECT_EQ(folderTarget.status, 1);
    EXPECT_TRUE(QFileInfo(folder.path()).isDir());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"velho.txt"});
}

// Under a Portuguese locale the reasons of a failed -o are the C library's, in Portuguese,
// not Qt's save-file messages in English.
TEST(CityCommand, WriteFailuresGiveTheReasonInTheUsersLanguage)
{
    const locale_t portuguese = newlocale(LC_ALL_MASK, "pt_BR.UTF-8", locale_t(0));
    if (!portuguese)
        GTEST_SKIP() << "the pt_BR.UTF-8 locale is not generated here";
    QTemporaryDir folder;
    const struct
    {
        QString path;
        rlim_t fileSizeLimit;
        int error;
    } cases[] = {
        {folder.filePath("pasta/que/falta/x.txt"), RLIM_INFINITY, ENOENT},
        {folder.filePath("grande.txt"), 999, EFBIG},
    };
    for (const auto &c : cases) {
        const QString reason = QString::fromUtf8(strerror_l(c.error, portuguese));
        const CliRun run = RunCli({"cidade", "99999", "--nome", "Tau", "-o", c.path}, {},
                                  {"LANG=pt_BR.UTF-8", "LC_ALL=", "LANGUAGE=",
                                   "SOURCE_DATE_EPOCH=0"},
                                  c.fileSizeLimit);
        EXPECT_EQ(run.status, 1) << c.error;
        EXPECT_TRUE(run.errText().endsWith(": " + reason + '\n')) << run.errText().toStdString();
        EXPECT_NE(reason, QString::fromUtf8(strerror(c.error))) << "no Portuguese messages";
        EXPECT_FALSE(QFileInfo::exists(c.path));
    }
    freelocale(portuguese);
}

// A device or a FIFO is written into, never renamed over: -o /dev/null, -o /dev/stdout and a
// pipe to another program work as with any Unix tool, and "-" is stdout.
TEST(CityCommand, WritesIntoDevicesAndPipesWithoutReplacingThem)
{
    const QByteArray report = city({"2", "--nome", "Tau"}).out;
    ASSERT_FALSE(report.isEmpty());
    EXPECT_EQ(city({"2", "--nome", "Tau", "-o", "/dev/null"}).status, 0);
    EXPECT_EQ(city({"2", "--nome", "Tau", "-o", "/dev/stdout"}).out, report);
    EXPECT_EQ(city({"2", "--nome", "Tau", "-o", "-"}).out, report);

    QTemporaryDir folder;
    const QString fifo = folder.filePath("cano");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess reader;
    reader.start("cat", {fifo});
    ASSERT_TRUE(reader.waitForStarted());
    EXPECT_EQ(city({"2", "--nome", "Tau", "-o", fifo}).status, 0);
    ASSERT_TRUE(reader.waitForFinished(10'000));
    EXPECT_EQ(reader.readAllStandardOutput(), report);
    EXPECT_FALSE(QFileInfo(fifo).isFile()); // still the FIFO
}

} // namespace
