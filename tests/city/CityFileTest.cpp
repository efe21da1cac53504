#include "FileContents.h"
#include "FileSizeLimit.h"
#include "city/CityFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

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

// An installed program (its folder is named "bin") or a program folder that exists but may not
// be written to sends the file to the documents folder; any other program keeps it beside
// itself.
TEST(CityFile, FallsBackToDocumentsOnlyForAnExistingReadOnlyProgramFolder)
{
    const QString documents = QStringLiteral("/home/u/Documentos");
    const struct
    {
        const char *program;
        bool exists;
        bool writable;
        const char *documents; // nullptr: the documents folder passed above
        bool toDocuments;
    } cases[] = {
        {"/opt/q", true, true, nullptr, false},
        {"/opt/q", true, false, nullptr, true},
        {"/opt/q", false, false, nullptr, false},
        {"/opt/q", false, true, nullptr, false},
        {"/opt/q", true, false, "", false},
        {"/usr/bin", true, false, nullptr, true},
        {"/usr/local/bin", true, true, nullptr, true},
        {"/home/u/.local/bin", true, true, nullptr, true},
        {"/opt/x/bin/", true, true, nullptr, true},
        {"/home/u/bin", false, true, nullptr, true},
        {"/usr/bin", true, true, "", false},
        {"/home/u/quessar/build/dev", true, true, nullptr, false},
        {"/home/u/bin/quessar-1.0", true, true, nullptr, false},
        {"/home/u/cabin", true, true, nullptr, false},
        {"/home/u/Bin", true, true, nullptr, false},
    };
    for (const auto &c : cases) {
        const QString program = QString::fromUtf8(c.program);
        const QString docs = c.documents ? QString::fromUtf8(c.documents) : documents;
        EXPECT_EQ(CityFile::chooseFolder(program, c.exists, c.writable, docs),
                  c.toDocuments ? docs : program)
            << c.program << " exists " << c.exists << " writable " << c.writable;
    }
}

TEST(CityFile, OnlyATextBeginningWithTheReportHeadingIsACityFile)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const struct
    {
        QByteArray bytes;
        bool city;
    } cases[] = {
        {"Cidade: Tau\r\nPopula\xE7\xE3o:  250 habitantes\r\n", true},
        {"Cidade: ", true},
        {"Cidade: \xC1gua Funda\r\n", true},
        {"Cidade:", false},
        {"Cidade:Tau", false},
        {"cidade: Tau", false},
        {" Cidade: Tau", false},
        {"\xEF\xBB\xBF" "Cidade: Tau", false},
        {"# CMakeCache file\n", false},
        {"", false},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString path = temp.filePath(QString::number(n++));
        writeFile(path, c.bytes);
        EXPECT_EQ(CityFile::isCityFile(path), c.city) << c.bytes.toStdString();
    }
    EXPECT_FALSE(CityFile::isCityFile(temp.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(CityFile::isCityFile(temp.path()));
}

// Another program's file of the same name is left alone unless the caller allows replacing it;
// a city file is replaced without asking.
TEST(CityFile, ReplacesAnotherProgramsFileOnlyWhenAllowed)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString path = temp.filePath(QStringLiteral("CMakeCache.txt"));
    const QByteArray foreign = "# This is the CMakeCache file.\n";
    writeFile(path, foreign);

    const QString report = QStringLiteral("Cidade: CMakeCache\nfim");
    CityFile::Outcome outcome = CityFile::save(temp.path(), QStringLiteral("CMakeCache"), report);
    EXPECT_EQ(outcome.status, CityFile::Status::NotACityFile);
    EXPECT_EQ(outcome.path, path);
    EXPECT_EQ(FileContents(path), foreign);
    EXPECT_EQ(entries(temp.path()), QStringList{QStringLiteral("CMakeCache.txt")});

    outcome = CityFile::save(temp.path(), QStringLiteral("CMakeCache"), report,
                             CityFile::Replace::Anything);
    EXPECT_EQ(outcome.status, CityFile::Status::Saved);
    EXPECT_EQ(FileContents(path), QByteArray("Cidade: CMakeCache\r\nfim\r\n"));

    // Now a city file: the next save replaces it without asking.
    outcome = CityFile::save(temp.path(), QStringLiteral("CMakeCache"), QStringLiteral("outro"));
    EXPECT_EQ(outcome.status, CityFile::Status::Saved);
    EXPECT_EQ(FileContents(path), QByteArray("outro\r\n"));

    // The checks of the name and the text come first.
    writeFile(path, foreign);
    EXPECT_EQ(CityFile::save(temp.path(), QStringLiteral("a/b"), report).status,
              CityFile::Status::NameNotAllowed);
    EXPECT_EQ(FileContents(path), foreign);

    // A FIFO or a folder of that name is neither read (a FIFO would block) nor replaced, even
    // when the caller allows replacing.
    const QString fifo = temp.filePath(QStringLiteral("Cano.txt"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir(temp.path()).mkdir(QStringLiteral("Pasta.txt")));
    for (const char *name : {"Cano", "Pasta"}) {
        for (const auto replace : {CityFile::Replace::CityFilesOnly, CityFile::Replace::Anything}) {
            outcome = CityFile::save(temp.path(), QString::fromLatin1(name), report, replace);
            EXPECT_EQ(outcome.status, CityFile::Status::WriteFailed) << name;
            EXPECT_FALSE(outcome.error.isEmpty());
        }
    }
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    EXPECT_TRUE(QFileInfo(temp.filePath(QStringLiteral("Pasta.txt"))).isDir());
}

TEST(CityFile, WritesWindows1252WithCrLfAndReplacesAnOldFile)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString path = temp.filePath(QString::fromUtf8("São João.txt"));
    writeFile(path, "Cidade: " + QByteArray(5000, 'x'));

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
// old file exactly as it was and no temporary file behind, and says why. A file that just
// fits the limit is written; one byte more fails, also where the limit falls on a buffer
// boundary.
TEST(CityFile, AFailedWriteKeepsTheOldFile)
{
    const struct
    {
        rlim_t limit;
        qsizetype fileSize; // the bytes of the new file, its final CR LF included
        bool saved;
    } cases[] = {
        {64, 100000, false},    {4096, 4097, false},    {16384, 16384, true},
        {16384, 16385, false},  {16384, 40000, false},  {65536, 65536, true},
        {65536, 65537, false},  {65536, 200000, false}, {131072, 131073, false},
    };
    const QByteArray old = "Cidade: Tau\r\nold report\r\n";
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "limit " << c.limit << ", file " << c.fileSize);
        QTemporaryDir temp;
        ASSERT_TRUE(temp.isValid());
        const QString path = temp.filePath(QStringLiteral("Tau.txt"));
        writeFile(path, old);

        CityFile::Outcome outcome;
        {
            FileSizeLimit limit(c.limit);
            ASSERT_TRUE(limit.ok());
            outcome = CityFile::save(temp.path(), QStringLiteral("Tau"),
                                     QString(c.fileSize - 2, u'a'));
        }

        EXPECT_EQ(entries(temp.path()), QStringList{QStringLiteral("Tau.txt")});
        if (c.saved) {
            EXPECT_EQ(outcome.status, CityFile::Status::Saved);
            EXPECT_EQ(FileContents(path), QByteArray(c.fileSize - 2, 'a') + "\r\n");
        } else {
            EXPECT_EQ(outcome.status, CityFile::Status::WriteFailed);
            EXPECT_EQ(outcome.path, path);
            EXPECT_EQ(outcome.error, QString::fromLocal8Bit(std::strerror(EFBIG)));
            EXPECT_EQ(FileContents(path), old);
        }
    }
}

} // namespace
