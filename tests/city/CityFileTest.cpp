#include "FileContents.h"
#include "city/CityFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(CityFile, NamesThatCannotNameAFileInTheFolderAreRefused)
{
    const QString usable[] = {
        QString(), QStringLiteral("Tau Rianu"), QString::fromUtf8("Émar Tölksen"),
        QStringLiteral("a.b"), QStringLiteral("..."), QStringLiteral(" "), QStringLiteral(".x"),
        QString::fromUtf8("Vila 😀"), QStringLiteral("a;b,c'd"),
    };
    for (const QString &name : usable)
        EXPECT_TRUE(CityFile::isUsableName(name)) << name.toStdString();

    const QString refused[] = {
        QStringLiteral("."), QStringLiteral(".."), QStringLiteral("/"), QStringLiteral("a/b"),
        QStringLiteral("../x"), QStringLiteral("a\\b"), QStringLiteral("C:"), QStringLiteral("a*"),
        QStringLiteral("a?"), QStringLiteral("\"a\""), QStringLiteral("<a"), QStringLiteral("a>"),
        QStringLiteral("a|b"), QStringLiteral("a\tb"), QStringLiteral("a\nb"), QStringLiteral("a\rb"),
        QString::fromUtf16(u"a\u007Fb"), QString::fromUtf16(u"a\u0085b"), QString::fromUtf16(u"a") + QChar(0),
        QString::fromUtf16(u"a\xD83D"), QString::fromUtf16(u"\xDE00" "b"),
    };
    for (const QString &name : refused)
        EXPECT_FALSE(CityFile::isUsableName(name)) << name.toStdString();
}

TEST(CityFile, EveryLineEndBecomesCrLfAndOneMoreEndsTheFile)
{
    const struct
    {
        QString box;
        QString file;
    } cases[] = {
        {QString(), QStringLiteral("\r\n")},
        {QStringLiteral("a"), QStringLiteral("a\r\n")},
        {QStringLiteral("a\r\nb"), QStringLiteral("a\r\nb\r\n")},
        {QStringLiteral("a\nb"), QStringLiteral("a\r\nb\r\n")},
        {QStringLiteral("a\rb"), QStringLiteral("a\r\nb\r\n")},
        {QString::fromUtf16(u"a\u2029b\u2028c"), QStringLiteral("a\r\nb\r\nc\r\n")},
        {QStringLiteral("a\n\nb\n"), QStringLiteral("a\r\n\r\nb\r\n\r\n")},
        {QStringLiteral("a\r\r\nb"), QStringLiteral("a\r\n\r\nb\r\n")},
        {QStringLiteral("a\n\rb"), QStringLiteral("a\r\n\r\nb\r\n")},
        {QString::fromUtf16(u"no\u00A0break"), QString::fromUtf16(u"no\u00A0break\r\n")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CityFile::content(c.box), c.file) << c.box.toStdString();
}

TEST(CityFile, PathIsFolderSlashNameDotTxt)
{
    EXPECT_EQ(CityFile::pathFor(QStringLiteral("/opt/q"), QStringLiteral("Tau Rianu")),
              QStringLiteral("/opt/q/Tau Rianu.txt"));
    EXPECT_EQ(CityFile::pathFor(QStringLiteral("/"), QStringLiteral("Tau")), QStringLiteral("/Tau.txt"));
    EXPECT_EQ(CityFile::pathFor(QStringLiteral("/opt/q/"), QString()), QStringLiteral("/opt/q/.txt"));
}

// Only a program folder that exists but may not be written to sends the file elsewhere.
TEST(CityFile, FallsBackToDocumentsOnlyForAnExistingReadOnlyProgramFolder)
{
    const QString program = QStringLiteral("/opt/q");
    const QString documents = QStringLiteral("/home/u/Documentos");
    EXPECT_EQ(CityFile::chooseFolder(program, true, true, documents), program);
    EXPECT_EQ(CityFile::chooseFolder(program, true, false, documents), documents);
    EXPECT_EQ(CityFile::chooseFolder(program, false, false, documents), program);
    EXPECT_EQ(CityFile::chooseFolder(program, false, true, documents), program);
    EXPECT_EQ(CityFile::chooseFolder(program, true, false, QString()), program);
}

TEST(CityFile, WritesWindows1252WithCrLfAndReplacesAnOldFile)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString path = temp.filePath(QString::fromUtf8("São João.txt"));
    writeFile(path, QByteArray(5000, 'x'));

    const CityFile::Outcome outcome = CityFile::save(
        temp.path(), QString::fromUtf8("São João"), QString::fromUtf8("População\n1º\u2029fim"));
    EXPECT_EQ(outcome.status, CityFile::Status::Saved);
    EXPECT_EQ(outcome.path, path);
    EXPECT_EQ(FileContents(path), QByteArray("Popula\xE7\xE3o\r\n1\xBA\r\nfim\r\n"));
    EXPECT_EQ(entries(temp.path()), QStringList{QString::fromUtf8("São João.txt")});

    // The empty name writes ".txt".
    EXPECT_EQ(CityFile::save(temp.path(), QString(), QStringLiteral("a")).status,
              CityFile::Status::Saved);
    EXPECT_EQ(FileContents(temp.filePath(QStringLiteral(".txt"))), QByteArray("a\r\n"));
}

// A write that fails halfway (here: the file size limit, as a full disk would) leaves the
// old file exactly as it was and no temporary file behind.
TEST(CityFile, AFailedWriteKeepsTheOldFile)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString path = temp.filePath(QStringLiteral("Tau.txt"));
    writeFile(path, "old report\r\n");

    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const CityFile::Outcome outcome =
        CityFile::save(temp.path(), QStringLiteral("Tau"), QString(100000, u'a'));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(outcome.status, CityFile::Status::WriteFailed);
    EXPECT_FALSE(outcome.error.isEmpty());
    EXPECT_EQ(FileContents(path), QByteArray("old report\r\n"));
    EXPECT_EQ(entries(temp.path()), QStringList{QStringLiteral("Tau.txt")});
}

} // namespace
