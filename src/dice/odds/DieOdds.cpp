#include "dice/odds/DieOdds.h"

#include "dice/odds/OddsBudget.h"

#include <cmath>

namespace {

// The fresh faces split by whether they explode, each scored by `score` after `shift`.
struct Split
{
    WholeOdds stops;
    WholeOdds goesOn;
};

Split split(const DieOdds &die, DieScore score, qint64 shift)
{
    Split parts;
    const WholeOdds &fresh = die.fresh();
    for (std::size_t i = 0; i < fresh.p.size(); ++i) {
        if (fresh.p[i] == 0)
            continue;
        const qint64 face = fresh.first + qint64(i);
        (die.explodesOn(face) ? parts.goesOn : parts.stops).add(score.of(face - shift), fresh.p[i]);
    }
    return parts;
}

// stops + goesOn ∗ after, the odds of a face followed, when it explodes, by `after`. The
// caller has paid for the convolution.
WholeOdds followed(const Split &parts, const WholeOdds &after)
{
    WholeOdds result = parts.stops;
    if (!parts.goesOn.isEmpty())
        result.addShifted(WholeOdds::convolve(parts.goesOn, after), 0, 1.0);
    result.trim();
    return result;
}

// The same for a start face, paying for it.
std::optional<WholeOdds> startFollowed(const Split &parts, const WholeOdds &after,
                                       OddsBudget &budget)
{
    if (!budget.spend(WholeOdds::convolveWork(parts.goesOn, after)))
        return std::nullopt;
    return followed(parts, after);
}

} // namespace

DieOdds::DieOdds(const DiceTerm &term, OddsBudget &budget)
    : m_term(term), m_explodes(term.explode != ExplodeKind::None)
{
    const std::uint32_t faces = term.drawFaces();
    budget.spend(double(faces));
    const qint64 low = term.lowestClampedFace();
    m_fresh.first = low;
    m_fresh.p.assign(std::size_t(term.highestClampedFace() - low) + 1, 0.0);
    const double each = 1.0 / double(faces);
    for (std::uint32_t draw = 1; draw <= faces; ++draw)
        m_fresh.p[std::size_t(term.clamp(term.faceValue(draw)) - low)] += each;

    const int limit = term.rerollLimit();
    if (limit > 0) {
        double rerolled = 0;
        for (std::size_t i = 0; i < m_fresh.p.size(); ++i) {
            if (term.rerollWhen.meets(low + qint64(i)))
                rerolled += m_fresh.p[i];
        }
        // 1 + R + … + R^(L−1), and R^L: the last face stays whatever it shows.
        double again = 0;
        double power = 1;
        for (int t = 0; t < limit; ++t) {
            again += power;
            power *= rerolled;
        }
        for (std::size_t i = 0; i < m_fresh.p.size(); ++i)
            m_fresh.p[i] *= term.rerollWhen.meets(low + qint64(i)) ? power : again + power;
    }
    m_fresh.trim();
}

std::optional<WholeOdds> DieOdds::extras(DieScore score, OddsBudget &budget) const
{
    const Split parts = split(*this, score, less());
    const double width = double(std::max(parts.stops.last(), parts.goesOn.last())
                                - std::min(parts.stops.first, parts.goesOn.first));
    const int rolls = DiceTerm::MaxExtraRolls;
    // The k-th step convolves E with C_(k−1), which spans at most (k − 1) × width + 1 values
    // (far fewer when the chance of going on is small: the tail falls below Tiny).
    const double most = double(parts.goesOn.count()) * (width * rolls * (rolls - 1) / 2 + rolls);
    const bool stepwise = !budget.canSpend(most) || rolls * width + 1 > OddsBudget::MaxValues;
    if (!stepwise && !budget.spend(most))
        return std::nullopt;
    WholeOdds chain = WholeOdds::point(0);
    for (int k = 0; k < rolls; ++k) {
        if (stepwise && !budget.spendStep(WholeOdds::convolveWork(parts.goesOn, chain)))
            return std::nullopt;
        chain = followed(parts, chain);
        if (stepwise && !budget.admitValues(double(chain.p.size())))
            return std::nullopt;
    }
    return chain;
}

std::optional<WholeOdds> DieOdds::value(OddsBudget &budget) const
{
    if (m_term.explode != ExplodeKind::Compound)
        return m_fresh;
    const auto after = extras({}, budget);
    if (!after)
        return std::nullopt;
    return startFollowed(split(*this, {}, 0), *after, budget);
}

std::optional<WholeOdds> DieOdds::chain(DieScore score, OddsBudget &budget) const
{
    if (m_term.explode == ExplodeKind::Explode) {
        const auto after = extras(score, budget);
        if (!after)
            return std::nullopt;
        return startFollowed(split(*this, score, 0), *after, budget);
    }
    const auto die = value(budget);
    if (!die || !score.counts())
        return die;
    WholeOdds scored;
    for (std::size_t i = 0; i < die->p.size(); ++i) {
        if (die->p[i] > 0)
            scored.add(score.of(die->first + qint64(i)), die->p[i]);
    }
    return scored;
}
