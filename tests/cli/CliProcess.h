#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// One run of the real quessar-cli: its exit status and both output streams.
struct CliRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;

    QString outText() const { return QString::fromUtf8(out); }
    QString errText() const { return QString::fromUtf8(err); }
};

// Runs quessar-cli with `arguments`; stdout goes to `stdoutFile` when one is given (for
// example /dev/full).
inline CliRun RunCli(const QStringList &arguments, const QString &stdoutFile = QString())
{
    QProcess process;
    if (!stdoutFile.isEmpty())
        process.setStandardOutputFile(stdoutFile);
    process.start(QStringLiteral(QUESSAR_CLI_PATH), arguments);
    process.closeWriteChannel();
    process.waitForFinished(60'000);
    CliRun run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
