// quessar-cli dados --registro, run as a process: what the record holds and what it refuses.

#include "CliProcess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/mount.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every line of a record is a whole JSON object, and the rolls are numbered 1, 2, 3…
void expectWholeRecord(const QByteArray &record, qint64 rolls)
{
    ASSERT_TRUE(record.endsWith('\n'));
    const QList<QByteArray> lines = record.chopped(1).split('\n');
    ASSERT_EQ(lines.size(), rolls + 1);
    EXPECT_EQ(QJsonDocument::fromJson(lines[0]).object().value("registro").toString(),
              "quessar");
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QJsonObject roll = QJsonDocument::fromJson(lines[i]).object();
        EXPECT_EQ(roll.value("tipo").toString(), "rolagem") << lines[i].toStdString();
        EXPECT_EQ(roll.value("seq").toInteger(), i) << lines[i].toStdString();
    }
}

// Rolls from arguments and from the roll server go into one record, each answer as it would
// be without it, numbered on from the record's last roll; a torn last line is closed first.
TEST(SessionRecord, RollsAreRecordedWithTheirDraws)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("mesa.jsonl");
    const CliRun first = RunCli({"dados", "--registro", path, "-s", "1", "4d6kh3", "1d20 # Ana"});
    EXPECT_EQ(first.status, 0) << first.errText().toStdString();
    EXPECT_EQ(first.out, RunCli({"dados", "-s", "1", "4d6kh3", "1d20 # Ana"}).out);
    const QList<QByteArray> lines = readAll(path).split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[1].left(lines[1].indexOf(",\"hora\"")), "{\"tipo\":\"rolagem\",\"seq\":1");
    EXPECT_TRUE(lines[1].endsWith(",\"total\":15,\"sorteios\":[[6,4],[6,5],[6,6],[6,3]]}"))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains("\"expressao\":\"1d20\",\"rotulo\":\"Ana\""));

    {
        QFile torn(path);
        ASSERT_TRUE(torn.open(QIODevice::Append));
        torn.write("{\"tipo\":\"rolagem\",\"se");
    }
    const CliRun served = RunCli({"dados", "--registro", path, "--json"}, {}, {}, RLIM_INFINITY,
                                 "3d6!\n2d6+1\n");
    EXPECT_EQ(served.status, 0) << served.errText().toStdString();
    EXPECT_EQ(served.out.count('\n'), 2);
    QByteArray record = readAll(path);
    const qsizetype tornAt = record.indexOf("{\"tipo\":\"rolagem\",\"se\n");
    ASSERT_GT(tornAt, 0) << "the torn line stays, closed by a line end";
    record.remove(tornAt, qsizetype(sizeof "{\"tipo\":\"rolagem\",\"se\n") - 1);
    expectWholeRecord(record, 4);
}

// A write cut off just before its newline leaves a whole roll at the end. The next append
// closes it with a line end, so every reader then takes it as a roll: its number is not
// given again, and verificar accepts the record (a repeated number would fail it).
TEST(SessionRecord, ARollCutBeforeItsNewlineKeepsItsNumber)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("mesa.jsonl");
    ASSERT_EQ(RunCli({"dados", "--registro", path, "-s", "1", "4d6kh3", "1d20"}).status, 0);
    ASSERT_TRUE(QFile::resize(path, QFileInfo(path).size() - 1));
    const CliRun next = RunCli({"dados", "--registro", path, "-s", "2", "2d6"});
    EXPECT_EQ(next.status, 0) << next.errText().toStdString();
    expectWholeRecord(readAll(path), 3);
    const CliRun verified = RunCli({"verificar", path});
    EXPECT_EQ(verified.status, 0) << verified.outText().toStdString();
}

// Lines that reach the roll server together go into the record as one batch: a refused
// line among them is left out alone, the others are answered as without a record and
// numbered on without a gap, and each line is the one its own expression writes (the same
// expression seen again, under another label, or past the writers kept at once), as
// verificar, which makes every line again from its own reading, confirms.
TEST(SessionRecord, LinesThatComeTogetherAreRecordedTogether)
{
    QByteArray many;
    for (int i = 0; i < 600; ++i)
        many += "1d6+" + QByteArray::number(i % 300) + (i % 2 ? " # Ana\n" : "\n");
    struct Case
    {
        const char *what;
        QByteArray input;
        int status;
        qint64 rolls;
    };
    const Case cases[] = {
        {"a refused line among them", "4d6kh3\n2d6+\n1d20 # Ana\n\n3d6!\n", 2, 3},
        {"the same expressions again",
         "4d6kh3\n1d20 # Ana\n4d6kh3 # Bruno\n1d20 # Bruno\n4d6kh3\n1d20 # Ana\n{1d20, 1d20}kh1\n",
         0, 7},
        {"more expressions than are kept at once", many, 0, 600},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("r.jsonl");
        for (const QStringList &json : {QStringList(), QStringList{"--json"}}) {
            QFile::remove(path);
            const CliRun served = RunCli(QStringList{"dados", "--registro", path, "-s", "7"} + json,
                                         {}, {}, RLIM_INFINITY, c.input);
            const CliRun plain =
                RunCli(QStringList{"dados", "-s", "7"} + json, {}, {}, RLIM_INFINITY, c.input);
            EXPECT_EQ(served.status, c.status) << c.what;
            EXPECT_EQ(served.out, plain.out) << c.what;
            EXPECT_EQ(served.out.count('\n'), c.rolls) << c.what;
            expectWholeRecord(readAll(path), c.rolls);
            const CliRun verified = RunCli({"verificar", path});
            EXPECT_EQ(verified.status, 0) << c.what << ": " << verified.out.toStdString();
        }
    }
}

// A record that cannot take the roll refuses it: status 1, the reason in Portuguese, nothing
// printed as rolled, and the record as it was.
TEST(SessionRecord, ARollThatCannotBeRecordedIsNotMade)
{
    QTemporaryDir dir;
    const QString notes = dir.filePath("notas.txt");
    {
        QFile file(notes);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("minhas notas\n");
    }
    const QString limited = dir.filePath("limitado.jsonl");
    ASSERT_EQ(RunCli({"dados", "--registro", limited, "1d6"}).status, 0);
    const QByteArray before = readAll(limited);

    struct Case
    {
        const char *what;
        QString path;
        rlim_t fileSizeLimit;
        const char *reason;
        const char *rolls;
    };
    const Case cases[] = {
        {"not a record", notes, RLIM_INFINITY, "não é um registro de sessão do Quessar", "50"},
        {"a folder", dir.path(), RLIM_INFINITY, "diretório", "50"},
        {"a missing folder", dir.filePath("falta/r.jsonl"), RLIM_INFINITY,
         "Arquivo ou diretório inexistente", "50"},
        {"ulimit -f", limited, rlim_t(before.size() + 100), "Arquivo muito grande", "50"},
        // A batch of many blocks: those written before the limit are taken back too.
        {"ulimit -f, many blocks", limited, rlim_t(before.size() + 300'000),
         "Arquivo muito grande", "20000"},
    };
    for (const Case &c : cases) {
        const CliRun run = RunCli({"dados", "--registro", c.path, "-n", c.rolls, "3d6"}, {},
                                  {"LANG=pt_BR.UTF-8", "LC_ALL="}, c.fileSizeLimit);
        EXPECT_EQ(run.status, 1) << c.what;
        EXPECT_TRUE(run.out.isEmpty()) << c.what;
        EXPECT_TRUE(run.errText().contains(QString::fromUtf8(c.reason)))
            << c.what << ": " << run.errText().toStdString();
    }
    EXPECT_EQ(readAll(notes), "minhas notas\n");
    EXPECT_EQ(readAll(limited), before);
}

// A real full file system (a 64 KiB tmpfs): the batch that does not fit is refused whole.
TEST(SessionRecord, AFullDiskRefusesTheRoll)
{
    QTemporaryDir dir;
    if (::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "mount -t tmpfs is not permitted here";
    const QString path = dir.filePath("r.jsonl");
    ASSERT_EQ(RunCli({"dados", "--registro", path, "1d6"}).status, 0);
    const QByteArray before = readAll(path);
    const CliRun run = RunCli({"dados", "--registro", path, "-n", "2000", "1d6"}, {},
                              {"LANG=pt_BR.UTF-8", "LC_ALL="});
    const QByteArray after = readAll(path);
    ::umount(QFile::encodeName(dir.path()).constData());
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.errText().contains(QString::fromUtf8("espaço"))) << run.errText().toStdString();
    EXPECT_EQ(after, before);
}

// Two processes appending at once take turns under the lock: no line is interleaved and the
// numbers run on without a gap or a repeat.
TEST(SessionRecord, TwoWritersInterleaveNoLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("r.jsonl");
    ASSERT_EQ(RunCli({"dados", "--registro", path, "1d6"}).status, 0);
    QProcess writers[2];
    for (QProcess &writer : writers) {
        writer.start(QStringLiteral(QUESSAR_CLI_PATH), {"dados", "--registro", path});
        for (int i = 0; i < 300; ++i)
            writer.write("2d6+1\n");
        writer.closeWriteChannel();
    }
    for (QProcess &writer : writers) {
        ASSERT_TRUE(writer.waitForFinished(30'000));
        EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
    }
    expectWholeRecord(readAll(path), 601);
}

// A roll server killed with SIGKILL at random moments, 200 times, leaves a record whose every
// whole line is a roll numbered on from the one before; a torn line is only ever a piece of
// one, left where the kill fell and closed by the next writer.
TEST(SessionRecord, KillNineLosesNoWholeLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("r.jsonl");
    ASSERT_EQ(RunCli({"dados", "--registro", path, "1d6"}).status, 0);
    QByteArray input;
    for (int i = 0; i < 2000; ++i)
        input += "4d6kh3\n";
    std::srand(23);
    for (int kill = 0; kill < 200; ++kill) {
        QProcess server;
        server.start(QStringLiteral(QUESSAR_CLI_PATH), {"dados", "--registro", path});
        ASSERT_TRUE(server.waitForStarted());
        const qint64 before = QFileInfo(path).size();
        server.write(input);
        server.waitForBytesWritten(1'000); // QProcess sends input only when asked to
        // Kill while it writes, however loaded the machine: once its first roll is in the
        // record, at a random moment within the next few milliseconds.
        QElapsedTimer waited;
        waited.start();
        while (QFileInfo(path).size() == before && waited.elapsed() < 2'000)
            ::usleep(200);
        ::usleep(useconds_t(std::rand() % 4000));
        server.kill();
        server.waitForFinished();
    }
    const QList<QByteArray> lines = readAll(path).split('\n');
    qint64 seq = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QJsonObject roll = QJsonDocument::fromJson(lines[i]).object();
        if (roll.isEmpty()) {
            EXPECT_TRUE(QByteArray("{\"tipo\":\"rolagem\"").startsWith(lines[i].left(17))
                        || lines[i].startsWith("{\"tipo\":\"rolagem\""))
                << "line " << i + 1 << ": " << lines[i].toStdString();
            continue;
        }
        EXPECT_EQ(roll.value("seq").toInteger(), ++seq) << "line " << i + 1;
    }
    EXPECT_GT(seq, 200);
}

} // namespace
