#include "cli/CliArguments.h"

#include <QDateTime>
#include <QRegularExpression>

#include <charconv>
#include <chrono>

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

std::uint64_t RunSeed(std::optional<std::uint64_t> seed)
{
    if (seed)
        return *seed;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto wall = QDateTime::currentMSecsSinceEpoch();
    return std::uint64_t(now) * 0x9E3779B97F4A7C15ull ^ std::uint64_t(wall) << 20
           ^ std::uint64_t(::getpid());
}
