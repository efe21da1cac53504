#pragma once

#include "dice/odds/DieOdds.h"
#include "dice/odds/WholeOdds.h"

#include <optional>
#include <vector>

class OddsBudget;

// Keep/drop among n identical independent dice: the odds of the sum of the scores of the k
// dice kept (the highest or the lowest by value), without ever listing the dice.
//
// - One die kept (the highest or lowest of n): P(highest ≤ v) = F(v)^n, one power per face.
// - More, or a block of middle ranks: the faces are swept from the kept end. The state is (j, s): j dice placed so far
//   on faces at or beyond the current one (j < k) and s the score of those, all kept. At a
//   face of probability p, among the faces not yet swept, the n − j dice still unplaced land
//   on it binomially, with chance p / (p + what lies beyond): c of them (c < k − j) go on to
//   (j + c, s + c × score), and k − j or more complete the kept dice. Work at most
//   faces × Σ_j (j × span + 1)(k − j + 1) + faces × k × n, with span the range of one
//   die's score (4d6kh3 about 400, the highest 3 of 20d20 about 9000), less where the
//   chances fall below Tiny.
class KeptDiceOdds
{
public:
    // `die`: one die's values (as keep/drop compares them); `score` turns a kept value into
    // what it adds. Nothing, with the budget refused, when too large.
    // With `skipped`, the `skipped` dice at the kept end are set aside too, and the `kept`
    // after them count (4d10dh1dl2: one die, the second highest).
    static std::optional<WholeOdds> evaluate(const WholeOdds &die, DieScore score, qint64 n,
                                             qint64 kept, bool highest, OddsBudget &budget,
                                             qint64 skipped = 0);

    // The binomial probabilities of 0 … n successes in n trials of chance q, each accurate
    // to a few units in the last place times n (worked out from the most likely count
    // outwards, so that none underflows before it is negligible).
    static void binomial(qint64 n, double q, std::vector<double> &out);
};
