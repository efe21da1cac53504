#include "dice/DiceNotation.h"
#include "dice/DiceOutcomeFormat.h"
#include "dice/DiceOutcomeJson.h"
#include "dice/DiceRoller.h"
#include "dice/DieSource.h"
#include "dice/SplitMixDieSource.h"

#include "QtPrinters.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

// Hands out the listed faces in order, from the start again when they run out, and records
// the face counts it was asked for.
class FixedDieSource final : public DieSource
{
public:
    explicit FixedDieSource(std::vector<std::uint32_t> faces) : m_faces(std::move(faces)) {}

    std::uint32_t roll(std::uint32_t faces) override
    {
        asked.push_back(faces);
        const std::uint32_t face = m_faces[m_next++ % m_faces.size()];
        EXPECT_TRUE(face >= 1 && face <= faces) << face << " on a d" << faces;
        return face;
    }

    std::vector<std::uint32_t> asked;

private:
    std::vector<std::uint32_t> m_faces;
    std::size_t m_next = 0;
};

DiceExpression parsed(const QString &text)
{
    auto result = DiceNotation::parse(text);
    if (const auto *error = std::get_if<DiceNotationError>(&result)) {
        ADD_FAILURE() << text.toStdString() << ": " << error->position << " "
                      << error->message.toStdString();
        return {};
    }
    return std::get<DiceExpression>(std::move(result));
}

QString detailsLine(const DiceExpression &expression, const DiceOutcome &outcome)
{
    QByteArray line;
    AppendDiceDetailsLine(line, expression, outcome);
    return QString::fromUtf8(line);
}

// Each row: the expression, the faces the dice show in the order rolled, and the worked-out
// line, which names every die, whether it was kept, and the total.
TEST(DiceNotation, RollsWithFixedDiceGiveTheseLines)
{
    struct Row
    {
        const char *expression;
        std::vector<std::uint32_t> faces;
        const char *line;
    };
    const Row rows[] = {
        // Precedence, associativity, unary minus, parentheses, blanks.
        {"2+3*4", {1}, "2+3*4: 2 + 3 * 4 = 14"},
        {"(2+3)*4", {1}, "(2+3)*4: (2 + 3) * 4 = 20"},
        {"10-4-3", {1}, "10-4-3: 10 - 4 - 3 = 3"},
        {"-2*-3", {1}, "-2*-3: -2 * -3 = 6"},
        {"--5", {1}, "--5: --5 = 5"},
        {"2*3-4*5", {1}, "2*3-4*5: 2 * 3 - 4 * 5 = -14"},
        {" 2d6 +\t1d4 * 2 ", {3, 5, 4}, "2d6 +\t1d4 * 2: [3, 5] + [4] * 2 = 16"},
        {"-(d8-10)", {3}, "-(d8-10): -([3] - 10) = 7"},
        // Dice kinds.
        {"d20", {20}, "d20: [20] = 20"},
        {"d%", {100}, "d%: [100] = 100"},
        {"4dF", {1, 2, 3, 3}, "4dF: [-1, 0, +1, +1] = 1"},
        {"dF*3", {1}, "dF*3: [-1] * 3 = -3"},
        // Keep and drop; among equal faces the earlier die is kept.
        {"4d6kh3", {3, 5, 1, 6}, "4d6kh3: [3, 5, ~1~, 6] = 14"},
        {"4d6k3", {2, 2, 2, 2}, "4d6k3: [2, 2, 2, ~2~] = 6"},
        {"4d6kl2", {3, 5, 1, 6}, "4d6kl2: [3, ~5~, 1, ~6~] = 4"},
        {"2d20kl1+5", {7, 15}, "2d20kl1+5: [7, ~15~] + 5 = 12"},
        {"4d6dh1", {6, 5, 6, 1}, "4d6dh1: [6, 5, ~6~, 1] = 12"},
        {"4d6dl1", {3, 1, 1, 6}, "4d6dl1: [3, 1, ~1~, 6] = 10"},
        {"4d6d2", {3, 5, 1, 6}, "4d6d2: [~3~, 5, ~1~, 6] = 11"},
        {"3d6kh5", {1, 2, 3}, "3d6kh5: [1, 2, 3] = 6"},
        {"3dFkh1", {1, 2, 1}, "3dFkh1: [~-1~, 0, ~-1~] = 0"},
        // Explosions: the extra die follows the die that rolled it, and explodes in turn;
        // keep/drop then chooses among every die.
        {"3d6!", {6, 2, 3, 6, 6, 1}, "3d6!: [6!, 2, 3, 6!, 6!, 1] = 24"},
        {"8d4!kh3",
         {1, 4, 2, 2, 3, 1, 1, 2, 4, 3},
         "8d4!kh3: [~1~, 4!, ~2~, ~2~, 3, ~1~, ~1~, ~2~, 4!, ~3~] = 11"},
        {"2d%!", {100, 7, 9}, "2d%!: [100!, 7, 9] = 116"},
        {"2d6!dh1", {6, 6, 2, 5}, "2d6!dh1: [6!, ~6!~, 2, 5] = 13"},
        // Right at the edges of the 64-bit range.
        {"(1d2-1)*9223372036854775807",
         {2},
         "(1d2-1)*9223372036854775807: ([2] - 1) * 9223372036854775807 = 9223372036854775807"},
        {"-(1d2)*4611686018427387904",
         {2},
         "-(1d2)*4611686018427387904: -([2]) * 4611686018427387904 = -9223372036854775808"},
    };
    for (const Row &row : rows) {
        const DiceExpression expression = parsed(QString::fromUtf8(row.expression));
        FixedDieSource source(row.faces);
        DiceRoller roller(expression, source);
        ASSERT_TRUE(roller.roll()) << row.expression;
        EXPECT_EQ(detailsLine(expression, roller.outcome()), QString::fromUtf8(row.line) + "\n");
        EXPECT_GE(roller.outcome().total, expression.minimum()) << row.expression;
        EXPECT_LE(roller.outcome().total, expression.maximum()) << row.expression;
    }
}

// Each die is asked of the source with its own face count: a d% is a d100, a Fate die a
// three-faced die; the terms go left to right.
TEST(DiceNotation, AsksTheSourceForEachDieInOrder)
{
    const DiceExpression expression = parsed("d%+dF*2d8-d1");
    FixedDieSource source({1});
    DiceRoller roller(expression, source);
    ASSERT_TRUE(roller.roll());
    EXPECT_EQ(source.asked, (std::vector<std::uint32_t>{100, 3, 8, 8, 1}));
}

// A die that keeps showing its maximum rolls at most 100 extra dice; the last one does not
// explode. A second roll starts afresh.
TEST(DiceNotation, ExplosionsStopAfterAHundredExtraDice)
{
    const DiceExpression expression = parsed("2d6!");
    FixedDieSource sixes({6});
    DiceRoller roller(expression, sixes);
    for (int roll = 0; roll < 2; ++roll) {
        ASSERT_TRUE(roller.roll());
        const auto &dice = roller.outcome().terms.at(0).dice;
        ASSERT_EQ(dice.size(), 202u);
        for (std::size_t i = 0; i < dice.size(); ++i) {
            EXPECT_EQ(dice[i].has(DieExploded), i % 101 != 100) << i;
            EXPECT_EQ(dice[i].has(DieExtra), i % 101 != 0) << i;
        }
        EXPECT_EQ(roller.outcome().total, Fraction(202 * 6));
    }
    // The largest explosive roll the notation takes reaches the edge of the range exactly.
    const DiceExpression largest = parsed("10000d1000000!*1000000");
    FixedDieSource maxima({1'000'000});
    DiceRoller big(largest, maxima);
    ASSERT_TRUE(big.roll());
    EXPECT_EQ(big.outcome().total, Fraction(1'010'000'000'000 * qint64(1'000'000)));
}

// The notation's limits, and the refusal of anything whose value could leave 64 bits: each
// refused row names the character position at fault.
TEST(DiceNotation, RefusesWhatItCannotRollWithThePositionAtFault)
{
    const QString deepest = QString(100, '(') + "1" + QString(100, ')');
    const QString tooDeep = QString(101, '(') + "1" + QString(101, ')');
    const QString tenTerms = QStringList(10, "10000d6").join('+');
    struct Row
    {
        QString expression;
        qsizetype position; // 0: accepted
        const char *message;
    };
    const Row rows[] = {
        {"2d6/2", 0, ""},
        {"", 1, "expressão vazia"},
        {"  ", 3, "expressão vazia"},
        {"+3", 1, "caractere inesperado \"+\""},
        {"2d6 3", 5, "caractere inesperado \"3\""},
        {"2 d6", 3, "caractere inesperado \"d\""},
        {"2D6", 0, ""},
        {"4d6kh", 6, "termina antes do esperado"},
        {"4d6kx3", 5, "caractere inesperado \"x\""},
        {"4d6kh3kh2", 7, "modificador repetido \"k\""},
        {"4d6kh3!", 0, ""},
        {"3d6kh0", 4, "manter 0 dados não deixa nenhum"},
        {"3d6dl9", 4, "descartar 9 de 3 dados não deixa nenhum"},
        {"2d", 3, "termina antes do esperado"},
        {"2*", 3, "termina antes do esperado"},
        {"(2d6", 5, "falta fechar o parêntese aberto na posição 1"},
        {"2d6)", 4, "caractere inesperado \")\""},
        {"1+𝟚", 3, "caractere inesperado U+1D7DA (\"𝟚\")"},
        {"2×3", 2, "caractere inesperado U+00D7 (\"×\"): use *"},
        {"1\n", 2, "caractere inesperado U+000A"},
        {"2d1!", 4, "uma face"},
        {"dF!", 3, "Fate"},
        {"d2!", 0, ""},
        {"10000d6", 0, ""},
        {"0d6", 1, "quantidade de dados fora do limite"},
        {"3+10001d6", 3, "quantidade de dados fora do limite"},
        {"d1000000", 0, ""},
        {"d1000001", 2, "número de faces fora do limite"},
        {"d0", 2, "número de faces fora do limite"},
        {"d99999999999999999999", 2, "número de faces fora do limite"},
        {tenTerms, 0, ""},
        {tenTerms + "+d6", 81, "dados demais numa rolagem"},
        {deepest, 0, ""},
        {tooDeep, 101, "parênteses aninhados demais"},
        {QString(100, '-') + "1", 0, ""},
        {QString(101, '-') + "1", 101, "sinais de menos seguidos demais"},
        {"9223372036854775807", 0, ""},
        {"9223372036854775808", 1, "número grande demais"},
        {"9223372036854775807+1", 20, "64 bits"},
        {"-9223372036854775807-1", 0, ""},
        {"-(-9223372036854775807-1)", 1, "64 bits"},
        {"3037000499*3037000499", 0, ""},
        {"2*3037000499*3037000499", 13, "64 bits"},
        {"(1d2-1)*9223372036854775807", 0, ""},
        {"1d2*9223372036854775807", 4, "64 bits"},
        {"10000d1000000!*1000000", 0, ""},
        {"10000d1000000!*10000000", 15, "64 bits"},
        {"10000d1000000*10000d1000000", 14, "64 bits"},
    };
    for (const Row &row : rows) {
        const auto result = DiceNotation::parse(row.expression);
        const auto *error = std::get_if<DiceNotationError>(&result);
        if (row.position == 0) {
            EXPECT_EQ(error, nullptr) << row.expression.toStdString() << ": "
                                      << (error ? error->message.toStdString() : "");
            continue;
        }
        ASSERT_NE(error, nullptr) << row.expression.toStdString();
        EXPECT_EQ(error->position, row.position) << row.expression.toStdString();
        EXPECT_TRUE(error->message.contains(QString::fromUtf8(row.message)))
            << row.expression.toStdString() << ": " << error->message.toStdString();
    }
}

// The whole JSON of a roll: every die with its marks (explosion marks only for an exploding
// term), each term's sum and the total.
TEST(DiceNotation, JsonHoldsEveryDieAndAgreesWithTheTotal)
{
    const DiceExpression expression = parsed("2d6!kh2+d4");
    FixedDieSource source({6, 3, 1, 4});
    DiceRoller roller(expression, source);
    ASSERT_TRUE(roller.roll());
    const QJsonObject expected = QJsonDocument::fromJson(R"({
        "expressao": "2d6!kh2+d4", "total": 13, "termos": [
            {"termo": "2d6!kh2", "soma": 9, "dados": [
                {"valor": 6, "mantido": true, "explodiu": true, "extra": false},
                {"valor": 3, "mantido": true, "explodiu": false, "extra": true},
                {"valor": 1, "mantido": false, "explodiu": false, "extra": false}]},
            {"termo": "d4", "soma": 4, "dados": [{"valor": 4, "mantido": true}]}]})")
                                     .object();
    ASSERT_FALSE(expected.isEmpty());
    const auto compact = [](const QJsonObject &object) {
        return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    };
    QByteArray line;
    DiceOutcomeJson(expression).append(line, roller.outcome());
    ASSERT_TRUE(line.endsWith("}\n"));
    EXPECT_EQ(compact(QJsonDocument::fromJson(line).object()), compact(expected));
}

// The seeded dice are the same on every machine (integer arithmetic only), stay within
// their faces and show every face about equally often.
TEST(SplitMixDieSource, GivesTheSameFairDiceForTheSameSeed)
{
    SplitMixDieSource first(42);
    std::vector<std::uint32_t> values;
    for (int i = 0; i < 12; ++i)
        values.push_back(first.roll(6));
    EXPECT_EQ(values, (std::vector<std::uint32_t>{5, 1, 2, 3, 1, 6, 2, 5, 3, 4, 2, 3}));

    SplitMixDieSource source(7);
    for (const std::uint32_t faces : {1u, 2u, 3u, 1'000'000u}) {
        for (int i = 0; i < 1000; ++i) {
            const std::uint32_t face = source.roll(faces);
            ASSERT_TRUE(face >= 1 && face <= faces) << face << " on a d" << faces;
        }
    }
    // 60000 d6: each face 10000 times give or take; chi-square with 5 degrees of freedom
    // stays under 20.5 with probability 99.9 %, and the seed is fixed.
    std::array<int, 6> counts{};
    for (int i = 0; i < 60'000; ++i)
        ++counts[source.roll(6) - 1];
    double chiSquare = 0;
    for (const int count : counts)
        chiSquare += double(count - 10'000) * (count - 10'000) / 10'000.0;
    EXPECT_LT(chiSquare, 20.5);
}

} // namespace
