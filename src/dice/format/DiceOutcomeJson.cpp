#include "dice/format/DiceOutcomeJson.h"

#include "dice/expression/DiceExpression.h"
#include "dice/format/JsonWriter.h"
#include "dice/roll/DiceOutcome.h"

#include <cstring>
#include <string_view>

namespace {

// ,"key":true in one append (a roll writes several per die; each append has its cost).
void appendFlag(QByteArray &out, const char *key, bool value)
{
    char flag[48];
    const std::size_t keySize = std::strlen(key);
    const std::string_view end = value ? "\":true" : "\":false";
    if (keySize + end.size() + 2 > sizeof flag) {
        out += ",\"";
        out += key;
        out += end;
        return;
    }
    flag[0] = ',';
    flag[1] = '"';
    std::memcpy(flag + 2, key, keySize);
    std::memcpy(flag + 2 + keySize, end.data(), end.size());
    out.append(flag, qsizetype(2 + keySize + end.size()));
}

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
    out += m_head;
    const auto &terms = m_expression.terms();
    for (std::size_t t = 0; t < terms.size(); ++t) {
        const DiceTerm &term = terms[t];
        const bool rerolls = term.reroll != RerollKind::None;
        const bool unique = term.unique != UniqueKind::None;
        const bool explodes = term.explode == ExplodeKind::Explode;
        const bool compounds = term.explode == ExplodeKind::Compound;
        const bool failures = term.target.failure.isSet();
        if (t > 0)
            out += ',';
        out += m_terms[t];
        bool first = true;
        for (const DieResult &die : outcome.terms[t].dice) {
            out += first ? "{\"valor\":" : ",{\"valor\":";
            first = false;
            JsonWriter::appendWhole(out, die.value);
            appendFlag(out, "mantido", die.kept());
            if (rerolls)
                appendFlag(out, "rerolado", die.has(DieRerolled));
            if (unique)
                appendFlag(out, "repetido", die.has(DieUniqueRerolled));
            if (term.minimum)
                appendFlag(out, "elevado", die.has(DieRaised));
            if (term.maximum)
                appendFlag(out, "rebaixado", die.has(DieLowered));
            if (explodes) {
                appendFlag(out, "explodiu", die.has(DieExploded));
                appendFlag(out, "extra", die.has(DieExtra));
            }
            if (compounds)
                appendFlag(out, "acumulado", die.has(DieCompounded));
            if (term.penetrate)
                appendFlag(out, "penetrou", die.has(DiePenetrated));
            if (term.target.isSet())
                appendFlag(out, "sucesso", die.has(DieSuccess));
            if (failures)
                appendFlag(out, "falha", die.has(DieFailure));
            if (term.criticalSuccess.isSet())
                appendFlag(out, "critico_sucesso", die.has(DieCriticalSuccess));
            if (term.criticalFailure.isSet())
                appendFlag(out, "critico_falha", die.has(DieCriticalFailure));
            out += '}';
        }
        out += term.target.isSet() ? "],\"sucessos\":" : "],\"soma\":";
        JsonWriter::appendWhole(out, outcome.terms[t].value);
        out += '}';
    }
    out += ']';
    const auto &groups = m_expression.groups();
    if (!groups.empty()) {
        out += ",\"grupos\":[";
        for (std::size_t g = 0; g < groups.size(); ++g) {
            if (g > 0)
                out += ',';
            out += m_groups[g];
            const GroupResult &result = outcome.groups[g];
            for (std::size_t m = 0; m < result.members.size(); ++m) {
                const GroupMemberResult &member = result.members[m];
                out += m == 0 ? "{\"valor\":" : ",{\"valor\":";
                JsonWriter::appendValue(out, member.value, "fracao");
                appendFlag(out, "mantido", !member.has(DieDropped));
                if (groups[g].target.isSet() && !groups[g].pools())
                    appendFlag(out, "sucesso", member.has(DieSuccess));
                if (groups[g].target.failure.isSet() && !groups[g].pools())
                    appendFlag(out, "falha", member.has(DieFailure));
                out += '}';
            }
            out += "],\"valor\":";
            JsonWriter::appendValue(out, result.value, "fracao");
            out += '}';
        }
        out += ']';
    }
    out += ",\"total\":";
    JsonWriter::appendValue(out, outcome.total, "fracao");
    out += "}\n";
}
