#include "dice/odds/PoolOdds.h"

#include "dice/odds/DieOdds.h"
#include "dice/odds/OddsBudget.h"
#include "dice/odds/PoolPlan.h"
#include "dice/odds/WholeOdds.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>

namespace {

// A state's key: [number of unique start faces, the faces (indices of fresh faces, in
// order), the kept or dropped multiset (indices into the value table, in order)].
using Key = std::u32string;
using States = std::unordered_map<Key, WholeOdds>;

// What placing a value into a state costs beside its odds, in units of work (about
// nanoseconds): a key is copied, changed, hashed and looked up. Measured at about 100 ns while
// the states fit in the processor's caches and 400 to 800 ns past some ten thousand states.
constexpr double KeyWork = 100;
constexpr double KeyWorkPastCaches = 800;
constexpr std::size_t StatesInCaches = 10'000;
// What a state's key counts for among the probabilities held.
constexpr double KeyStates = 16;

// The pieces a step can add: a value-table index, what it scores, and its probability.
struct Outcome
{
    quint32 piece;
    double probability;
};

class Pool
{
public:
    Pool(std::vector<Fraction> values, std::vector<Fraction> scores, PoolPlan plan,
         OddsBudget &budget)
        : m_values(std::move(values)), m_scores(std::move(scores)), m_plan(plan), m_budget(budget)
    {
        for (const Fraction score : m_scores)
            m_wholeScores.push_back(score.isWhole() ? score.numerator() : 0);
        m_states.emplace(Key(1, U'\0'), WholeOdds::point(0));
    }

    qint64 indexOf(Fraction value) const
    {
        return std::lower_bound(m_values.begin(), m_values.end(), value) - m_values.begin();
    }

    // Pays for one pass over `states` with `outcomes` outcomes each (the states it makes
    // are about as many).
    bool pay(const States &states, double outcomes)
    {
        const double keyWork = states.size() < StatesInCaches ? KeyWork : KeyWorkPastCaches;
        double work = 0;
        for (const auto &[key, odds] : states)
            work += (double(odds.p.size()) + keyWork) * outcomes;
        return m_budget.spendStep(work);
    }

    // One member, or one die of fixed odds: every state takes each outcome.
    bool step(const std::vector<Outcome> &outcomes)
    {
        if (!pay(m_states, double(outcomes.size())))
            return false;
        States next;
        for (const auto &[key, odds] : m_states) {
            double unchanged = 0;
            for (const Outcome &outcome : outcomes) {
                if (keeps(key, outcome.piece))
                    unchanged += outcome.probability;
                else if (!place(next, key, -1, outcome.piece, odds, outcome.probability))
                    return false;
            }
            if (unchanged > 0 && !stay(next, key, odds, unchanged))
                return false;
        }
        return settle(next);
    }

    // One die of a term: its start (drawn against the unique faces when `unique`), its
    // compounded total or its chain of extra dice. The outcomes of a start on fresh face i are
    // starts[startsFrom[i]] up to starts[startsFrom[i + 1]].
    bool die(const DieOdds &die, const std::vector<Outcome> &starts,
             const std::vector<std::size_t> &startsFrom, const std::vector<quint32> &extras,
             bool unique)
    {
        const WholeOdds &fresh = die.fresh();
        const int uniqueLimit = die.term().uniqueLimit();
        const bool chains = die.term().explode == ExplodeKind::Explode;
        if (!pay(m_states, double(starts.size())))
            return false;

        States next;
        States alive;
        std::vector<double> chance(fresh.p.size());
        for (const auto &[key, odds] : m_states) {
            startChances(fresh, key, unique ? uniqueLimit : 0, chance);
            for (std::size_t face = 0; face < fresh.p.size(); ++face) {
                if (chance[face] == 0)
                    continue;
                const bool explodes = chains && die.explodesOn(fresh.first + qint64(face));
                for (std::size_t o = startsFrom[face]; o < startsFrom[face + 1]; ++o) {
                    if (!place(explodes ? alive : next, key, unique ? qint64(face) : -1,
                               starts[o].piece, odds, chance[face] * starts[o].probability))
                        return false;
                }
            }
        }
        for (int extra = 1; extra <= DiceTerm::MaxExtraRolls && !alive.empty(); ++extra) {
            trimAll(alive);
            m_held = held(next) + held(alive);
            if (!pay(alive, double(fresh.count())))
                return false;
            States stillAlive;
            for (const auto &[key, odds] : alive) {
                double unchanged[2] = {0, 0}; // stops, goes on
                for (std::size_t face = 0; face < fresh.p.size(); ++face) {
                    if (fresh.p[face] == 0)
                        continue;
                    const bool explodes = extra < DiceTerm::MaxExtraRolls
                                          && die.explodesOn(fresh.first + qint64(face));
                    if (keeps(key, extras[face]))
                        unchanged[explodes] += fresh.p[face];
                    else if (!place(explodes ? stillAlive : next, key, -1, extras[face], odds,
                                    fresh.p[face]))
                        return false;
                }
                if ((unchanged[0] > 0 && !stay(next, key, odds, unchanged[0]))
                    || (unchanged[1] > 0 && !stay(stillAlive, key, odds, unchanged[1])))
                    return false;
            }
            alive = std::move(stillAlive);
        }
        return settle(next);
    }

    // Forgets the unique faces of the term just rolled.
    bool forgetStarts()
    {
        States merged;
        for (auto &[key, odds] : m_states) {
            Key plain = key.substr(1 + key[0]);
            plain.insert(plain.begin(), U'\0');
            merged[plain].addShifted(odds, 0, 1.0);
        }
        return settle(merged);
    }

    std::optional<DiceDistribution> result() const
    {
        WholeOdds whole;
        std::vector<std::pair<Fraction, double>> exact;
        const bool wholeScores =
            std::all_of(m_scores.begin(), m_scores.end(), [](Fraction s) { return s.isWhole(); });
        for (const auto &[key, odds] : m_states) {
            const auto multiset = key.begin() + 1 + key[0];
            // The multiset's values that count, and (with the total) all of it to take off.
            const auto [low, high] = m_plan.setAside(qint64(key.end() - multiset));
            const auto counted = multiset + low;
            const auto countedEnd = key.end() - high;
            if (wholeScores) {
                qint64 sum = 0;
                for (auto at = counted; at != countedEnd; ++at)
                    sum += m_wholeScores[*at];
                if (m_plan.total) {
                    for (auto at = multiset; at != key.end(); ++at)
                        sum -= m_wholeScores[*at];
                }
                whole.addShifted(odds, sum, 1.0);
            } else {
                Fraction sum;
                for (auto at = counted; at != countedEnd; ++at)
                    sum = *sum.plus(m_scores[*at]);
                exact.emplace_back(sum, odds.p[0]);
            }
        }
        if (wholeScores) {
            whole.trim();
            return DiceDistribution::whole(whole.first, std::move(whole.p));
        }
        std::sort(exact.begin(), exact.end(),
                  [](const auto &a, const auto &b) { return a.first < b.first; });
        std::vector<Fraction> values;
        std::vector<double> probabilities;
        for (const auto &[value, p] : exact) {
            if (!values.empty() && values.back() == value) {
                probabilities.back() += p;
            } else {
                values.push_back(value);
                probabilities.push_back(p);
            }
        }
        return DiceDistribution::exact(std::move(values), std::move(probabilities));
    }

private:
    // The chance of each fresh face as a die's start: the face itself, or, for a unique
    // roll with the faces S already started on (of chance s), redrawn while in S at most L
    // times: f(x)·(1 + s + … + s^(L−1) + s^L) outside S, f(x)·s^L in it.
    static void startChances(const WholeOdds &fresh, const Key &key, int limit,
                             std::vector<double> &chance)
    {
        chance = fresh.p;
        const std::size_t seen = key[0];
        if (limit == 0 || seen == 0)
            return;
        double s = 0;
        for (std::size_t i = 1; i <= seen; ++i)
            s += fresh.p[key[i]];
        double again = 0;
        double power = 1;
        for (int t = 0; t < limit; ++t) {
            again += power;
            power *= s;
        }
        for (double &c : chance)
            c *= again + power;
        for (std::size_t i = 1; i <= seen; ++i)
            chance[key[i]] = fresh.p[key[i]] * power;
        DiceDistribution::flushTiny(chance);
    }

    // Whether placing `piece` leaves the state as it is: a full multiset of kept values that
    // it does not enter. All such outcomes of a state are added up and placed once.
    bool keeps(const Key &key, quint32 piece) const
    {
        if (m_plan.capacity == 0 || m_plan.total
            || qint64(key.size()) - 1 - qint64(key[0]) < m_plan.capacity)
            return false;
        // It goes in and straight out again when it would stand at the index that leaves.
        const auto first = key.begin() + 1 + key[0];
        const auto evict = m_plan.evict;
        return (evict == 0 || *(first + (evict - 1)) <= piece)
               && (evict == m_plan.capacity || piece <= *(first + evict));
    }

    bool stay(States &into, const Key &key, const WholeOdds &odds, double probability)
    {
        auto [slot, added] = into.try_emplace(key);
        const auto before = slot->second.p.size();
        slot->second.addShifted(odds, 0, probability);
        m_held += double(slot->second.p.size() - before) + (added ? KeyStates : 0);
        return m_budget.admitStates(m_held);
    }

    // Adds `odds` × `probability` to the state reached from `key` by starting a unique die
    // on `start` (−1: none) and placing `piece`.
    bool place(States &into, const Key &key, qint64 start, quint32 piece, const WholeOdds &odds,
               double probability)
    {
        Key next = key;
        if (start >= 0) {
            const auto begin = next.begin() + 1;
            const auto end = begin + next[0];
            const auto at = std::lower_bound(begin, end, char32_t(start));
            if (at == end || *at != char32_t(start)) {
                next.insert(at, char32_t(start));
                ++next[0];
            }
        }
        if (m_plan.capacity > 0) {
            const auto begin = next.begin() + 1 + next[0];
            const auto size = qint64(next.end() - begin);
            const auto value = char32_t(piece);
            next.insert(std::upper_bound(begin, next.end(), value), value);
            if (size == m_plan.capacity)
                next.erase(next.begin() + 1 + next[0] + m_plan.evict);
        }
        auto [slot, added] = into.try_emplace(std::move(next));
        const auto before = slot->second.p.size();
        slot->second.addShifted(odds, m_plan.total ? m_wholeScores[piece] : 0, probability);
        m_held += double(slot->second.p.size() - before) + (added ? KeyStates : 0);
        return m_budget.admitStates(m_held);
    }

    static void trimAll(States &states)
    {
        for (auto at = states.begin(); at != states.end();) {
            at->second.trim();
            at = at->second.isEmpty() ? states.erase(at) : std::next(at);
        }
    }

    static double held(const States &states)
    {
        double count = 0;
        for (const auto &[key, odds] : states)
            count += double(odds.p.size()) + KeyStates;
        return count;
    }

    bool settle(States &next)
    {
        trimAll(next);
        m_states = std::move(next);
        m_held = held(m_states);
        return m_budget.admitStates(m_held);
    }

    std::vector<Fraction> m_values;
    std::vector<Fraction> m_scores;
    std::vector<qint64> m_wholeScores;
    PoolPlan m_plan;
    OddsBudget &m_budget;
    States m_states;
    double m_held = 0;
};

// The least the steps of the first term's dice will pay, before the pool is worked out, so
// that a pool far past the budget (30d20!kh10) is refused at once rather than after a second
// of steps. Counting only the F faces that do not explode: after i dice every multiset of
// min(i, capacity) of them is a state of its own, with a chance of at least pmin^i (the other
// dice on one of those faces that leaves it as it is, and nothing exploded). While that stays
// above what is flushed as nothing, the die's step pays for each such state, F outcomes at
// least, KeyWork each. Unique rolls are left to their steps: their faces' chances shift with
// each start.
double leastWork(const PoolOdds::TermDice &term, const PoolPlan &plan)
{
    const DieOdds &die = *term.die;
    if (die.term().unique != UniqueKind::None)
        return 0;
    const WholeOdds &fresh = die.fresh();
    double faces = 0;
    double least = 1;
    for (std::size_t i = 0; i < fresh.p.size(); ++i) {
        if (fresh.p[i] > 0 && !die.explodesOn(fresh.first + qint64(i))) {
            faces += 1;
            least = std::min(least, fresh.p[i]);
        }
    }
    if (faces == 0)
        return 0;
    // Kept well above Tiny: a state's odds may be spread over up to MaxValues totals.
    const double floor = std::log(DiceDistribution::Tiny) + std::log(double(OddsBudget::MaxValues));
    double work = 0;
    for (qint64 i = 0; i<term.count &&double(i) * std::log(least)> floor; ++i) {
        const double k = double(std::min<qint64>(i, plan.capacity));
        // Multisets of exactly k of F values: C(F − 1 + k, k).
        work += PoolPlan::multisets(faces - 1, k) * faces * KeyWork;
        if (work > 1e18)
            break;
    }
    return work;
}

Fraction targetScore(const TargetRule &target, Fraction value)
{
    return Fraction((target.success.meets(value) ? 1 : 0) - (target.failure.meets(value) ? 1 : 0));
}

} // namespace

std::optional<DiceDistribution> PoolOdds::dice(const std::vector<TermDice> &terms,
                                               const KeepRule &keep, const TargetRule *target,
                                               OddsBudget &budget)
{
    // Every value a die in play can show: starts, extras (face − less), compounded totals.
    std::vector<std::optional<WholeOdds>> compounded(terms.size());
    std::vector<qint64> pieces;
    qint64 size = 0;
    qint64 mostSize = 0;
    bool fixedSize = true;
    double totalSpan = 1;
    for (std::size_t t = 0; t < terms.size(); ++t) {
        const DieOdds &die = *terms[t].die;
        const WholeOdds &fresh = die.fresh();
        // Each start of a unique die on a face of its own makes a state of its own.
        if (die.term().unique != UniqueKind::None
            && !budget.admitStates(double(fresh.count()) * KeyStates))
            return std::nullopt;
        size += terms[t].count;
        qint64 low = fresh.first;
        qint64 high = fresh.last();
        if (die.term().explode == ExplodeKind::Compound) {
            compounded[t] = die.extras({}, budget);
            if (!compounded[t])
                return std::nullopt;
            for (std::size_t i = 0; i < fresh.p.size(); ++i) {
                const qint64 face = fresh.first + qint64(i);
                if (fresh.p[i] > 0 && die.explodesOn(face)) {
                    for (std::size_t j = 0; j < compounded[t]->p.size(); ++j) {
                        if (compounded[t]->p[j] > 0)
                            pieces.push_back(face + compounded[t]->first + qint64(j));
                    }
                }
            }
            low = std::min(low, fresh.first + compounded[t]->first);
            high = std::max(high, fresh.last() + compounded[t]->last());
        }
        for (std::size_t i = 0; i < fresh.p.size(); ++i) {
            if (fresh.p[i] == 0)
                continue;
            pieces.push_back(fresh.first + qint64(i));
            if (die.term().explode == ExplodeKind::Explode)
                pieces.push_back(fresh.first + qint64(i) - die.less());
        }
        double perDie = 1;
        if (die.term().explode == ExplodeKind::Explode) {
            fixedSize = false;
            perDie = 1 + DiceTerm::MaxExtraRolls;
            low -= die.less();
        }
        mostSize += terms[t].count * qint64(perDie);
        const double dieSpan = target ? 2 : double(high - low);
        totalSpan += double(terms[t].count) * perDie * dieSpan;
    }
    std::sort(pieces.begin(), pieces.end());
    pieces.erase(std::unique(pieces.begin(), pieces.end()), pieces.end());
    if (!budget.admitValues(double(pieces.size())))
        return std::nullopt;

    std::vector<Fraction> values;
    std::vector<Fraction> scores;
    for (const qint64 piece : pieces) {
        values.emplace_back(piece);
        scores.push_back(target ? targetScore(*target, Fraction(piece)) : Fraction(piece));
    }
    const PoolPlan plan = PoolPlan::choose(keep, fixedSize ? size : mostSize, fixedSize, true,
                                           double(values.size()), totalSpan);
    if (!budget.affordAtLeast(leastWork(terms.front(), plan)))
        return std::nullopt;
    Pool pool(std::move(values), std::move(scores), plan, budget);

    for (std::size_t t = 0; t < terms.size(); ++t) {
        const DieOdds &die = *terms[t].die;
        const WholeOdds &fresh = die.fresh();
        const qint64 less = die.less();
        const bool unique = die.term().unique != UniqueKind::None;
        std::vector<Outcome> starts;
        std::vector<std::size_t> startsFrom;
        std::vector<quint32> extras(fresh.p.size());
        for (std::size_t i = 0; i < fresh.p.size(); ++i) {
            const qint64 face = fresh.first + qint64(i);
            startsFrom.push_back(starts.size());
            extras[i] = quint32(pool.indexOf(Fraction(face - less)));
            if (compounded[t] && die.explodesOn(face)) {
                const WholeOdds &after = *compounded[t];
                for (std::size_t j = 0; j < after.p.size(); ++j) {
                    if (after.p[j] > 0)
                        starts.push_back(
                            {quint32(pool.indexOf(Fraction(face + after.first + qint64(j)))),
                             after.p[j]});
                }
            } else {
                starts.push_back({quint32(pool.indexOf(Fraction(face))), 1.0});
            }
        }
        startsFrom.push_back(starts.size());
        for (qint64 n = 0; n < terms[t].count; ++n) {
            if (!pool.die(die, starts, startsFrom, extras, unique))
                return std::nullopt;
        }
        if (unique && !pool.forgetStarts())
            return std::nullopt;
    }
    return pool.result();
}

std::optional<DiceDistribution> PoolOdds::members(const std::vector<DiceDistribution> &members,
                                                  const KeepRule &keep, const TargetRule *target,
                                                  OddsBudget &budget)
{
    std::vector<Fraction> values;
    for (const DiceDistribution &member : members)
        member.forEach([&](Fraction value, double) { values.push_back(value); });
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    if (!budget.admitValues(double(values.size())))
        return std::nullopt;
    std::vector<Fraction> scores;
    bool wholeScores = true;
    for (const Fraction value : values) {
        scores.push_back(target ? targetScore(*target, value) : value);
        wholeScores = wholeScores && scores.back().isWhole();
    }
    double totalSpan = 1;
    if (wholeScores) {
        for (const DiceDistribution &member : members) {
            const qint64 low = target ? -1 : member.minimum().numerator();
            const qint64 high = target ? 1 : member.maximum().numerator();
            totalSpan += double(high) - double(low);
        }
    }
    const PoolPlan plan = PoolPlan::choose(keep, qint64(members.size()), true, wholeScores,
                                           double(values.size()), totalSpan);
    Pool pool(values, scores, plan, budget);
    for (const DiceDistribution &member : members) {
        std::vector<Outcome> outcomes;
        member.forEach([&](Fraction value, double p) {
            outcomes.push_back({quint32(pool.indexOf(value)), p});
        });
        if (!pool.step(outcomes))
            return std::nullopt;
    }
    return pool.result();
}
