#pragma once

#include "dice/expression/DiceExpression.h"

#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

// A dice expression given on the command line or on a line of standard input: the parsed
// expression, or the message that refuses it, naming the expression (shown on one line,
// a character that would not show as its code) and the position at fault:
//   expressão "2d6+", posição 5: a expressão termina antes do esperado
// The expression's text is inserted once and never scanned again, so a "%1" in it stays.
std::variant<DiceExpression, QString> ParseDiceArgument(const QString &text);

// Every expression of a command line, or the message that refuses the first bad one: all
// are read before anything is rolled, so a bad one anywhere leaves no output.
std::variant<std::vector<DiceExpression>, QString> ParseDiceArguments(const QStringList &texts);

// The expression as the user gave it, on one line: characters that would not show (a line
// break, a tab, a no-break space) appear as their code, U+000A; past 100 characters it is
// cut with "…".
QString ShownExpression(const QString &text);
