#include "cli/CliArguments.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <numeric>
#include <vector>

#include <unistd.h>

namespace {

template <typename T> std::optional<T> fromChars(const QString &text)
{
    const QByteArray latin = text.toLatin1();
    const char *begin = latin.constData();
    const char *end = begin + latin.size();
    if (begin != end && *begin == '+')
        ++begin;
    T value{};
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

} // namespace

bool IsPlainInteger(const QString &text)
{
    static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
    return integer.match(text).hasMatch();
}

std::optional<qint64> ParseWholeNumber(const QString &text, qint64 minimum, qint64 maximum)
{
    if (!IsPlainInteger(text))
        return std::nullopt;
    const auto value = fromChars<qint64>(text);
    if (!value || *value < minimum || *value > maximum)
        return std::nullopt;
    return value;
}

std::optional<std::uint64_t> ParseSeed(const QString &text)
{
    if (!IsPlainInteger(text))
        return std::nullopt;
    if (text.startsWith(u'-')) {
        const auto value = fromChars<std::int64_t>(text);
        return value ? std::optional(static_cast<std::uint64_t>(*value)) : std::nullopt;
    }
    return fromChars<std::uint64_t>(text);
}

std::variant<Fraction, NumberProblem> ParseExactNumber(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral("^([+-]?)([0-9]+)(?:([.,])([0-9]+)|/([0-9]+))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return NumberProblem::NotANumber;
    const QString sign = match.captured(1);
    const auto whole = fromChars<qint64>(sign + match.captured(2));
    if (!whole)
        return NumberProblem::OutOfRange;
    if (match.hasCaptured(5)) {
        const auto denominator = fromChars<qint64>(match.captured(5));
        if (!denominator)
            return NumberProblem::OutOfRange;
        if (*denominator == 0)
            return NumberProblem::NotANumber;
        const auto value = Fraction::of(*whole, *denominator);
        if (!value)
            return NumberProblem::OutOfRange;
        return *value;
    }
    if (!match.hasCaptured(4))
        return Fraction(*whole);
    // Trailing zeros say nothing: "2,50" is 5/2 and "1,000" is 1, however many zeros follow.
    QString places = match.captured(4);
    while (places.endsWith(u'0'))
        places.chop(1);
    if (places.isEmpty())
        return Fraction(*whole);
    const auto mantissa = fromChars<qint64>(sign + match.captured(2) + places);
    qint64 scale = 1;
    for (qsizetype i = 0; i < places.size(); ++i)
        if (__builtin_mul_overflow(scale, qint64(10), &scale))
            return NumberProblem::TooFine;
    if (!mantissa)
        return NumberProblem::TooFine;
    const auto value = Fraction::of(*mantissa, scale);
    if (!value)
        return NumberProblem::TooFine;
    return *value;
}

std::uint64_t RunSeed(std::optional<std::uint64_t> seed)
{
    if (seed)
        return *seed;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto wall = QDateTime::currentMSecsSinceEpoch();
    return std::uint64_t(now) * 0x9E3779B97F4A7C15ull ^ std::uint64_t(wall) << 20
           ^ std::uint64_t(::getpid());
}

std::optional<QString> DecodeArgument(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString ShowBytes(QByteArrayView bytes)
{
    QString shown;
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar lead = uchar(bytes[i]);
        const qsizetype length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const QByteArrayView character = bytes.sliced(i, qMin(length, bytes.size() - i));
        if (character.size() == length && DecodeArgument(character)) {
            shown += QString::fromUtf8(character);
            i += length;
        } else {
            shown += QStringLiteral("\\x") + QString::number(lead, 16).toUpper();
            ++i;
        }
    }
    return shown;
}

QString NearestWord(const QString &typed, const QStringList &words)
{
    constexpr qsizetype MostEdits = 2;
    const QString a = typed.toCaseFolded();
    QString nearest;
    qsizetype nearestEdits = MostEdits + 1;
    for (const QString &word : words) {
        // Levenshtein distance, one row at a time.
        const QString b = word.toCaseFolded();
        std::vector<qsizetype> row(std::size_t(b.size()) + 1);
        std::iota(row.begin(), row.end(), qsizetype(0));
        for (qsizetype i = 1; i <= a.size(); ++i) {
            qsizetype diagonal = row[0];
            row[0] = i;
            for (qsizetype j = 1; j <= b.size(); ++j) {
                const qsizetype above = row[std::size_t(j)];
                row[std::size_t(j)] = std::min({above + 1, row[std::size_t(j - 1)] + 1,
                                                diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
                diagonal = above;
            }
        }
        if (row.back() < nearestEdits) {
            nearestEdits = row.back();
            nearest = word;
        }
    }
    return nearest;
}
