// quessar-cli sessao and verificar, run as processes: verifiable sessions from opening to
// verification, what they refuse, tampered records, and the Python verifier's agreement.

#include "CliProcess.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// docs/verificar-registro.py on `path`: its exit status.
int pythonVerifier(const QString &path)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable("python3"),
                  {QStringLiteral(QUESSAR_SOURCE_DIR "/docs/verificar-registro.py"), path});
    process.waitForFinished(60'000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// The secret 00 01 … 1f of the published vectors, as a session's secret file holds it.
QByteArray vectorSecretFile()
{
    QByteArray secret;
    for (int i = 0; i < 32; ++i)
        secret += char(i);
    return secret.toHex() + '\n';
}

// A verifiable session's record opened on the vectors' secret, so that its dice are known.
void openVectorSession(const QString &path)
{
    writeAll(path + ".segredo", vectorSecretFile());
    writeAll(path, "{\"registro\":\"quessar\",\"versao\":1,\"programa\":\"teste\","
                   "\"criado\":\"2026-12-08T04:15:02.123-03:00\",\"compromisso\":"
                   "\"630dcd2966c4336691125448bbb25b4ff412a49c732db2c8abc1b8581bd710dd\","
                   "\"sorteio\":\"hmac-sha256-v1\"}\n");
}

// A closed session with a salt and five rolls, three from the roll server: lines 1 header,
// 2 salt, 3 to 7 rolls, 8 closing. Its secret is the vectors', so every tampering below
// gives the same verdict on every run.
QByteArray closedSession(const QString &path)
{
    openVectorSession(path);
    EXPECT_EQ(RunCli({"sessao", "sal", path, "lobo azul 42"}).status, 0);
    const CliRun served = RunCli({"dados", "--registro", path}, {}, {}, RLIM_INFINITY,
                                 "1d20+5 # Ana\n4d6kh3\n3d6!\n");
    EXPECT_EQ(served.status, 0) << served.errText().toStdString();
    EXPECT_EQ(RunCli({"dados", "--registro", path, "-n", "2", "{2d10, 1d100}kh1"}).status, 0);
    const CliRun closed = RunCli({"sessao", "fechar", path});
    EXPECT_EQ(closed.status, 0) << closed.errText().toStdString();
    return readAll(path);
}

// A whole session: the commitment printed (the secret never), the secret kept for its
// owner alone, rolls that verify, and everything refused once the session is closed.
TEST(SessionCommand, AClosedSessionVerifies)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("mesa.jsonl");
    const CliRun opened = RunCli({"sessao", "abrir", path});
    ASSERT_EQ(opened.status, 0) << opened.errText().toStdString();
    const QByteArray secret = readAll(path + ".segredo").trimmed();
    ASSERT_EQ(secret.size(), 64);
    EXPECT_FALSE(opened.out.contains(secret));
    EXPECT_TRUE(readAll(path).contains(",\"sorteio\":\"hmac-sha256-v1\"}\n"));
    const QByteArray commitment =
        QCryptographicHash::hash(QByteArray::fromHex(secret), QCryptographicHash::Sha256).toHex();
    EXPECT_TRUE(opened.out.startsWith("Compromisso: " + commitment + '\n'));
    EXPECT_TRUE(readAll(path).contains("\"compromisso\":\"" + commitment + '"'));
    struct stat info{};
    ASSERT_EQ(::stat(QFile::encodeName(path + ".segredo").constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    ASSERT_EQ(RunCli({"dados", "--registro", path, "-n", "3", "4d6kh3"}).status, 0);
    const CliRun open = RunCli({"verificar", path});
    EXPECT_EQ(open.status, 0);
    EXPECT_TRUE(open.outText().contains("sessão verificável aberta, sem sal"));
    EXPECT_TRUE(open.outText().contains("os sorteios não podem ser conferidos"));
    EXPECT_EQ(RunCli({"sessao", "fechar", path}).status, 0);
    const CliRun closed = RunCli({"verificar", path});
    EXPECT_EQ(closed.status, 0) << closed.outText().toStdString();
    EXPECT_TRUE(closed.outText().startsWith("Confere: 3 rolagens, sessão verificável fechada, "
                                            "sem sal.\n"));
    EXPECT_TRUE(readAll(path).contains("{\"tipo\":\"fechamento\",\"hora\":"));
    EXPECT_TRUE(readAll(path).endsWith(",\"segredo\":\"" + secret + "\"}\n"));
    EXPECT_EQ(pythonVerifier(path), 0);

    const QByteArray before = readAll(path);
    for (const QStringList &late : {QStringList{"dados", "--registro", path, "1d6"},
                                    QStringList{"sessao", "sal", path, "x"},
                                    QStringList{"sessao", "fechar", path},
                                    QStringList{"sessao", "abrir", path}}) {
        const CliRun run = RunCli(late);
        EXPECT_EQ(run.status, 1) << late.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(readAll(path + ".segredo").trimmed(), secret);
}

// The draws of a session whose secret is known (00 01 … 1f, salt "mesa"): those of the
// published vectors, in the record's order and through the roll server.
TEST(SessionCommand, RollsDrawTheSecretsDice)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("vetores.jsonl");
    openVectorSession(path);
    ASSERT_EQ(RunCli({"sessao", "sal", path, "mesa"}).status, 0);
    const CliRun run = RunCli({"dados", "--registro", path, "--json"}, {}, {}, RLIM_INFINITY,
                              "10d6\n10d20\n");
    ASSERT_EQ(run.status, 0) << run.errText().toStdString();
    const QList<QByteArray> lines = readAll(path).split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[2].endsWith("\"sorteios\":[[6,6],[6,6],[6,1],[6,4],[6,6],[6,6],[6,4],"
                                  "[6,6],[6,4],[6,6]]}"))
        << lines[2].toStdString();
    EXPECT_TRUE(lines[3].endsWith("\"sorteios\":[[20,8],[20,11],[20,20],[20,13],[20,2],[20,11],"
                                  "[20,6],[20,19],[20,5],[20,10]]}"))
        << lines[3].toStdString();
    EXPECT_TRUE(run.out.startsWith("{\"expressao\":\"10d6\""));
}

// What sessao and dados refuse in a verifiable session: status 1 with the reason for the
// record, 2 for the arguments; nothing written.
TEST(SessionCommand, RefusalsLeaveTheRecordAsItWas)
{
    QTemporaryDir dir;
    const QString session = dir.filePath("s.jsonl");
    const QString plain = dir.filePath("p.jsonl");
    const QString taken = dir.filePath("t.jsonl");
    ASSERT_EQ(RunCli({"sessao", "abrir", session}).status, 0);
    ASSERT_EQ(RunCli({"dados", "--registro", plain, "1d6"}).status, 0);
    writeAll(taken + ".segredo", "de outro\n");
    ASSERT_EQ(RunCli({"dados", "--registro", session, "1d6"}).status, 0);
    const QByteArray sessionBefore = readAll(session);
    const QByteArray plainBefore = readAll(plain);
    const struct
    {
        QStringList arguments;
        int status;
        const char *reason;
    } cases[] = {
        {{"sessao", "abrir", session}, 1, "o arquivo já existe"},
        {{"sessao", "abrir", taken}, 1, "o arquivo do segredo já existe"},
        {{"sessao", "sal", session, "tarde"}, 1, "já tem rolagens"},
        {{"sessao", "sal", plain, "x"}, 1, "não é de uma sessão verificável"},
        {{"sessao", "fechar", plain}, 1, "não é de uma sessão verificável"},
        {{"sessao", "sal", dir.filePath("falta.jsonl"), "x"}, 1, "falta.jsonl"},
        {{"sessao", "sal", session, QString(1001, u'x')}, 2, "1000 bytes"},
        {{"sessao", "sal", session}, 2, "falta o TEXTO"},
        {{"sessao", "girar", session}, 2, "ação desconhecida: girar"},
        {{"sessao", "abrir", session, "x"}, 2, "argumento a mais: x"},
        {{"dados", "--registro", session, "-s", "1", "1d6"}, 2, "-s/--semente"},
        {{"verificar"}, 2, "falta o ARQUIVO"},
        {{"verificar", session, plain}, 2, "argumento a mais"},
        {{"verificar", dir.filePath("falta.jsonl")}, 1, "não pôde ser lido"},
    };
    for (const auto &c : cases) {
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.errText().contains(QString::fromUtf8(c.reason)))
            << run.errText().toStdString();
    }
    EXPECT_EQ(readAll(session), sessionBefore);
    EXPECT_EQ(readAll(plain), plainBefore);
    EXPECT_FALSE(QFileInfo::exists(taken));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("falta.jsonl")));
    EXPECT_EQ(readAll(taken + ".segredo"), "de outro\n");

    // A secret that is missing or not the one committed to: no roll, no closing.
    const QByteArray secret = readAll(session + ".segredo");
    for (const QByteArray &kept : {QByteArray(), QByteArray(64, 'a') + '\n', QByteArray("12\n")}) {
        if (kept.isEmpty())
            QFile::remove(session + ".segredo");
        else
            writeAll(session + ".segredo", kept);
        for (const QStringList &arguments : {QStringList{"dados", "--registro", session, "1d6"},
                                             QStringList{"sessao", "fechar", session}}) {
            const CliRun run = RunCli(arguments, {}, {"LANG=pt_BR.UTF-8", "LC_ALL="});
            EXPECT_EQ(run.status, 1) << kept.data();
            EXPECT_TRUE(run.out.isEmpty());
            EXPECT_TRUE(run.errText().contains("segredo")) << run.errText().toStdString();
        }
    }
    EXPECT_EQ(readAll(session), sessionBefore);
    writeAll(session + ".segredo", secret);
}

// Each tampering fails verificar at the line it touched (status 3); the Python verifier,
// which recomputes the draws but not the dice notation, agrees wherever draws are at stake.
TEST(SessionCommand, TamperedRecordsFailAtTheirLine)
{
    QTemporaryDir dir;
    const QString original = dir.filePath("mesa.jsonl");
    const QByteArray record = closedSession(original);
    const QList<QByteArray> lines = record.chopped(1).split('\n');
    ASSERT_EQ(lines.size(), 8);
    using Lines = QList<QByteArray>;
    const auto replaced = [](QByteArray line, const char *from, const char *to) {
        const qsizetype at = line.lastIndexOf(from);
        return at < 0 ? QByteArray("(missing)") : line.replace(at, qsizetype(strlen(from)), to);
    };
    const QByteArray otherSecret = QByteArray(64, '7');
    const struct
    {
        const char *what;
        std::function<void(Lines &)> tamper;
        int line;                  // 0: verifies
        const char *reason;
        int python;                // the Python verifier's status
    } cases[] = {
        {"untouched", [](Lines &) {}, 0, "Confere: 5 rolagens, sessão verificável fechada, com sal.",
         0},
        {"a total changed",
         [&](Lines &l) { l[3] = replaced(l[3], "\"total\":", "\"total\":1"); }, 4,
         "o total registrado", 0},
        {"a line deleted", [](Lines &l) { l.removeAt(3); }, 4, "falta a rolagem 2", 1},
        {"two lines swapped", [](Lines &l) { l.swapItemsAt(3, 4); }, 4,
         "falta a rolagem 2", 1},
        {"a roll renumbered",
         [&](Lines &l) { l[6] = replaced(l[6], "\"seq\":5", "\"seq\":6"); }, 7,
         "falta a rolagem 5", 1},
        {"a wrong secret",
         [&](Lines &l) { l[7] = l[7].left(l[7].indexOf("\"segredo\":\"") + 11) + otherSecret + "\"}"; },
         8, "o segredo revelado não confere com o compromisso", 1},
        {"a changed salt", [&](Lines &l) { l[1] = replaced(l[1], "lobo", "Lobo"); }, 3,
         "não é o que o segredo dá", 1},
        {"a draw changed with its die",
         [&](Lines &l) {
             const qsizetype at = l[2].lastIndexOf("[[20,");
             const int face = l[2].mid(at + 5, l[2].indexOf(']', at) - at - 5).toInt();
             const QByteArray other = QByteArray::number(face % 20 + 1);
             l[2] = replaced(l[2], "[[20," + QByteArray::number(face) + "]]", "[[20," + other + "]]");
             l[2] = replaced(l[2], "\"valor\":" + QByteArray::number(face),
                             "\"valor\":" + other);
         },
         3, "o sorteio 1", 1},
        {"a draw of another die",
         [&](Lines &l) { l[4] = replaced(l[4], "[[6,", "[[8,"); }, 5, "é de d8, mas a rolagem pede um d6",
         1},
        // a one-faced die takes a word but always shows 1, so the draws stay the secret's
        {"a draw left over", [&](Lines &l) { l[4] = replaced(l[4], "]]}", "],[1,1]]}"); }, 5,
         "sorteios registrados", 0},
        {"a roll repeated", [&](Lines &l) { l.insert(4, l[3]); }, 5,
         "a rolagem 2 se repete ou está fora de ordem (esperava a 3)", 1},
        {"time running backwards",
         [&](Lines &l) { l[5] = replaced(l[5], "\"hora\":\"2", "\"hora\":\"1"); }, 6,
         "a hora volta para antes da linha 5", 0},
        {"a roll after the closing", [&](Lines &l) { l.append(l[6]); }, 9,
         "há uma rolagem depois do fechamento", 1},
        {"a salt repeated", [&](Lines &l) { l.insert(3, l[1]); }, 4, "o sal aparece de novo", 0},
        {"not a record", [](Lines &l) { l[0] = "{\"registro\":\"outro\"}"; }, 1,
         "não é um registro de sessão do Quessar", 1},
        {"a torn last line", [](Lines &l) { l.append("{\"tipo\":\"rolagem\",\"seq\":6,\"ho"); }, 0,
         "Linha 9: cortada (escrita interrompida), pulada.\nConfere: 5 rolagens", 0},
    };
    for (const auto &c : cases) {
        Lines tampered = lines;
        c.tamper(tampered);
        const QString path = dir.filePath("tampered.jsonl");
        writeAll(path, tampered.join('\n') + (QByteArrayView(c.what) == "a torn last line" ? "" : "\n"));
        const CliRun run = RunCli({"verificar", path});
        EXPECT_EQ(run.status, c.line == 0 ? 0 : 3) << c.what;
        const QString expected =
            c.line == 0 ? QString::fromUtf8(c.reason)
                        : QStringLiteral("NÃO CONFERE, linha %1: ").arg(c.line);
        EXPECT_TRUE(run.outText().startsWith(expected) || run.outText().contains(expected))
            << c.what << ": " << run.outText().toStdString();
        EXPECT_TRUE(run.outText().contains(QString::fromUtf8(c.reason)))
            << c.what << ": " << run.outText().toStdString();
        EXPECT_EQ(pythonVerifier(path), c.python) << c.what;
    }
}

// Two processes rolling into one verifiable session take their numbers under the lock: the
// closed record verifies, so every roll holds the draws of its own number.
TEST(SessionCommand, TwoRollersShareASession)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("mesa.jsonl");
    ASSERT_EQ(RunCli({"sessao", "abrir", path}).status, 0);
    ASSERT_EQ(RunCli({"sessao", "sal", path, "duas mesas"}).status, 0);
    QByteArray input;
    for (int i = 0; i < 100; ++i)
        input += "4d6kh3\n1d20+5 # Bruno\n";
    QProcess first, second;
    for (QProcess *process : {&first, &second}) {
        process->start(QStringLiteral(QUESSAR_CLI_PATH), {"dados", "--registro", path});
        process->write(input);
        process->closeWriteChannel();
    }
    for (QProcess *process : {&first, &second}) {
        ASSERT_TRUE(process->waitForFinished(60'000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    }
    ASSERT_EQ(RunCli({"sessao", "fechar", path}).status, 0);
    const CliRun run = RunCli({"verificar", path});
    EXPECT_EQ(run.status, 0) << run.outText().toStdString();
    EXPECT_TRUE(run.outText().startsWith("Confere: 400 rolagens")) << run.outText().toStdString();
    EXPECT_EQ(pythonVerifier(path), 0);
}

} // namespace
