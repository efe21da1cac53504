#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <optional>

// Reading the numbers that quessar-cli's options take. Each accepts decimal digits with an
// optional sign and nothing else (no spaces, no "1e3", no "0x"), and reports a value out of
// range as nothing rather than wrapping it.

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
