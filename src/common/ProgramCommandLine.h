#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

// What the windowed program's command line asks for. Besides its own --help and --version it
// takes the options every Qt program with windows understands (-style, -platform, -display,
// ...), which the application object reads for itself; anything else is an error.
//
// Reading needs no application object, so that --help and --version answer even where no
// display is available.
class ProgramCommandLine
{
public:
    enum class Action {
        Run,     // open the windows
        Help,    // print `text` to standard output and end successfully
        Version, // the same
        Error,   // print `text` to standard error and end with ExitBadArguments
    };

    static constexpr int ExitBadArguments = 2;
    static constexpr int ExitNoDisplay = 1;

    struct Request
    {
        Action action = Action::Run;
        QString text; // ends with a line end
    };

    // `arguments` as the program received them, the program's name first.
    static Request read(const QStringList &arguments);

    // Whether the windows have somewhere to appear: a platform named on the command line
    // (-platform) or in QT_QPA_PLATFORM, or an X11 or Wayland display in the environment.
    // Without one, Qt would abort with its own English message.
    static bool hasDisplay(const QStringList &arguments);

    // What to say, on standard error, when there is none; ends with a line end. `program`
    // names the executable.
    static QString noDisplayText(const QString &program = QStringLiteral("quessar"));

    // Adds the options the application object reads for itself, so that a program's own
    // parser (in ParseAsLongOptions mode) lets them through.
    static void addQtOptions(QCommandLineParser &parser);
};
