#include "dice/notation/ModifierReader.h"

#include "dice/notation/PoolBounds.h"

#include "dice/notation/DiceNotation.h"
#include "dice/notation/NotationScanner.h"

#include <limits>

// A compare point at the cursor, if there is one: "=N", "<>N", "!=N" (only where
// `bangEquals`), "<N", ">N", "<=N", ">=N", or a bare N where `bare`. `present` says whether
// one was there; nothing comes back after an error.
std::optional<ComparePoint> ModifierReader::parseComparePoint(bool bare, bool bangEquals,
                                                              bool &present)
{
    using Relation = ComparePoint::Relation;
    NotationScanner &s = m_scanner;
    present = true;
    ComparePoint point;
    if (s.lookingAt(u"<>") || (bangEquals && s.lookingAt(u"!="))) {
        point.relation = Relation::NotEqual;
        s.advance(2);
    } else if (s.lookingAt(u"<=")) {
        point.relation = Relation::LessOrEqual;
        s.advance(2);
    } else if (s.lookingAt(u">=")) {
        point.relation = Relation::GreaterOrEqual;
        s.advance(2);
    } else if (s.current() == u'<' || s.current() == u'>' || s.current() == u'=') {
        point.relation = s.current() == u'<'   ? Relation::Less
                         : s.current() == u'>' ? Relation::Greater
                                               : Relation::Equal;
        s.advance();
    } else if (!(bare && NotationScanner::isDigit(s.current()))) {
        present = false;
        return point;
    }
    const bool negative = s.current() == u'-' && NotationScanner::isDigit(s.peek(1));
    if (negative)
        s.advance();
    if (!NotationScanner::isDigit(s.current())) {
        s.failUnexpected();
        return std::nullopt;
    }
    const qsizetype start = s.index() - (negative ? 1 : 0);
    const auto number = s.readNumber();
    if (!number || *number > DiceNotation::MaxComparePoint) {
        s.fail(start, QStringLiteral("número de comparação fora do limite (de -%1 a %1)")
                          .arg(DiceNotation::MaxComparePoint));
        return std::nullopt;
    }
    point.value = negative ? -*number : *number;
    return point;
}

// A compare point that must be there (after "f").
bool ModifierReader::requireComparePoint(DieCondition &condition)
{
    bool present = false;
    const auto point = parseComparePoint(true, true, present);
    if (!point)
        return false;
    if (!present)
        return m_scanner.failUnexpected();
    condition.points.push_back(*point);
    return true;
}

// A compare point that may be there; `fallback` when it is not.
bool ModifierReader::optionalComparePoint(DieCondition &condition, bool bare, ComparePoint fallback)
{
    bool present = false;
    const auto point = parseComparePoint(bare, true, present);
    if (!point)
        return false;
    condition.points.push_back(present ? *point : fallback);
    return true;
}

bool ModifierReader::failRepeated(qsizetype index)
{
    return m_scanner.fail(index, QStringLiteral("modificador repetido ") + m_scanner.describe(index)
                                     + QStringLiteral(" (só um deste tipo por termo)"));
}

// khK kK klK dhK dlK dK at the cursor ("k" or "d").
bool ModifierReader::parseKeep(KeepRule &rule, qsizetype &modifierIndex, bool &plainDrop)
{
    NotationScanner &s = m_scanner;
    modifierIndex = s.index();
    const bool keep = s.current() == u'k';
    s.advance();
    plainDrop = false;
    DiceKeep kind = DiceKeep::KeepHighest;
    if (s.current() == u'h' || s.current() == u'l') {
        const bool highest = s.current() == u'h';
        s.advance();
        kind = keep ? (highest ? DiceKeep::KeepHighest : DiceKeep::KeepLowest)
                    : (highest ? DiceKeep::DropHighest : DiceKeep::DropLowest);
    } else {
        kind = keep ? DiceKeep::KeepHighest : DiceKeep::DropLowest;
        plainDrop = !keep;
    }
    const auto count =
        s.requireNumber(std::numeric_limits<qint64>::max(), QStringLiteral("quantidade"));
    if (!count)
        return false;
    rule.add(kind, *count);
    return true;
}

bool ModifierReader::checkKeepLeavesSome(const KeepRule &rule, qint64 fewest, qint64 most,
                                         qsizetype index, QStringView one, QStringView many,
                                         const QString &suggestion)
{
    if (!rule.isSet() || rule.keptRange(fewest, most).first > 0)
        return true;
    const int rules = (rule.keepHighest ? 1 : 0) + (rule.keepLowest ? 1 : 0)
                      + (rule.dropHighest > 0 ? 1 : 0) + (rule.dropLowest > 0 ? 1 : 0);
    if (rules > 1 || rule.droppedOf(fewest) < fewest)
        return m_scanner.fail(index, QStringLiteral("as regras de manter e descartar podem não "
                                                    "deixar nenhum ")
                                         + QStringView(one).toString()
                                         + (fewest == most
                                                ? QStringLiteral(" (de %1 ").arg(fewest)
                                                : QStringLiteral(" (de %1 a %2 ").arg(fewest).arg(most))
                                         + (most == 1 ? one : many).toString() + u')');
    const bool keeps = rule.keepHighest || rule.keepLowest;
    QString message = keeps ? QStringLiteral("manter 0 ") + many.toString()
                            : QStringLiteral("descartar ")
                                  + QString::number(std::max(rule.dropHighest, rule.dropLowest))
                                  + QStringLiteral(" de ") + QString::number(fewest) + u' '
                                  + (fewest == 1 ? one : many).toString();
    message += QStringLiteral(" não deixa nenhum");
    if (!suggestion.isEmpty())
        message += QStringLiteral(" (queria dizer ") + suggestion + QStringLiteral("?)");
    return m_scanner.fail(index, message);
}

// A target "<cp>" and its failures "f<cp>" after a term or group, at the cursor. After a
// group "!=N" is a target too (a group never explodes); after a dice term "!" explodes.
bool ModifierReader::parseTarget(TargetRule &target, bool &handled, bool bangEquals)
{
    NotationScanner &s = m_scanner;
    handled = true;
    const qsizetype at = s.index();
    if (s.current() == u'f') {
        if (!target.isSet())
            return s.fail(at, QStringLiteral("\"f\" (falhas) vem depois de um alvo de "
                                             "sucesso, como em 10d10>=8f1"));
        if (target.failure.isSet())
            return failRepeated(at);
        s.advance();
        return requireComparePoint(target.failure);
    }
    if (s.current() == u'=' || s.current() == u'<' || s.current() == u'>'
        || (bangEquals && s.lookingAt(u"!="))) {
        if (target.isSet())
            return failRepeated(at);
        return requireComparePoint(target.success);
    }
    handled = false;
    return true;
}

bool ModifierReader::parseTermModifiers(DiceTerm &term, qsizetype start)
{
    NotationScanner &s = m_scanner;
    qsizetype keepAt = -1;
    qsizetype rerollAt = -1;
    qsizetype uniqueAt = -1;
    qsizetype explodeAt = -1;
    qsizetype sortAt = -1;
    qsizetype minimumAt = -1;
    qsizetype maximumAt = -1;
    bool plainDrop = false;
    int keepRules = 0;
    for (;;) {
        const qsizetype at = s.index();
        const QChar c = s.current();
        bool handled = false;
        if (!parseTarget(term.target, handled))
            return false;
        if (handled)
            continue;
        if (c == u'k' || c == u'd') {
            // Several rules may stand together (4d10dh1dl2): KeepRule keeps what all of them
            // set aside. Messages point at the first.
            qsizetype ruleAt = -1;
            if (!parseKeep(term.keep, ruleAt, plainDrop))
                return false;
            plainDrop = plainDrop && keepAt < 0;
            ++keepRules;
            if (keepAt < 0)
                keepAt = ruleAt;
        } else if (c == u'r') {
            const RerollKind kind = s.peek(1) == u'o' ? RerollKind::Once : RerollKind::UpTo100;
            if (term.reroll != RerollKind::None && term.reroll != kind)
                return s.fail(at, QStringLiteral("r e ro não se misturam num termo"));
            term.reroll = kind;
            rerollAt = rerollAt < 0 ? at : rerollAt;
            s.advance(kind == RerollKind::Once ? 2 : 1);
            if (!optionalComparePoint(term.rerollWhen, true, {{}, term.lowestFace()}))
                return false;
        } else if (c == u'u') {
            if (uniqueAt >= 0)
                return failRepeated(at);
            uniqueAt = at;
            term.unique = s.peek(1) == u'o' ? UniqueKind::Once : UniqueKind::UpTo100;
            s.advance(term.unique == UniqueKind::Once ? 2 : 1);
        } else if (c == u'!') {
            if (explodeAt >= 0)
                return failRepeated(at);
            explodeAt = at;
            s.advance();
            term.explode = ExplodeKind::Explode;
            if (s.current() == u'!') {
                term.explode = ExplodeKind::Compound;
                s.advance();
            }
            if (s.current() == u'p') {
                term.penetrate = true;
                s.advance();
            }
            if (!optionalComparePoint(term.explodeWhen, false,
                                      {ComparePoint::Relation::Equal, term.highestFace()}))
                return false;
        } else if (s.lookingAt(u"min") || s.lookingAt(u"max")) {
            const bool raise = s.lookingAt(u"min");
            qsizetype &seen = raise ? minimumAt : maximumAt;
            if (seen >= 0)
                return failRepeated(at);
            seen = at;
            s.advance(3);
            const auto bound =
                s.requireNumber(DiceNotation::MaxClamp, QStringLiteral("o valor de min e max"));
            if (!bound)
                return false;
            (raise ? term.minimum : term.maximum) = *bound;
        } else if (s.lookingAt(u"cs") || s.lookingAt(u"cf")) {
            const bool success = s.peek(1) == u's';
            s.advance(2);
            if (!optionalComparePoint(success ? term.criticalSuccess : term.criticalFailure, true,
                                      {ComparePoint::Relation::Equal,
                                       success ? term.highestFace() : term.lowestFace()}))
                return false;
        } else if (c == u's') {
            if (sortAt >= 0)
                return failRepeated(at);
            sortAt = at;
            s.advance();
            term.sort = SortKind::Ascending;
            // "sd" sorts down, unless the "d" begins a drop written after the sort: "sdh1",
            // "sdl1", "sd1".
            const QChar next = s.peek(1);
            const bool dropFollows =
                s.current() == u'd' && (next == u'h' || next == u'l' || NotationScanner::isDigit(next));
            if ((s.current() == u'a' || s.current() == u'd') && !dropFollows) {
                term.sort = s.current() == u'd' ? SortKind::Descending : SortKind::Ascending;
                s.advance();
            }
        } else {
            break;
        }
    }
    // Defaults that depend on the faces were taken when each point was read; the checks
    // below look at the faces as clamped.
    const qint64 low = term.lowestClampedFace();
    const qint64 high = term.highestClampedFace();
    if (explodeAt >= 0) {
        if (term.kind != DieKind::Standard)
            return s.fail(explodeAt, QStringLiteral("dados Fate (dF) não explodem"));
        if (term.faces == 1)
            return s.fail(explodeAt, QStringLiteral("um dado de uma face não pode explodir"));
        if (term.explodeWhen.meetsEveryValue(low, high))
            return s.fail(explodeAt, QStringLiteral("toda face do dado explode: a explosão "
                                                    "nunca pararia"));
    }
    if (rerollAt >= 0 && term.rerollWhen.meetsEveryValue(low, high))
        return s.fail(rerollAt, QStringLiteral("toda face do dado seria rolada de novo"));
    if (uniqueAt >= 0 && term.count > high - low + 1)
        return s.fail(uniqueAt, QStringLiteral("%1 dados não podem mostrar faces todas "
                                               "diferentes: o dado só tem %2")
                                    .arg(term.count)
                                    .arg(high - low + 1));
    QString suggestion;
    if (plainDrop && keepRules == 1 && term.keep.dropLowest >= 1 && term.keep.dropLowest <= DiceNotation::MaxFaces)
        suggestion = s.sliced(start, keepAt).toString() + QStringLiteral("+d")
                     + QString::number(term.keep.dropLowest);
    return checkKeepLeavesSome(term.keep, term.count, PoolBounds::ofTerm(term).mostDice, keepAt,
                               u"dado", u"dados", suggestion);
}

bool ModifierReader::parseGroupModifiers(DiceGroup &group, qsizetype &keepAt)
{
    NotationScanner &s = m_scanner;
    keepAt = -1;
    bool plainDrop = false;
    for (;;) {
        bool handled = false;
        if (!parseTarget(group.target, handled, true))
            return false;
        if (handled)
            continue;
        if (s.current() != u'k' && s.current() != u'd')
            break;
        qsizetype ruleAt = -1;
        if (!parseKeep(group.keep, ruleAt, plainDrop))
            return false;
        if (keepAt < 0)
            keepAt = ruleAt;
    }
    return true;
}
