#include "dice/record/RecordingDieSource.h"

#include <charconv>

namespace {

void appendNumber(QByteArray &out, std::uint32_t value)
{
    char digits[12];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
}

} // namespace

void RecordingDieSource::appendDraws(QByteArray &out, std::span<const DieDraw> draws)
{
    out += '[';
    for (std::size_t i = 0; i < draws.size(); ++i) {
        out += i > 0 ? ",[" : "[";
        appendNumber(out, draws[i].faces);
        out += ',';
        appendNumber(out, draws[i].value);
        out += ']';
    }
    out += ']';
}
