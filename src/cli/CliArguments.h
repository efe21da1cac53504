#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdint>
#include <optional>

// Reading quessar-cli's arguments.
//
// The numbers its options take: each accepts decimal digits with an optional sign and nothing
// else (no spaces, no "1e3", no "0x"), and reports a value out of range as nothing rather than
// wrapping it.

// Whether the text is such a number: an optional sign and decimal digits, nothing else.
bool IsPlainInteger(const QString &text);

// A whole number in [minimum, maximum].
std::optional<qint64> ParseWholeNumber(const QString &text, qint64 minimum, qint64 maximum);

// A seed: any 64-bit integer, signed (down to -9223372036854775808) or unsigned (up to
// 18446744073709551615). A negative seed stands for its two's-complement bits.
std::optional<std::uint64_t> ParseSeed(const QString &text);

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
