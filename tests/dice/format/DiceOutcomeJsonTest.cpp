// The JSON of a roll, as bots read it.

#include "dice/format/DiceOutcomeJson.h"

#include "DiceTestSupport.h"
#include "QtPrinters.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace dicetest;

// The whole JSON of a roll: every die with its marks (explosion marks only for an exploding
// term), each term's sum and the total.
TEST(DiceOutcomeJson, JsonHoldsEveryDieAndAgreesWithTheTotal)
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

// The JSON that bots read for the new notation: each die's fields as the term's modifiers
// make them possible, success counts, groups with their members, labels, and an exact
// fraction beside a total that is not whole.
TEST(DiceOutcomeJson, JsonSaysWhatHappenedToEachDieAndMember)
{
    struct Row
    {
        const char *expression;
        std::vector<std::uint32_t> faces;
        const char *json;
    };
    const Row rows[] = {
        {"2d2\t+ 1 # a \"b\" \\ c", {1, 2}, R"({"expressao": "2d2\t+ 1",
            "rotulo": "a \"b\" \\ c", "termos": [{"termo": "2d2", "soma": 3, "dados": [
                {"valor": 1, "mantido": true}, {"valor": 2, "mantido": true}]}],
            "total": 4})"},
        {"3d10>=8f1 # ataque", {8, 1, 5}, R"({"expressao": "3d10>=8f1", "rotulo": "ataque",
            "termos": [{"termo": "3d10>=8f1", "sucessos": 0, "dados": [
                {"valor": 8, "mantido": true, "sucesso": true, "falha": false},
                {"valor": 1, "mantido": true, "sucesso": false, "falha": true},
                {"valor": 5, "mantido": true, "sucesso": false, "falha": false}]}],
            "total": 0})"},
        // The clamp comes first: the 1 raised to 2 is no longer a 1 to reroll.
        {"d6r1min2[x]", {1, 4}, R"({"expressao": "d6r1min2[x]", "termos": [{"termo":
            "d6r1min2", "rotulo": "x", "soma": 2, "dados": [
                {"valor": 2, "mantido": true, "rerolado": false, "elevado": true}]}],
            "total": 2})"},
        {"d6r2", {2, 5}, R"({"expressao": "d6r2", "termos": [{"termo": "d6r2", "soma": 5,
            "dados": [{"valor": 2, "mantido": false, "rerolado": true},
                      {"valor": 5, "mantido": true, "rerolado": false}]}], "total": 5})"},
        {"2d6!!p+d4uo/2", {6, 3, 2, 1}, R"({"expressao": "2d6!!p+d4uo/2", "termos": [
            {"termo": "2d6!!p", "soma": 10, "dados": [
                {"valor": 8, "mantido": true, "acumulado": true, "penetrou": true},
                {"valor": 2, "mantido": true, "acumulado": false, "penetrou": false}]},
            {"termo": "d4uo", "soma": 1, "dados": [
                {"valor": 1, "mantido": true, "repetido": false}]}],
            "total": 10.5, "fracao": "21/2"})"},
        {"{1d6/2, 1d6}kh1>=2", {3, 1}, R"({"expressao": "{1d6/2, 1d6}kh1>=2", "termos": [
            {"termo": "1d6", "soma": 3, "dados": [{"valor": 3, "mantido": true}]},
            {"termo": "1d6", "soma": 1, "dados": [{"valor": 1, "mantido": true}]}],
            "grupos": [{"grupo": "{1d6/2, 1d6}kh1>=2", "valor": 0, "membros": [
                {"valor": 1.5, "fracao": "3/2", "mantido": true, "sucesso": false},
                {"valor": 1, "mantido": false, "sucesso": false}]}],
            "total": 0})"},
    };
    for (const Row &row : rows) {
        const DiceExpression expression = parsed(row.expression);
        FixedDieSource source(row.faces);
        DiceRoller roller(expression, source);
        ASSERT_TRUE(roller.roll()) << row.expression;
        QByteArray line;
        DiceOutcomeJson(expression).append(line, roller.outcome());
        const QJsonObject expected = QJsonDocument::fromJson(row.json).object();
        ASSERT_FALSE(expected.isEmpty()) << row.expression;
        EXPECT_EQ(QJsonDocument::fromJson(line).object(), expected)
            << row.expression << "\n" << line.toStdString();
    }
}

} // namespace
