#pragma once

#include "dice/expression/DieCondition.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

// The faces a die shows.
enum class DieKind : quint8 {
    Standard, // NdM: 1 to M, each 1/M
    Fate,     // dF, dF.2: -1, 0, +1, each 1/3 (rolled as a d3)
    FateOne,  // dF.1: -1 and +1 each 1/6, 0 four times in six (rolled as a d6: 1 is -1, 6 is +1)
};

// One keep/drop rule as written.
enum class DiceKeep : quint8 {
    KeepHighest, // khK, kK
    KeepLowest,  // klK
    DropHighest, // dhK
    DropLowest,  // dlK, dK
};

// Which dice (of a term) or members (of a group) count, under every keep/drop rule written
// after it. Each rule chooses on its own among all the dice in play, and a die counts only
// when no rule sets it aside; so of n dice the L(n) lowest and the H(n) highest are set aside,
// L the most that any rule drops from the low end (khK drops n − K, dlK drops K) and H the
// most from the high end (klK drops n − K, dhK drops K); when L + H reaches n, all of them.
// Only the strictest rule of each kind matters, so those are all that is kept.
struct KeepRule
{
    std::optional<qint64> keepHighest; // the fewest K of khK/kK
    std::optional<qint64> keepLowest;  // the fewest K of klK
    qint64 dropHighest = 0;            // the most K of dhK
    qint64 dropLowest = 0;             // the most K of dlK/dK

    bool isSet() const { return keepHighest || keepLowest || dropHighest > 0 || dropLowest > 0; }

    void add(DiceKeep keep, qint64 count)
    {
        switch (keep) {
        case DiceKeep::KeepHighest:
            keepHighest = keepHighest ? std::min(*keepHighest, count) : count;
            break;
        case DiceKeep::KeepLowest:
            keepLowest = keepLowest ? std::min(*keepLowest, count) : count;
            break;
        case DiceKeep::DropHighest:
            dropHighest = std::max(dropHighest, count);
            break;
        case DiceKeep::DropLowest:
            dropLowest = std::max(dropLowest, count);
            break;
        }
    }

    // How many of `size` dice or members are set aside from the low end, and from the high
    // end (each at most `size`; the two may overlap).
    qint64 droppedLowOf(qint64 size) const
    {
        qint64 low = std::min(dropLowest, size);
        if (keepHighest)
            low = std::max(low, size - std::min(*keepHighest, size));
        return low;
    }
    qint64 droppedHighOf(qint64 size) const
    {
        qint64 high = std::min(dropHighest, size);
        if (keepLowest)
            high = std::max(high, size - std::min(*keepLowest, size));
        return high;
    }
    // How many of `size` are set aside in all.
    qint64 droppedOf(qint64 size) const
    {
        const qint64 low = droppedLowOf(size);
        const qint64 high = droppedHighOf(size);
        return low >= size - high ? size : low + high;
    }
    // The fewest and the most that stay of `fewest` to `most` dice: n − droppedOf(n) is
    // piecewise linear in n, so its extremes lie at the ends or where a rule starts to bite.
    std::pair<qint64, qint64> keptRange(qint64 fewest, qint64 most) const
    {
        qint64 lowest = most - droppedOf(most);
        qint64 highest = lowest;
        const qint64 kh = keepHighest.value_or(0);
        const qint64 kl = keepLowest.value_or(0);
        // Counts may be as large as a qint64 holds: a sum past `most` is only skipped.
        const auto plus = [most](qint64 a, qint64 b) { return a > most - b ? most + 1 : a + b; };
        for (const qint64 n : {fewest, kh, kl, dropLowest, dropHighest, plus(kh, dropLowest),
                               plus(kl, dropHighest), plus(dropLowest, dropHighest),
                               plus(kh, kl)}) {
            if (n < fewest || n > most)
                continue;
            const qint64 kept = n - droppedOf(n);
            lowest = std::min(lowest, kept);
            highest = std::max(highest, kept);
        }
        return {lowest, highest};
    }
};

// Success counting: a term or group followed by a compare point counts the dice (members)
// that meet it instead of summing them, less those that meet the failure condition "f".
struct TargetRule
{
    DieCondition success; // set: the value is a count
    DieCondition failure; // only with success
    bool isSet() const { return success.isSet(); }
};

enum class RerollKind : quint8 { None, UpTo100, Once };   // r, ro
enum class UniqueKind : quint8 { None, UpTo100, Once };   // u, uo
enum class ExplodeKind : quint8 { None, Explode, Compound }; // !, !!
enum class SortKind : quint8 { None, Ascending, Descending }; // s/sa, sd

// One dice term of an expression, such as "4d6kh3", "10d10>=8f1", "3d6!!", "4d6r1", "dF".
//
// How a term rolls (DiceRoller rolls exactly this; the exact odds follow the same rules):
//
// 1. A fresh face: draw a face of the die (faceValue of a draw from 1 to drawFaces), then
//    clamp it: raise it to `minimum` and then lower it to `maximum` when set. While the
//    face meets `reroll`, it is set aside (rerolled away) and another is drawn and clamped:
//    at most 100 times for r, once for ro; the last face stays whatever it shows.
// 2. The term's `count` dice are rolled in order, each starting from a fresh face.
//    With `unique`, while a die's face equals the starting face of an earlier die of the
//    term (the face that die kept after its own unique rerolls), the die is set aside and
//    another fresh face taken: at most 100 times for u, once for uo; the last face stays
//    and is this die's starting face.
// 3. Explosions look at the die's starting face, then at each extra roll's fresh face. While the face meets `explode` (by
//    default, the die's highest face) and fewer than 100 extra rolls were made for this
//    die, another fresh face is rolled:
//    - "!": each extra roll is a die of its own, right after the one that rolled it
//      (counted one less with "!p"), and it may explode in turn;
//    - "!!": the extra rolls add into the same die, which is one value (each extra counted
//      one less with "!!p").
//    A die rolled by an explosion is never set aside by `unique`; its fresh faces do
//    follow the rerolls.
// 4. Keep/drop chooses among the dice in play (not the rerolled-away ones), explosions'
//    extra dice included (KeepRule: every rule at once). The highest are set aside first,
//    then the lowest of the rest; among equal values the later die goes first, so the
//    earlier one is kept.
// 5. Without a target the term's value is the sum of the kept dice. With one, it is the
//    number of kept dice that meet `target.success` less the number that meet
//    `target.failure` (a die may meet both and count +1 -1).
// 6. `criticalSuccess` and `criticalFailure` only mark dice in play that meet them;
//    `sort` only orders the dice shown. Neither changes the value.
struct DiceTerm
{
    QString text;          // as written in the expression (label excluded)
    qint32 count = 1;      // N, the dice rolled before any explosion
    qint32 faces = 6;      // M; 3 for a Fate die
    DieKind kind = DieKind::Standard;

    std::optional<qint64> minimum; // minN
    std::optional<qint64> maximum; // maxN
    RerollKind reroll = RerollKind::None;
    DieCondition rerollWhen; // with r/ro: "r" alone is "=lowest face"
    UniqueKind unique = UniqueKind::None;
    ExplodeKind explode = ExplodeKind::None;
    bool penetrate = false; // "!p", "!!p"
    DieCondition explodeWhen; // with !: "!" alone is "=highest face"
    KeepRule keep;
    TargetRule target;
    DieCondition criticalSuccess; // cs: "cs" alone is "=highest face"
    DieCondition criticalFailure; // cf: "cf" alone is "=lowest face"
    SortKind sort = SortKind::None;
    QString label; // "[text]" after the term

    static constexpr int MaxRerolls = 100;
    static constexpr int MaxExtraRolls = 100;

    // The face count asked of the die source per draw.
    std::uint32_t drawFaces() const { return kind == DieKind::FateOne ? 6 : std::uint32_t(faces); }

    // What a draw of 1..drawFaces() shows, before clamping.
    qint64 faceValue(std::uint32_t draw) const
    {
        switch (kind) {
        case DieKind::Standard:
            return qint64(draw);
        case DieKind::Fate:
            return qint64(draw) - 2;
        case DieKind::FateOne:
            return draw == 1 ? -1 : draw == 6 ? 1 : 0;
        }
        return 0;
    }

    qint64 lowestFace() const { return kind == DieKind::Standard ? 1 : -1; }
    qint64 highestFace() const { return kind == DieKind::Standard ? faces : 1; }

    // The face after minN and maxN.
    qint64 clamp(qint64 face) const
    {
        if (minimum && face < *minimum)
            face = *minimum;
        if (maximum && face > *maximum)
            face = *maximum;
        return face;
    }

    // Every fresh face lies in [clamp(lowestFace), clamp(highestFace)], and every whole
    // number between them can show.
    qint64 lowestClampedFace() const { return clamp(lowestFace()); }
    qint64 highestClampedFace() const { return clamp(highestFace()); }

    int rerollLimit() const
    {
        return reroll == RerollKind::UpTo100 ? MaxRerolls : reroll == RerollKind::Once ? 1 : 0;
    }
    int uniqueLimit() const
    {
        return unique == UniqueKind::UpTo100 ? MaxRerolls : unique == UniqueKind::Once ? 1 : 0;
    }
};
