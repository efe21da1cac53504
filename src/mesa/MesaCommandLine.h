#pragma once

#include <QString>
#include <QStringList>

// What quessar-mesa's command line asks for: its own --help, --version and --registro
// ARQUIVO, and the options every Qt program with windows takes (-style, -platform…).
// Reading needs no application object, so --help and --version answer without a display.
class MesaCommandLine
{
public:
    enum class Action { Run, Help, Version, Error };

    struct Request
    {
        Action action = Action::Run;
        QString text;       // Help, Version and Error: what to print; ends with a line end
        QString recordPath; // Run: the record to continue, or empty for a new one
    };

    // `arguments` as the program received them, the program's name first.
    static Request read(const QStringList &arguments);
};
