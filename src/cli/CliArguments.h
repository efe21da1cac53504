#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "dice/number/Fraction.h"

#include <cstdint>
#include <optional>
#include <variant>

// Reading quessar-cli's arguments.
//
// The numbers its options take, all by the same rules: decimal digits with an optional sign and
// nothing else (no blanks before, after or inside, no "1e3", no "0x"), and a value out of range
// reported as such rather than wrapped. Options that take a fraction also accept one decimal
// separator, comma or point ("3,5", "3.5"), or one fraction bar ("7/2"), read exactly.

// Whether the text is such a number: an optional sign and decimal digits, nothing else.
bool IsPlainInteger(const QString &text);

// A whole number in [minimum, maximum].
std::optional<qint64> ParseWholeNumber(const QString &text, qint64 minimum, qint64 maximum);

// A seed: any 64-bit integer, signed (down to -9223372036854775808) or unsigned (up to
// 18446744073709551615). A negative seed stands for its two's-complement bits.
std::optional<std::uint64_t> ParseSeed(const QString &text);

// Why a text is not an exact number.
enum class NumberProblem {
    NotANumber, // not of the form above, or a zero denominator
    OutOfRange, // the whole part or the fraction's parts do not fit in 64 bits
    TooFine,    // more decimal places than a 64-bit denominator holds
};

// An exact number: "15", "-2", "+3", "3,5", "3.5", "-0,25", "7/2", "-7/2"; read exactly, so
// "0,1" is 1/10.
std::variant<Fraction, NumberProblem> ParseExactNumber(const QString &text);

// The starting state of a run's random source: the seed when one was given (the same seed
// gives the same output on every run and machine), otherwise one mixed from the clock and
// the process id, so that runs differ.
std::uint64_t RunSeed(std::optional<std::uint64_t> seed);

// An argument as the system passed it: its text when the bytes are valid UTF-8, otherwise
// nothing (rather than a text holding U+FFFD, which would name another file or another city).
std::optional<QString> DecodeArgument(QByteArrayView bytes);

// Bytes that are not valid UTF-8, shown readably: the valid characters as they are, every
// other byte as \xHH ("cid\xE3.txt").
QString ShowBytes(QByteArrayView bytes);

// The word of `words` that `typed` is most likely a slip for: at most two letters added,
// dropped or changed ("dado" for "dados", "cidades" for "cidade"), case ignored. Empty when
// none is that close.
QString NearestWord(const QString &typed, const QStringList &words);
