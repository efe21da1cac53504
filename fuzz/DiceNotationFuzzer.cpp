// Any text either parses, or is refused with a message and a position inside it (or just
// past its end). Whatever parses rolls without overflow to a total within the bounds the
// parser worked out, drawing no more dice than it allowed, with the kept dice making up each
// term's value; the text and JSON renderings agree on the total.
#include "dice/notation/DiceNotation.h"
#include "dice/format/DiceOutcomeFormat.h"
#include "dice/format/DiceOutcomeJson.h"
#include "dice/roll/DiceRoller.h"
#include "dice/roll/DieSource.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Dice from the fuzzer's bytes, over and over: a byte from 0xC0 up shows the maximum (so
// explosions get tried), any other byte a face from it. Without bytes, the faces count up.
class ByteDieSource final : public DieSource
{
public:
    ByteDieSource(const std::uint8_t *bytes, std::size_t size) : m_bytes(bytes), m_size(size) {}

    std::uint32_t roll(std::uint32_t faces) override
    {
        if (m_size == 0)
            return std::uint32_t(m_next++ % faces) + 1;
        const std::uint8_t byte = m_bytes[m_next++ % m_size];
        return byte >= 0xC0 ? faces : byte % faces + 1;
    }

private:
    const std::uint8_t *m_bytes;
    std::size_t m_size;
    std::size_t m_next = 0;
};

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The expression, in UTF-8, up to the first zero byte; the bytes after it are the dice.
    const auto *zero = static_cast<const std::uint8_t *>(std::memchr(data, 0, size));
    const std::size_t textSize = zero ? std::size_t(zero - data) : size;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(textSize));
    ByteDieSource source(zero ? zero + 1 : data, zero ? size - textSize - 1 : 0);

    auto result = DiceNotation::parse(text);
    if (const auto *error = std::get_if<DiceNotationError>(&result)) {
        check(error->position >= 1 && error->position <= text.toUcs4().size() + 1);
        check(!error->message.isEmpty());
        return 0;
    }
    const DiceExpression &expression = std::get<DiceExpression>(result);
    check(expression.diceCount() <= DiceNotation::MaxDicePerRoll);
    check(expression.maximumDraws() <= DiceNotation::MaxDrawsPerRoll);
    check(expression.minimum() <= expression.maximum());

    DiceRoller roller(expression, source);
    for (int roll = 0; roll < 2; ++roll) {
        check(roller.roll());
        check(roller.draws() <= expression.maximumDraws());
        const DiceOutcome &outcome = roller.outcome();
        check(outcome.total >= expression.minimum() && outcome.total <= expression.maximum());
        check(expression.mayBeFractional() || outcome.total.isWhole());
        for (std::size_t t = 0; t < outcome.terms.size(); ++t) {
            const DiceTerm &term = expression.terms()[t];
            const auto &dice = outcome.terms[t].dice;
            qint64 inPlay = 0;
            qint64 sum = 0;
            qint64 count = 0;
            for (const DieResult &die : dice) {
                inPlay += die.inPlay() ? 1 : 0;
                // Without clamps or explosions every die shows one of its faces.
                if (!term.minimum && !term.maximum && term.explode == ExplodeKind::None)
                    check(die.value >= term.lowestFace() && die.value <= term.highestFace());
                if (!die.kept())
                    continue;
                sum += die.value;
                count += (die.has(DieSuccess) ? 1 : 0) - (die.has(DieFailure) ? 1 : 0);
            }
            const qint64 extras = term.explode == ExplodeKind::Explode
                                      ? qint64(term.count) * DiceNotation::MaxExtraDicePerDie
                                      : 0;
            check(inPlay >= term.count && inPlay <= term.count + extras);
            // A pooled term's value is its kept dice's sum whatever the group counts.
            check(outcome.terms[t].value == (term.target.isSet() ? count : sum));
        }

        // The renderings of a million dice take long; their shape does not depend on the count.
        std::size_t dice = 0;
        for (const DiceTermResult &term : outcome.terms)
            dice += term.dice.size();
        if (dice > 1000)
            continue;
        QByteArray ending = " = ";
        outcome.total.appendDecimal(ending, 4, ',');
        QByteArray plain;
        AppendDiceLine(plain, expression, outcome);
        QByteArray details;
        AppendDiceDetailsLine(details, expression, outcome);
        const QByteArray labelled =
            expression.label().isEmpty() ? QByteArray() : " # " + expression.label().toUtf8();
        check(plain.endsWith(ending + labelled + "\n") && details.endsWith(ending + labelled + "\n"));
        QByteArray json;
        DiceOutcomeJson(expression).append(json, outcome);
        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(json, &error).object();
        check(error.error == QJsonParseError::NoError);
        if (outcome.total.isWhole())
            check(object["total"].toInteger() == outcome.total.numerator());
        else
            check(object["fracao"].toString().toUtf8() == [&] {
                QByteArray exact;
                outcome.total.appendExact(exact);
                return exact;
            }());
    }
    return 0;
}
