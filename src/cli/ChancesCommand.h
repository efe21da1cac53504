#pragma once

#include "cli/CliCommand.h"

class DiceExpression;

// quessar-cli chances: the exact odds of dice expressions, in the notation of "dados".
class ChancesCommand final : public CliCommand
{
public:
    // At most this many rolls for an estimate (--amostras).
    static constexpr qint64 MaxSamples = 10'000'000;
    // At most this many dice rolled for one estimate, counted before explosions: samples
    // times the expression's dice. Keeps an estimate to about a second, as in "dados".
    static constexpr qint64 MaxSampledDice = 100'000'000;

    QString name() const override { return QStringLiteral("chances"); }
    QString summary() const override
    {
        return QStringLiteral("Chances exatas de cada resultado (4d6kh3, 10d10>=8…).");
    }
    int run(const QStringList &arguments, CliOutput &out, CliOutput &err) override;
};
