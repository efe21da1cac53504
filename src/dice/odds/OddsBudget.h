#pragma once

#include <QString>
#include <QtGlobal>

// What working out the exact odds of one expression may cost. Every evaluator tells its
// work and the size of what it is about to make before making it and asks here first; past a
// bound the whole expression is refused, with a message in Portuguese that names the bound,
// so that no expression can hang or exhaust memory.
//
// An evaluator that can tell its whole cost beforehand pays it at once (spend), and the
// message gives that cost. One whose cost depends on how far the tails reach before they fall
// below DiceDistribution::Tiny (sums of many dice, explosions) pays the most it could cost
// when that fits, and otherwise pays step by step what each step really costs (spendStep),
// stopping at the bound.
//
// A unit of work is about a nanosecond on a 2.6 GHz machine: one multiplication and addition
// of probabilities; a state of the pool's dynamic program touched costs 100 (800 once the
// states outgrow the processor's caches) and an exact operation on two fractions 500. At the
// bound an expression takes well under a second (measured: refusals within 0.5 s).
// Every roll of the dice window (1 to 50 dice of 4 to 20 faces) stays far below: at most 951
// values and half a million units.
class OddsBudget
{
public:
    // Distinct values in any distribution along the way.
    static constexpr qint64 MaxValues = 1'000'000;
    // Units of work for the whole expression.
    static constexpr qint64 MaxWork = 400'000'000;
    // Probabilities held at once by the pool's dynamic program (a state's key counts for 16).
    static constexpr qint64 MaxStates = 4'000'000;

    // Each takes a count (a double, so that no estimate can wrap) and answers whether it
    // fits; once one does not, the budget stays refused.
    bool spend(double work);
    bool spendStep(double work);
    bool canSpend(double work) const { return !refused() && m_work + work <= double(MaxWork); }
    // For an evaluator that pays step by step but can tell beforehand the least its steps
    // will cost: refuses at once when even that does not fit, charging nothing otherwise (the
    // steps pay as they go).
    bool affordAtLeast(double work);
    bool admitValues(double values);
    bool admitStates(double states);

    bool refused() const { return !m_refusal.isEmpty(); }
    // Why, in Portuguese: "trabalho demais para o cálculo exato (cerca de 1,5 bilhão de
    // operações; o limite é 400 milhões)".
    const QString &refusal() const { return m_refusal; }

    // "1,5 bilhão", "400 milhões", "951".
    static QString amount(double count);

private:
    bool charge(double work, bool step);
    bool refuse(const QString &message);

    double m_work = 0;
    QString m_refusal;
};
