#pragma once

#include "dice/number/Fraction.h"

#include <QByteArray>

#include <vector>

class DiceExpression;
struct DiceOutcome;

// A roll as one line of JSON, written straight into a byte buffer (no document object per
// roll). The parts that do not change from roll to roll are escaped once, when the writer
// is made.
//
// {"expressao": "4d6kh3", "termos": [{"termo": "4d6kh3", "dados": [{"valor": 6,
// "mantido": true}, …], "soma": 14}], "total": 14}
//
// - "rotulo" follows "expressao" when the expression has a "# label", and "termo" when the
//   term has a "[label]".
// - A die says "valor" and "mantido" (false when dropped or rerolled away), and, as the
//   term's modifiers make them possible: "rerolado" (r, ro), "repetido" (u, uo),
//   "elevado" (min), "rebaixado" (max), "explodiu" and "extra" (!), "acumulado" (!!),
//   "penetrou" (p), "sucesso" (and "falha" with f), "critico_sucesso" (cs),
//   "critico_falha" (cf).
// - A term gives "soma", or "sucessos" when it counts a target.
// - "grupos" lists the groups, when there are any: {"grupo", "membros": [{"valor",
//   "mantido"…}], "valor"}.
// - A value that is not whole is a JSON number (the nearest double) and has its exact
//   "fracao" beside it: "total": 3.5, "fracao": "7/2".
class DiceOutcomeJson
{
public:
    explicit DiceOutcomeJson(const DiceExpression &expression);

    // Appends the roll's object and "\n".
    void append(QByteArray &out, const DiceOutcome &outcome) const;

private:
    const DiceExpression &m_expression;
    QByteArray m_head;               // {"expressao":…,"rotulo":…,"termos":[
    std::vector<QByteArray> m_terms; // {"termo":…,"rotulo":…,"dados":[
    std::vector<QByteArray> m_groups; // {"grupo":…,"rotulo":…,"membros":[
};
