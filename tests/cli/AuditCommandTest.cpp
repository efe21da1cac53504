// quessar-cli auditar, run as a process on records and --json output written here.

#include "CliProcess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A record line of 1d20+5 that drew `face`, with `label` when given.
QByteArray d20Line(qint64 seq, int face, const char *label)
{
    QByteArray line = "{\"tipo\":\"rolagem\",\"seq\":" + QByteArray::number(seq)
                      + ",\"hora\":\"2026-12-08T04:15:02.123-03:00\",\"expressao\":\"1d20+5\"";
    if (*label)
        line += QByteArray(",\"rotulo\":\"") + label + '"';
    line += ",\"termos\":[{\"termo\":\"1d20\",\"dados\":[{\"valor\":" + QByteArray::number(face)
            + ",\"mantido\":true}],\"soma\":" + QByteArray::number(face) + "}],\"total\":"
            + QByteArray::number(face + 5) + ",\"sorteios\":[[20," + QByteArray::number(face)
            + "]]}\n";
    return line;
}

const QByteArray Header =
    "{\"registro\":\"quessar\",\"versao\":1,\"programa\":\"quessar-cli 1.0.0\","
    "\"criado\":\"2026-12-08T04:15:02.123-03:00\"}\n";

// Ana rolls 20s, Bruno 1s and "teste" every face in turn, 100 rolls each; the last line is torn.
QByteArray tableRecord()
{
    QByteArray record = Header;
    qint64 seq = 0;
    for (int r = 0; r < 100; ++r) {
        record += d20Line(++seq, 20, "Ana");
        record += d20Line(++seq, 1, "Bruno");
        record += d20Line(++seq, 1 + r % 20, "teste");
    }
    return record + "{\"tipo\":\"rolagem\",\"seq\":301,\"hora\":\"2026-12-08T04:1";
}

QJsonObject auditJson(const QStringList &arguments)
{
    const CliRun run = RunCli(QStringList{"auditar", "--json"} + arguments);
    EXPECT_EQ(run.status, 0) << run.errText().toStdString();
    return QJsonDocument::fromJson(run.out).object();
}

// A whole record: the torn last line named and skipped, everything else audited; the text
// fits 80 columns, and the loaded labels are flagged only when audited apart.
TEST(AuditCommand, AuditsARecordAndSkipsItsTornLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("mesa.jsonl");
    writeFile(path, tableRecord());

    const CliRun run = RunCli({"auditar", "--por-rotulo", path});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errText(), "quessar-cli auditar: \"" + path
                                 + "\", linha 302: não é uma rolagem inteira (gravação "
                                   "interrompida?); pulada\n");
    const QString text = run.outText();
    EXPECT_TRUE(text.startsWith("Auditoria de sorte: 300 rolagens\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("rótulo \"Ana\": 100 rolagens\n"));
    EXPECT_TRUE(text.contains("    1s: 0 e 20s: 100 (esperado 5,0 de cada)\n"));
    EXPECT_TRUE(text.contains("quase impossível"));
    for (const QString &line : text.split(u'\n'))
        EXPECT_LE(line.size(), 80) << line.toStdString();

    // All the labels together: every face 100 times but 1 and 20, 200 times.
    const QJsonObject all = auditJson({path});
    EXPECT_EQ(all["rolagens"].toInt(), 300);
    const QJsonArray counts = all["grupos"][0]["dados"][0]["contagens"].toArray();
    ASSERT_EQ(counts.size(), 20);
    EXPECT_EQ(counts[0].toInt(), 105);
    EXPECT_EQ(counts[19].toInt(), 105);
    EXPECT_EQ(counts[1].toInt(), 5);
}

// Labels kept and left out; with grouping each label has its own luck.
TEST(AuditCommand, FiltersAndGroupsByLabel)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("mesa.jsonl");
    writeFile(path, tableRecord());
    struct Row
    {
        QStringList arguments;
        int rolls;
        QStringList labels; // the groups, by label, in order
    };
    const std::vector<Row> rows{
        {{"--por-rotulo"}, 300, {"Ana", "Bruno", "teste"}},
        {{"--por-rotulo", "--sem-rotulo", "teste"}, 200, {"Ana", "Bruno"}},
        {{"--por-rotulo", "--sem-rotulo", "teste", "--sem-rotulo", "Ana"}, 100, {"Bruno"}},
        {{"--por-rotulo", "--rotulo", "teste"}, 100, {"teste"}},
        {{"--rotulo", "Ana", "--rotulo", "Bruno"}, 200, {}},
        {{"--rotulo", "ninguém"}, 0, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const QJsonObject audit = auditJson(row.arguments + QStringList{path});
        EXPECT_EQ(audit["rolagens"].toInt(), row.rolls);
        const QJsonArray groups = audit["grupos"].toArray();
        if (row.labels.isEmpty())
            continue;
        ASSERT_EQ(groups.size(), row.labels.size());
        for (qsizetype g = 0; g < groups.size(); ++g) {
            EXPECT_EQ(groups[g]["rotulo"].toString(), row.labels[g]);
            EXPECT_EQ(groups[g]["rolagens"].toInt(), 100);
        }
    }
    const QJsonArray groups = auditJson({"--por-rotulo", path})["grupos"].toArray();
    EXPECT_EQ(groups[0]["sorte"]["veredito"].toString(), "extremo");
    EXPECT_GT(groups[0]["sorte"]["media"].toDouble(), 0.97);
    EXPECT_LT(groups[1]["sorte"]["media"].toDouble(), 0.03);
    EXPECT_EQ(groups[2]["dados"][0]["ajuste"]["veredito"].toString(), "comum");
}

// The output of the real "dados --json", from a file and from standard input: totals and
// luck audited, faces not (it lists no draws).
TEST(AuditCommand, AuditsDiceJsonOutput)
{
    const CliRun rolled = RunCli({"dados", "--json", "-s", "11", "-n", "500", "2d6", "1d6/2"});
    ASSERT_EQ(rolled.status, 0);
    QTemporaryDir dir;
    const QString path = dir.filePath("rolagens.json");
    writeFile(path, rolled.out);

    const CliRun run = RunCli({"auditar", path});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.isEmpty()) << run.errText().toStdString();
    const QString text = run.outText();
    EXPECT_TRUE(text.contains("\n2d6: 500 rolagens\n  média ")) << text.toStdString();
    EXPECT_TRUE(text.contains("\n1d6/2: 500 rolagens\n  média "));
    EXPECT_TRUE(text.contains("sem os sorteios (saída de --json): faces não auditadas\n"));
    EXPECT_FALSE(text.contains("impossível"));

    const CliRun piped = RunCli({"auditar", "--json", "-"}, {}, {}, RLIM_INFINITY, rolled.out);
    EXPECT_EQ(piped.status, 0);
    const QJsonObject audit = QJsonDocument::fromJson(piped.out).object();
    const QJsonArray expressions = audit["grupos"][0]["expressoes"].toArray();
    ASSERT_EQ(expressions.size(), 2);
    EXPECT_EQ(expressions[1]["expressao"].toString(), "1d6/2");
    EXPECT_DOUBLE_EQ(expressions[1]["media_exata"].toDouble(), 1.75);
    EXPECT_EQ(audit["grupos"][0]["sem_sorteios"].toInt(), 1000);
}

// Exit statuses: 1 for a file that cannot be read or output that cannot be written, 2 for bad
// arguments; nothing is printed as audited when a file is missing.
TEST(AuditCommand, ExitStatuses)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("mesa.jsonl");
    writeFile(path, tableRecord());
    const QString missing = dir.filePath("falta.jsonl");
    struct Row
    {
        QStringList arguments;
        QString stdoutFile;
        int status;
        QString message;
    };
    const std::vector<Row> rows{
        {{path, missing}, {}, 1, "não foi possível ler \"" + missing + "\": "},
        {{dir.path()}, {}, 1, "não foi possível ler \"" + dir.path() + "\": "},
        {{path}, "/dev/full", 1, "não foi possível escrever a saída"},
        {{}, {}, 2, "falta o ARQUIVO a auditar"},
        {{"-", "-"}, {}, 2, "só pode ser lida uma vez"},
        {{"--voar", path}, {}, 2, "opção desconhecida: --voar"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const CliRun run = RunCli(QStringList{"auditar"} + row.arguments, row.stdoutFile);
        EXPECT_EQ(run.status, row.status);
        EXPECT_TRUE(run.errText().contains(row.message)) << run.errText().toStdString();
        if (row.stdoutFile.isEmpty() && row.status != 0) {
            EXPECT_TRUE(run.out.isEmpty());
        }
    }
    const CliRun help = RunCli({"auditar", "--help"});
    EXPECT_EQ(help.status, 0);
    for (const QString &line : help.outText().split(u'\n'))
        EXPECT_LE(line.size(), 80) << line.toStdString();
}

} // namespace
