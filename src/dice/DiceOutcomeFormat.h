#pragma once

#include <QByteArray>
#include <QJsonObject>

class DiceExpression;
struct DiceOutcome;

// The renderings of a roll, all from the same outcome, so they always agree.

// "4d6kh3 = 14\n": the expression and the total. Appends to `out` without allocating
// anything else, for long runs of rolls.
void AppendDiceLine(QByteArray &out, const DiceExpression &expression, const DiceOutcome &outcome);

// "4d6kh3: [6, 5, 3, ~2~] = 14\n": the expression, then the expression worked out, with each
// dice term's dice in brackets in the order rolled, and the total. A die that was set aside
// by keep/drop is written between tildes ("~2~"); a die that exploded is followed by "!"
// and the extra die it rolled comes right after it ("[6!, 2]"); Fate dice show "-1", "0"
// and "+1".
void AppendDiceDetailsLine(QByteArray &out, const DiceExpression &expression,
                           const DiceOutcome &outcome);

// {"expressao": "4d6kh3", "termos": [{"termo": "4d6kh3", "dados": [{"valor": 6,
// "mantido": true}, …], "soma": 14}], "total": 14}. Dice of an exploding term also say
// "explodiu" (it showed its maximum and rolled another) and "extra" (it was rolled by an
// explosion); the terms are the dice terms only, in the expression's order.
QJsonObject DiceOutcomeJson(const DiceExpression &expression, const DiceOutcome &outcome);
