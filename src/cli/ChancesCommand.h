#pragma once

#include "cli/CliCommand.h"

#include "dice/chart/OddsChart.h"

#include <optional>
#include <vector>

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
    // At most this many expressions set side by side (--comparar), and this many series in
    // all once a sweep (--variar) multiplies them.
    static constexpr int MaxCompared = 8;
    static constexpr int MaxSeries = 50;
    // At most this many targets (--alvos).
    static constexpr qint64 MaxTargets = 100'000;

    QString name() const override { return QStringLiteral("chances"); }
    QString summary() const override
    {
        return QStringLiteral("Chances exatas de cada resultado (4d6kh3, 10d10>=8…).");
    }
    int run(const QStringList &arguments, CliOutput &out, CliOutput &err) override;

private:
    // What a comparison asks for: the view, the targets (none: every value), the sweep, the
    // form of the output and the picture's file.
    struct ChartRequest
    {
        ChartView view = ChartView::Exactly;
        std::optional<std::vector<Fraction>> targets;
        std::optional<std::pair<qint64, qint64>> sweep;
        bool difference = false;
        bool json = false;
        bool csv = false;
        bool csvBrazilian = false;
        bool svg = false;
        QString svgPath;
    };
    int runChart(const QStringList &texts, const ChartRequest &request, CliOutput &out,
                 CliOutput &err) const;
};
