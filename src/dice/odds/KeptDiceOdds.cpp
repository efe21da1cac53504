#include "dice/odds/KeptDiceOdds.h"

#include "dice/odds/DiceDistribution.h"
#include "dice/odds/OddsBudget.h"

#include <algorithm>
#include <cmath>

namespace {

// The faces that can come up, from the kept end, with the probability of each and of all
// that lie beyond it.
struct Sweep
{
    std::vector<qint64> scores;
    std::vector<double> chance;
    std::vector<double> before; // summed from the near end
    std::vector<double> beyond; // summed from the far end

    Sweep(const WholeOdds &die, DieScore score, bool highest)
    {
        for (std::size_t i = 0; i < die.p.size(); ++i) {
            const std::size_t at = highest ? die.p.size() - 1 - i : i;
            if (die.p[at] > 0) {
                scores.push_back(score.of(die.first + qint64(at)));
                chance.push_back(die.p[at]);
            }
        }
        const std::size_t m = chance.size();
        before.assign(m, 0.0);
        beyond.assign(m, 0.0);
        for (std::size_t i = 1; i < m; ++i)
            before[i] = before[i - 1] + chance[i - 1];
        for (std::size_t i = m - 1; i-- > 0;)
            beyond[i] = beyond[i + 1] + chance[i + 1];
    }
};

// The chance that all n dice land at or beyond face i of the sweep: (1 − before)^n, worked
// out from whichever sum is small so that neither end loses its precision.
double allFrom(const Sweep &sweep, std::size_t i, qint64 n)
{
    if (i >= sweep.chance.size())
        return 0;
    if (sweep.before[i] < 0.5)
        return std::exp(double(n) * std::log1p(-sweep.before[i]));
    return std::pow(sweep.chance[i] + sweep.beyond[i], double(n));
}

} // namespace

void KeptDiceOdds::binomial(qint64 n, double q, std::vector<double> &out)
{
    out.assign(std::size_t(n) + 1, 0.0);
    if (q <= 0) {
        out[0] = 1;
        return;
    }
    if (q >= 1) {
        out[std::size_t(n)] = 1;
        return;
    }
    const qint64 mode = std::min<qint64>(n, qint64(std::floor(double(n + 1) * q)));
    const double ratio = q / (1 - q);
    out[std::size_t(mode)] = 1;
    for (qint64 c = mode + 1; c <= n; ++c) {
        const double w = out[std::size_t(c - 1)] * (double(n - c + 1) / double(c)) * ratio;
        if (w < 1e-300)
            break;
        out[std::size_t(c)] = w;
    }
    for (qint64 c = mode - 1; c >= 0; --c) {
        const double w = out[std::size_t(c + 1)] * (double(c + 1) / double(n - c)) / ratio;
        if (w < 1e-300)
            break;
        out[std::size_t(c)] = w;
    }
    double total = 0;
    for (const double w : out)
        total += w;
    for (double &w : out)
        w /= total;
    DiceDistribution::flushTiny(out);
}

std::optional<WholeOdds> KeptDiceOdds::evaluate(const WholeOdds &die, DieScore score, qint64 n,
                                                qint64 kept, bool highest, OddsBudget &budget,
                                                qint64 skipped)
{
    const Sweep sweep(die, score, highest);
    const std::size_t faces = sweep.chance.size();
    const auto [lowest, highestScore] = std::minmax_element(sweep.scores.begin(), sweep.scores.end());
    const double span = double(*highestScore - *lowest);

    WholeOdds result;
    if (kept == 1 && skipped == 0) {
        if (!budget.admitValues(span + 1) || !budget.spend(double(faces) * 40))
            return std::nullopt;
        result.cover(*lowest, *highestScore);
        for (std::size_t i = 0; i < faces; ++i)
            result.add(sweep.scores[i], allFrom(sweep, i, n) - allFrom(sweep, i + 1, n));
        result.trim();
        return result;
    }

    // The dice placed so far from the kept end: the first `skipped` are set aside, the next
    // `kept` score, and once `placed` of them are down the rest are set aside too.
    const qint64 placed = skipped + kept;
    const auto scoredOf = [skipped](qint64 from, qint64 to) {
        return std::max<qint64>(0, to - std::max(from, skipped));
    };

    // At most: every state (j, s) at every face, s spanning (j − skipped) × span + 1 values;
    // the binomial chances of each j, n − j + 1 of them; far less where the chances fall
    // below Tiny.
    double most = double(faces) * double(placed) * double(n);
    double held = 0;
    for (qint64 j = 0; j < placed; ++j) {
        const double values = double(scoredOf(0, j)) * span + 1;
        most += double(faces) * values * double(placed - j + 1);
        held += values;
    }
    const bool stepwise = !budget.canSpend(most) || held > OddsBudget::MaxStates
                          || double(kept) * span + 1 > OddsBudget::MaxValues;
    if (!stepwise && !budget.spend(most))
        return std::nullopt;

    std::vector<WholeOdds> state(static_cast<std::size_t>(placed));
    std::vector<WholeOdds> next(static_cast<std::size_t>(placed));
    state[0] = WholeOdds::point(0);
    std::vector<double> chances;
    for (std::size_t i = 0; i < faces; ++i) {
        const double q =
            i + 1 == faces ? 1.0 : sweep.chance[i] / (sweep.chance[i] + sweep.beyond[i]);
        const qint64 face = sweep.scores[i];
        for (WholeOdds &odds : next)
            odds = WholeOdds();
        if (stepwise) {
            double work = double(placed) * double(n);
            double states = double(result.p.size());
            for (qint64 j = 0; j < placed; ++j) {
                work += double(state[std::size_t(j)].p.size()) * double(placed - j + 1);
                states += double(state[std::size_t(j)].p.size());
            }
            if (!budget.spendStep(work) || !budget.admitStates(states)
                || !budget.admitValues(double(result.p.size())))
                return std::nullopt;
        }
        for (qint64 j = 0; j < placed; ++j) {
            const WholeOdds &from = state[std::size_t(j)];
            if (from.isEmpty())
                continue;
            const qint64 unplaced = n - j;
            binomial(unplaced, q, chances);
            const qint64 needed = placed - j;
            for (qint64 c = 0; c < needed && c <= unplaced; ++c) {
                if (chances[std::size_t(c)] > 0)
                    next[std::size_t(j + c)].addShifted(from, scoredOf(j, j + c) * face,
                                                        chances[std::size_t(c)]);
            }
            // The rest of the kept dice all show this face: summed from the small end.
            double rest = 0;
            for (qint64 c = unplaced; c >= needed; --c)
                rest += chances[std::size_t(c)];
            if (rest > 0)
                result.addShifted(from, scoredOf(j, placed) * face, rest);
        }
        for (WholeOdds &odds : next)
            odds.trim();
        std::swap(state, next);
    }
    result.trim();
    return result;
}
