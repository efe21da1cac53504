#pragma once

#include "dice/audit/AuditReport.h"
#include "dice/number/Fraction.h"
#include "dice/odds/DiceDistribution.h"

#include <QByteArray>
#include <QByteArrayView>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One die a roll drew: the die size asked and the face it gave.
struct DrawnFace
{
    quint32 faces = 0;
    quint32 value = 0;
};

// The luck audit of a stream of rolls, fed one roll at a time: it keeps counts, never the
// rolls, so its memory stays flat however long the stream (it grows only with the distinct
// expressions, labels and die sizes). Each distinct expression is parsed and its exact odds
// computed once (DiceOdds) and kept; an expression whose odds are refused, or that does not
// parse, is still counted and its draws still audited, and its refusal is reported.
//
// report() gives, for all the rolls or for each label (byLabel): per expression the observed
// mean against the exact one and a goodness-of-fit test of the totals; per die size the faces
// against a flat distribution; and the mean luck of the rolls (AuditReport says how each is
// measured).
class LuckAudit
{
public:
    explicit LuckAudit(bool byLabel = false);

    // One roll: its expression as written without its label and its label (both UTF-8), its
    // exact total, and every die it drew, when known (a record has them; --json output not).
    void add(QByteArrayView expression, QByteArrayView label, Fraction total,
             std::optional<std::span<const DrawnFace>> draws);

    qint64 rolls() const { return m_rolls; }

    AuditReport report() const;

    // The largest die whose faces are audited (the notation's largest).
    static constexpr quint32 MaxAuditedFaces = 1'000'000;

private:
    // Looked up by a view of the line read, without making a string of it for every roll.
    struct TextHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const
        {
            return std::hash<std::string_view>()(text);
        }
    };
    template <typename T>
    using TextMap = std::unordered_map<std::string, T, TextHash, std::equal_to<>>;

    // An expression's exact odds, with what each roll's luck needs.
    struct Odds
    {
        QString text;
        QString refusal;
        std::optional<DiceDistribution> distribution;
        std::vector<double> below; // P(X < value at index i)
        double luckVariance = 0;   // (1 − Σ p³) / 12
    };
    struct ExpressionTally
    {
        const Odds *odds = nullptr;
        qint64 rolls = 0;
        std::vector<qint64> counts; // per index of the distribution's values
        qint64 impossible = 0;
        double sum = 0;
    };
    struct DieTally
    {
        qint64 draws = 0;
        qint64 impossible = 0;
        std::vector<qint64> counts;                // faces up to DenseFaces: index face − 1
        std::unordered_map<quint32, qint64> sparse; // larger dice: only the faces seen
    };
    struct GroupTally
    {
        QString label;
        qint64 rolls = 0;
        qint64 rollsWithoutDraws = 0;
        TextMap<std::size_t> expressionIndex;
        std::vector<ExpressionTally> expressions;
        std::map<quint32, DieTally> dice;
        qint64 luckRolls = 0;
        double luckSum = 0;
        double luckVariance = 0;
    };

    static constexpr quint32 DenseFaces = 1000;

    const Odds &oddsOf(QByteArrayView expression);
    // The index of `total` among the distribution's values; nothing when it cannot come up.
    static std::optional<std::size_t> indexOf(const DiceDistribution &distribution, Fraction total);
    static ExpressionAudit auditOf(const ExpressionTally &tally);
    static DieAudit auditOf(quint32 faces, const DieTally &tally);

    bool m_byLabel;
    qint64 m_rolls = 0;
    std::deque<Odds> m_odds; // stable addresses: tallies point at them
    TextMap<const Odds *> m_oddsIndex;
    TextMap<std::size_t> m_groupIndex;
    std::vector<GroupTally> m_groups;
};
