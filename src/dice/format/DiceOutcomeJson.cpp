#include "dice/format/DiceOutcomeJson.h"

#include "dice/expression/DiceExpression.h"
#include "dice/format/JsonPieces.h"
#include "dice/format/JsonWriter.h"
#include "dice/roll/DiceOutcome.h"

namespace {

void appendLabel(QByteArray &out, const QString &label)
{
    if (label.isEmpty())
        return;
    out += ",\"rotulo\":";
    JsonWriter::appendString(out, label.toUtf8());
}

} // namespace

DiceOutcomeJson::DiceOutcomeJson(const DiceExpression &expression) : m_expression(expression)
{
    m_head = "{\"expressao\":";
    JsonWriter::appendString(m_head, expression.shownUtf8());
    appendLabel(m_head, expression.label());
    m_head += ",\"termos\":[";
    for (const DiceTerm &term : expression.terms()) {
        QByteArray head = "{\"termo\":";
        JsonWriter::appendString(head, term.text.toUtf8());
        appendLabel(head, term.label);
        head += ",\"dados\":[";
        m_terms.push_back(head);
    }
    for (const DiceGroup &group : expression.groups()) {
        QByteArray head = "{\"grupo\":";
        JsonWriter::appendString(head, group.text.toUtf8());
        appendLabel(head, group.label);
        head += ",\"membros\":[";
        m_groups.push_back(head);
    }
}

void DiceOutcomeJson::append(QByteArray &out, const DiceOutcome &outcome) const
{
    // Through a buffer on the stack: a roll's JSON is dozens of small tokens.
    JsonPieces json(out);
    json.put(std::string_view(m_head.constData(), std::size_t(m_head.size())));
    const auto &terms = m_expression.terms();
    for (std::size_t t = 0; t < terms.size(); ++t) {
        const DiceTerm &term = terms[t];
        const bool rerolls = term.reroll != RerollKind::None;
        const bool unique = term.unique != UniqueKind::None;
        const bool explodes = term.explode == ExplodeKind::Explode;
        const bool compounds = term.explode == ExplodeKind::Compound;
        const bool failures = term.target.failure.isSet();
        if (t > 0)
            json.put(",");
        json.put(std::string_view(m_terms[t].constData(), std::size_t(m_terms[t].size())));
        bool first = true;
        for (const DieResult &die : outcome.terms[t].dice) {
            json.put(first ? "{\"valor\":" : ",{\"valor\":");
            first = false;
            json.putWhole(die.value);
            json.putFlag("mantido", die.kept());
            if (rerolls)
                json.putFlag("rerolado", die.has(DieRerolled));
            if (unique)
                json.putFlag("repetido", die.has(DieUniqueRerolled));
            if (term.minimum)
                json.putFlag("elevado", die.has(DieRaised));
            if (term.maximum)
                json.putFlag("rebaixado", die.has(DieLowered));
            if (explodes) {
                json.putFlag("explodiu", die.has(DieExploded));
                json.putFlag("extra", die.has(DieExtra));
            }
            if (compounds)
                json.putFlag("acumulado", die.has(DieCompounded));
            if (term.penetrate)
                json.putFlag("penetrou", die.has(DiePenetrated));
            if (term.target.isSet())
                json.putFlag("sucesso", die.has(DieSuccess));
            if (failures)
                json.putFlag("falha", die.has(DieFailure));
            if (term.criticalSuccess.isSet())
                json.putFlag("critico_sucesso", die.has(DieCriticalSuccess));
            if (term.criticalFailure.isSet())
                json.putFlag("critico_falha", die.has(DieCriticalFailure));
            json.put("}");
        }
        json.put(term.target.isSet() ? "],\"sucessos\":" : "],\"soma\":");
        json.putWhole(outcome.terms[t].value);
        json.put("}");
    }
    json.put("]");
    const auto &groups = m_expression.groups();
    if (!groups.empty()) {
        json.put(",\"grupos\":[");
        for (std::size_t g = 0; g < groups.size(); ++g) {
            if (g > 0)
                json.put(",");
            json.put(std::string_view(m_groups[g].constData(), std::size_t(m_groups[g].size())));
            const GroupResult &result = outcome.groups[g];
            for (std::size_t m = 0; m < result.members.size(); ++m) {
                const GroupMemberResult &member = result.members[m];
                json.put(m == 0 ? "{\"valor\":" : ",{\"valor\":");
                json.flush();
                JsonWriter::appendValue(out, member.value, "fracao");
                json.putFlag("mantido", !member.has(DieDropped));
                if (groups[g].target.isSet() && !groups[g].pools())
                    json.putFlag("sucesso", member.has(DieSuccess));
                if (groups[g].target.failure.isSet() && !groups[g].pools())
                    json.putFlag("falha", member.has(DieFailure));
                json.put("}");
            }
            json.put("],\"valor\":");
            json.flush();
            JsonWriter::appendValue(out, result.value, "fracao");
            json.put("}");
        }
        json.put("]");
    }
    json.put(",\"total\":");
    json.flush();
    JsonWriter::appendValue(out, outcome.total, "fracao");
    out += "}\n";
}
