#pragma once

#include <QString>

// QCommandLineParser reports a wrong option value in English ("Missing value after '-n'.",
// "Unexpected value after '--help'."); this is the Portuguese message for the same fault,
// naming the option as typed. Any other text comes back unchanged.
QString PortugueseOptionValueError(const QString &parserErrorText);
