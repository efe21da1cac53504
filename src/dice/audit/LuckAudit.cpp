#include "dice/audit/LuckAudit.h"

#include "dice/audit/Statistics.h"
#include "dice/notation/DiceNotation.h"
#include "dice/odds/DiceOdds.h"

#include <algorithm>
#include <cmath>

namespace {

std::string_view viewOf(QByteArrayView text)
{
    return std::string_view(text.data(), std::size_t(text.size()));
}

} // namespace

LuckAudit::LuckAudit(bool byLabel) : m_byLabel(byLabel) {}

const LuckAudit::Odds &LuckAudit::oddsOf(QByteArrayView expression)
{
    if (const auto found = m_oddsIndex.find(viewOf(expression)); found != m_oddsIndex.end())
        return *found->second;
    Odds &odds = m_odds.emplace_back();
    odds.text = QString::fromUtf8(expression);
    auto parsed = DiceNotation::parse(odds.text);
    if (const auto *error = std::get_if<DiceNotationError>(&parsed)) {
        odds.refusal = QStringLiteral("a expressão não pôde ser lida (posição %1: %2)")
                           .arg(QString::number(error->position), error->message);
    } else {
        auto evaluated = DiceOdds::evaluate(std::get<DiceExpression>(parsed));
        if (const auto *refusal = std::get_if<DiceOddsRefusal>(&evaluated)) {
            odds.refusal = refusal->reason;
        } else {
            odds.distribution = std::get<DiceDistribution>(std::move(evaluated));
            const std::vector<double> &p = odds.distribution->probabilities();
            odds.below.resize(p.size());
            double below = 0;
            double cubes = 0;
            for (std::size_t i = 0; i < p.size(); ++i) {
                odds.below[i] = below;
                below += p[i];
                cubes += p[i] * p[i] * p[i];
            }
            odds.luckVariance = std::max(0.0, (1 - cubes) / 12);
        }
    }
    m_oddsIndex.emplace(std::string(viewOf(expression)), &odds);
    return odds;
}

std::optional<std::size_t> LuckAudit::indexOf(const DiceDistribution &distribution, Fraction total)
{
    std::size_t index;
    if (distribution.isDense()) {
        if (!total.isWhole() || total.numerator() < distribution.first()
            || total.numerator() - distribution.first() >= distribution.span())
            return std::nullopt;
        index = std::size_t(total.numerator() - distribution.first());
    } else {
        const std::vector<Fraction> &values = distribution.values();
        const auto found = std::lower_bound(values.begin(), values.end(), total);
        if (found == values.end() || *found != total)
            return std::nullopt;
        index = std::size_t(found - values.begin());
    }
    if (!(distribution.probabilities()[index] > 0))
        return std::nullopt;
    return index;
}

void LuckAudit::add(QByteArrayView expression, QByteArrayView label, Fraction total,
                    std::optional<std::span<const DrawnFace>> draws)
{
    ++m_rolls;
    const std::string_view groupKey = m_byLabel ? viewOf(label) : std::string_view();
    auto groupFound = m_groupIndex.find(groupKey);
    if (groupFound == m_groupIndex.end()) {
        groupFound = m_groupIndex.emplace(std::string(groupKey), m_groups.size()).first;
        m_groups.emplace_back().label = QString::fromUtf8(groupKey.data(), qsizetype(groupKey.size()));
    }
    GroupTally &group = m_groups[groupFound->second];
    ++group.rolls;

    auto expressionFound = group.expressionIndex.find(viewOf(expression));
    if (expressionFound == group.expressionIndex.end()) {
        const Odds &odds = oddsOf(expression);
        expressionFound =
            group.expressionIndex.emplace(std::string(viewOf(expression)), group.expressions.size())
                .first;
        ExpressionTally &tally = group.expressions.emplace_back();
        tally.odds = &odds;
        if (odds.distribution)
            tally.counts.assign(odds.distribution->probabilities().size(), 0);
    }
    ExpressionTally &tally = group.expressions[expressionFound->second];
    ++tally.rolls;
    tally.sum += total.toDouble();
    if (const auto &distribution = tally.odds->distribution) {
        if (const auto index = indexOf(*distribution, total)) {
            ++tally.counts[*index];
            group.luckSum += tally.odds->below[*index] + distribution->probabilities()[*index] / 2;
        } else {
            // A total fair dice cannot give counts as the least lucky or luckiest there is.
            ++tally.impossible;
            group.luckSum += total < distribution->minimum() ? 0.0 : 1.0;
        }
        ++group.luckRolls;
        group.luckVariance += tally.odds->luckVariance;
    }

    if (!draws) {
        ++group.rollsWithoutDraws;
        return;
    }
    for (const DrawnFace &draw : *draws) {
        if (draw.faces == 0 || draw.faces > MaxAuditedFaces)
            continue;
        DieTally &die = group.dice[draw.faces];
        ++die.draws;
        if (draw.value < 1 || draw.value > draw.faces) {
            ++die.impossible;
        } else if (draw.faces <= DenseFaces) {
            if (die.counts.empty())
                die.counts.assign(draw.faces, 0);
            ++die.counts[draw.value - 1];
        } else {
            ++die.sparse[draw.value];
        }
    }
}

ExpressionAudit LuckAudit::auditOf(const ExpressionTally &tally)
{
    ExpressionAudit audit;
    audit.expression = tally.odds->text;
    audit.rolls = tally.rolls;
    audit.refusal = tally.odds->refusal;
    audit.observedMean = tally.sum / double(tally.rolls);
    if (!tally.odds->distribution)
        return audit;
    const DiceDistribution &distribution = *tally.odds->distribution;
    audit.impossible = tally.impossible;
    audit.exactMean = distribution.mean();
    const double n = double(tally.rolls);
    audit.standardError = distribution.standardDeviation() / std::sqrt(n);
    const double deviation = audit.observedMean - audit.exactMean;
    if (audit.standardError > 0) {
        audit.mean = AuditFinding::of(Statistics::normalTwoSided(deviation / audit.standardError),
                                      tally.rolls);
    } else {
        // A total that cannot vary: only an impossible one can stray from it.
        audit.mean = AuditFinding::of(1, tally.rolls, false);
    }
    audit.fit = GoodnessOfFit::test(tally.counts, distribution.probabilities(), tally.rolls);
    audit.distribution = AuditFinding::of(audit.fit.pValue, tally.rolls, audit.fit.testable());
    if (tally.impossible > 0) {
        audit.mean = {AuditVerdict::Impossible, 0};
        audit.distribution = {AuditVerdict::Impossible, 0};
    }
    return audit;
}

DieAudit LuckAudit::auditOf(quint32 faces, const DieTally &tally)
{
    DieAudit audit;
    audit.faces = faces;
    audit.draws = tally.draws;
    audit.impossible = tally.impossible;
    std::vector<qint64> counts = tally.counts;
    if (faces > DenseFaces) {
        counts.assign(faces, 0);
        for (const auto &[face, count] : tally.sparse)
            counts[face - 1] = count;
    } else if (counts.empty()) {
        counts.assign(faces, 0);
    }
    const qint64 fair = tally.draws - tally.impossible;
    const std::vector<double> flat(faces, 1.0 / faces);
    audit.fit = GoodnessOfFit::test(counts, flat, fair);
    audit.finding = AuditFinding::of(audit.fit.pValue, fair, audit.fit.testable());
    if (faces >= 2) {
        audit.hasExtremes = true;
        audit.lowest = counts.front();
        audit.highest = counts.back();
        audit.expectedEach = double(fair) / faces;
        const auto extreme = [&](qint64 count) {
            // A count expected fewer than 5 times cannot be told from chance.
            return AuditFinding::of(Statistics::binomialTwoSided(count, fair, 1.0 / faces), fair,
                                    audit.expectedEach >= GoodnessOfFit::MinimumExpected);
        };
        audit.lowestFinding = extreme(audit.lowest);
        audit.highestFinding = extreme(audit.highest);
    }
    if (tally.impossible > 0)
        audit.finding = {AuditVerdict::Impossible, 0};
    if (faces <= DieAudit::MaxListedFaces)
        audit.counts = std::move(counts);
    return audit;
}

AuditReport LuckAudit::report() const
{
    AuditReport report;
    report.byLabel = m_byLabel;
    report.rolls = m_rolls;
    for (const GroupTally &tally : m_groups) {
        AuditGroup &group = report.groups.emplace_back();
        group.label = tally.label;
        group.rolls = tally.rolls;
        group.rollsWithoutDraws = tally.rollsWithoutDraws;
        for (const ExpressionTally &expression : tally.expressions)
            group.expressions.push_back(auditOf(expression));
        for (const auto &[faces, die] : tally.dice)
            group.dice.push_back(auditOf(faces, die));
        LuckSummary &luck = group.luck;
        luck.rolls = tally.luckRolls;
        if (tally.luckRolls > 0) {
            const double n = double(tally.luckRolls);
            luck.meanLuck = tally.luckSum / n;
            luck.standardError = std::sqrt(tally.luckVariance) / n;
            const double z = luck.standardError > 0 ? (luck.meanLuck - 0.5) / luck.standardError : 0;
            luck.finding = AuditFinding::of(Statistics::normalTwoSided(z), tally.luckRolls,
                                            luck.standardError > 0);
        }
    }
    return report;
}
