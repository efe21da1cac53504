#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <csignal>
#include <sys/resource.h>

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
// example /dev/full), `environment` ("NAME=value") is set on top of this process's own, and
// `fileSizeLimit` is the run's RLIMIT_FSIZE; `input` is written to its standard input,
// which is then closed.
inline CliRun RunCli(const QStringList &arguments, const QString &stdoutFile = QString(),
                     const QStringList &environment = {}, rlim_t fileSizeLimit = RLIM_INFINITY,
                     const QByteArray &input = {})
{
    QProcess process;
    if (!stdoutFile.isEmpty())
        process.setStandardOutputFile(stdoutFile);
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : environment)
        variables.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    process.setProcessEnvironment(variables);
    if (fileSizeLimit != RLIM_INFINITY) // with SIGXFSZ at its default action, as a shell gives
        process.setChildProcessModifier([fileSizeLimit] {
            std::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    process.start(QStringLiteral(QUESSAR_CLI_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60'000);
    CliRun run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
