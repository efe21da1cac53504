#include "common/ProgramCommandLine.h"
#include "QuessarVersion.h"

#include "QtPrinters.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

using Action = ProgramCommandLine::Action;

const QString Version = QStringLiteral("quessar %1\n").arg(QLatin1StringView(QuessarVersionString));

// Whether `text` begins with `prefix`; every text, the null one included, begins with "".
bool begins(const QString &text, const char *prefix)
{
    const QString p = QString::fromUtf8(prefix);
    return text.left(p.size()) == p;
}

QStringList commandLine(const char *arguments)
{
    QStringList list{QStringLiteral("quessar")};
    const QString text = QString::fromUtf8(arguments);
    if (!text.isEmpty())
        list += text.split(u' ');
    return list;
}

TEST(ProgramCommandLine, ReadsItsOwnOptionsAndLetsQtsThrough)
{
    const struct
    {
        const char *arguments;
        Action action;
        const char *text; // what the text begins with
    } cases[] = {
        {"", Action::Run, ""},
        {"-style Fusion", Action::Run, ""},
        {"-style=Fusion -reverse", Action::Run, ""},
        {"-platform offscreen -display :1 -name q -session 1_2", Action::Run, ""},
        {"--help", Action::Help, "Uso: quessar [opções]\n"},
        {"-h", Action::Help, "Uso: quessar [opções]\n"},
        {"-style Fusion --help", Action::Help, "Uso: quessar [opções]\n"},
        {"--version", Action::Version, ""},
        {"-v", Action::Version, ""},
        {"--bogus", Action::Error, "quessar: opção desconhecida: --bogus\n"},
        {"-x", Action::Error, "quessar: opção desconhecida: -x\n"},
        {"-bogus=1", Action::Error, "quessar: opção desconhecida: -bogus=1\n"},
        {"--help --bogus", Action::Error, "quessar: opção desconhecida: --bogus\n"},
        {"-style", Action::Error, "quessar: falta o valor da opção -style\n"},
        {"--help=x", Action::Error, "quessar: a opção --help não aceita valor\n"},
        {"cidade", Action::Error, "quessar: argumento inesperado: cidade\n"},
        {"-reverse extra", Action::Error, "quessar: argumento inesperado: extra\n"},
    };
    for (const auto &c : cases) {
        const ProgramCommandLine::Request request =
            ProgramCommandLine::read(commandLine(c.arguments));
        EXPECT_EQ(request.action, c.action) << c.arguments;
        EXPECT_TRUE(begins(request.text, c.text))
            << c.arguments << ": " << request.text.toStdString();
        if (c.action == Action::Version) {
            EXPECT_EQ(request.text, Version) << c.arguments;
        }
        if (c.action == Action::Error) {
            EXPECT_TRUE(request.text.endsWith(QStringLiteral("Veja \"quessar --help\".\n")));
        }
    }
}

// The real program, with no display at all: help, version and mistakes are answered without
// the application object, which could not start there.
TEST(ProgramCommandLine, TheProgramAnswersWithoutADisplay)
{
    const struct
    {
        const char *argument;
        int status;
        const char *out;
        const char *err;
    } cases[] = {
        {"--help", 0, "Uso: quessar [opções]\n", ""},
        {"--version", 0, "", ""},
        {"--bogus", 2, "", "quessar: opção desconhecida: --bogus\n"},
        // No options: the windows have nowhere to appear.
        {"", 1, "",
         "quessar: nenhuma tela gráfica encontrada (DISPLAY e WAYLAND_DISPLAY vazias)."
         "\nSem tela, rode-o numa tela virtual: xvfb-run -a quessar\n"},
    };
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QString());
    for (const auto &c : cases) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(QUESSAR_PATH),
                      *c.argument ? QStringList{QString::fromUtf8(c.argument)} : QStringList{});
        ASSERT_TRUE(process.waitForFinished(30'000)) << c.argument;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << c.argument;
        EXPECT_EQ(process.exitCode(), c.status) << c.argument;
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_TRUE(begins(out, c.out)) << c.argument;
        if (QByteArrayView(c.argument) == "--version") {
            EXPECT_EQ(out, Version);
        }
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(err.isEmpty(), *c.err == 0) << c.argument << ": " << err.toStdString();
        EXPECT_TRUE(begins(err, c.err)) << c.argument;
    }
}

} // namespace
