#pragma once

#include "dice/number/Fraction.h"

#include <QString>

#include <ostream>

// Lets GoogleTest print QStrings readably in failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Exact fractions of the dice notation, as "7/2".
inline void PrintTo(const Fraction &value, std::ostream *os)
{
    QByteArray text;
    value.appendExact(text);
    *os << text.toStdString();
}
