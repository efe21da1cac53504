// The luck audit: the goodness-of-fit test and its bins, each roll's luck and the mean luck's
// exact spread, verdicts on fair and loaded dice rolled through the real DiceRoller, and the
// lines of a record as the audit reads them.

#include "DiceTestSupport.h"

#include "dice/audit/AuditLineReader.h"
#include "dice/audit/GoodnessOfFit.h"
#include "dice/audit/LuckAudit.h"
#include "dice/audit/RollLine.h"
#include "dice/record/RecordingDieSource.h"
#include "dice/roll/SplitMixDieSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using dicetest::odds;
using dicetest::parsed;

// A die that shows its highest face more often: with chance `bias` it shows it outright,
// otherwise it rolls fairly (a d6 at bias 0.1 shows 6 a quarter of the time, not a sixth).
class LoadedDieSource final : public DieSource
{
public:
    LoadedDieSource(std::uint64_t seed, double bias) : m_fair(seed), m_bias(std::uint32_t(bias * 1000)) {}
    std::uint32_t roll(std::uint32_t faces) override
    {
        return m_fair.roll(1000) <= m_bias ? faces : m_fair.roll(faces);
    }

private:
    SplitMixDieSource m_fair;
    std::uint32_t m_bias;
};

// `rolls` rolls of `text` from `source` through the real roller, with every draw as a session
// record keeps them.
AuditReport audited(const QString &text, qint64 rolls, DieSource &source, LuckAudit &audit)
{
    const DiceExpression expression = parsed(text);
    RecordingDieSource recording(source);
    DiceRoller roller(expression, recording);
    const QByteArray utf8 = expression.shownUtf8();
    std::vector<DrawnFace> draws;
    for (qint64 r = 0; r < rolls; ++r) {
        recording.clear();
        EXPECT_TRUE(roller.roll());
        draws.clear();
        for (const DieDraw &draw : recording.draws())
            draws.push_back({draw.faces, draw.value});
        audit.add(utf8, expression.label().toUtf8(), roller.outcome().total,
                  std::span<const DrawnFace>(draws));
    }
    return audit.report();
}

// Whether anything in the audit is flagged: a total, a mean, a face or the luck.
bool flagged(const AuditReport &report)
{
    for (const AuditGroup &group : report.groups) {
        bool any = group.luck.finding.flagged();
        for (const ExpressionAudit &e : group.expressions)
            any = any || e.mean.flagged() || e.distribution.flagged();
        for (const DieAudit &d : group.dice)
            any = any || d.finding.flagged() || d.lowestFinding.flagged() || d.highestFinding.flagged();
        if (any)
            return true;
    }
    return false;
}

// 60 rolls of a d6 showing 5, 8, 9, 8, 10 and 20 of each face: χ² = 134 / 10 = 13.4 with 5
// degrees of freedom; p from the closed form for an odd number of degrees,
// 2(1 − Φ(√x)) + √(2x/π) e^(−x/2) (1 + x/3) = 0.0199052203…
TEST(GoodnessOfFit, WorkedExampleOfALoadedD6)
{
    const std::vector<qint64> counts{5, 8, 9, 8, 10, 20};
    const std::vector<double> flat(6, 1.0 / 6);
    const GoodnessOfFit fit = GoodnessOfFit::test(counts, flat, 60);
    ASSERT_TRUE(fit.testable());
    EXPECT_NEAR(fit.statistic, 13.4, 1e-12);
    EXPECT_EQ(fit.degreesOfFreedom, 5);
    EXPECT_NEAR(fit.pValue, 0.019905220334774376, 1e-12);
}

// Cells join their neighbours, in order, until a bin expects 5; a short last bin joins the one
// before; a single bin cannot be tested.
TEST(GoodnessOfFit, MergesBinsToAnExpectedFive)
{
    struct Row
    {
        std::vector<double> probabilities;
        qint64 total;
        std::vector<double> expected;
    };
    const std::vector<Row> rows{
        {{0.02, 0.03, 0.45, 0.45, 0.05}, 100, {5, 45, 45, 5}},
        {{0.45, 0.45, 0.06, 0.04}, 100, {45, 45, 10}},
        {{0.01, 0.01, 0.01, 0.94, 0.01, 0.01, 0.01}, 100, {100}},
        {{0.5, 0.5}, 8, {8}},
        {{1.0}, 1000, {1000}},
    };
    for (const Row &row : rows) {
        std::vector<qint64> counts;
        for (const double p : row.probabilities)
            counts.push_back(qint64(std::llround(p * double(row.total))));
        const GoodnessOfFit fit = GoodnessOfFit::test(counts, row.probabilities, row.total);
        const std::vector<double> &expected = row.expected;
        ASSERT_EQ(fit.expected.size(), expected.size()) << row.total;
        qint64 observed = 0;
        for (std::size_t b = 0; b < expected.size(); ++b) {
            EXPECT_NEAR(fit.expected[b], expected[b], 1e-9) << b;
            observed += fit.observed[b];
        }
        EXPECT_EQ(observed, row.total);
        EXPECT_EQ(fit.testable(), expected.size() >= 2);
        EXPECT_EQ(fit.degreesOfFreedom, expected.size() >= 2 ? qint64(expected.size()) - 1 : 0);
    }
}

// A roll's luck is its mid-percentile: a 6 on a d6 is 11/12, a 1 is 1/12; for fair dice the
// mean luck is 1/2 with the exact variance (1 − Σ p³) / 12 per roll, here checked against
// Σ p u² − 1/4 summed over a lopsided distribution.
TEST(LuckAudit, MeanLuckAndItsExactSpread)
{
    LuckAudit sixes;
    for (int r = 0; r < 40; ++r)
        sixes.add("1d6", "", 6, std::nullopt);
    EXPECT_NEAR(sixes.report().groups[0].luck.meanLuck, 11.0 / 12, 1e-12);
    EXPECT_EQ(sixes.report().groups[0].luck.finding.verdict, AuditVerdict::Extreme);

    LuckAudit even;
    for (int r = 0; r < 36; ++r)
        even.add("1d6", "", 1 + r % 6, std::nullopt);
    const LuckSummary luck = even.report().groups[0].luck;
    EXPECT_NEAR(luck.meanLuck, 0.5, 1e-12);
    EXPECT_NEAR(luck.standardError, std::sqrt(36 * 35.0 / 432) / 36, 1e-12);
    EXPECT_EQ(luck.finding.verdict, AuditVerdict::Ordinary);

    const DiceDistribution dist = odds(parsed("4d6kh3"));
    double below = 0;
    double squares = 0;
    dist.forEach([&](Fraction, double p) {
        const double u = below + p / 2;
        squares += p * u * u;
        below += p;
    });
    LuckAudit one;
    one.add("4d6kh3", "", 12, std::nullopt);
    EXPECT_NEAR(std::pow(one.report().groups[0].luck.standardError, 2), squares - 0.25, 1e-12);
}

// Fair dice rolled through the real roller seldom raise a flag and a die that shows 6 a
// quarter of the time always does, over fixed seeds (so never flaky). Each audit makes about
// seven tests at 1 %: a fair one is flagged a few times in a hundred, so at most 10 of 100
// (a 0.2 % chance for fair dice); the loaded die is caught in each of 100 sessions of 600 rolls.
TEST(LuckAudit, FlagsALoadedDieAndNotFairOnes)
{
    int fairFlagged = 0;
    int loadedFlagged = 0;
    for (std::uint64_t seed = 1; seed <= 100; ++seed) {
        SplitMixDieSource fair(seed);
        LuckAudit fairAudit;
        audited("4d6kh3", 600, fair, fairAudit);
        fairFlagged += flagged(audited("1d20+5", 300, fair, fairAudit));

        LoadedDieSource loaded(seed, 0.1);
        LuckAudit loadedAudit;
        const AuditReport report = audited("4d6kh3", 600, loaded, loadedAudit);
        loadedFlagged += flagged(report);
        if (seed == 1) {
            const AuditGroup &group = report.groups[0];
            EXPECT_TRUE(group.dice[0].finding.flagged());
            EXPECT_GT(group.luck.meanLuck, 0.5);
            EXPECT_GT(group.expressions[0].observedMean, group.expressions[0].exactMean);
        }
    }
    EXPECT_LE(fairFlagged, 10) << fairFlagged;
    std::printf("fair audits flagged: %d of 100; loaded: %d of 100\n", fairFlagged, loadedFlagged);
    EXPECT_EQ(loadedFlagged, 100);
}

// What fair dice cannot give, or too little to tell, or odds that are refused.
TEST(LuckAudit, ImpossibleTotalsSmallSamplesAndRefusedOdds)
{
    LuckAudit audit;
    const std::vector<DrawnFace> badFace{{6, 7}};
    for (int r = 0; r < 40; ++r)
        audit.add("1d6", "", r == 0 ? 7 : 1 + r % 6, std::span<const DrawnFace>(badFace));
    const AuditReport report = audit.report();
    EXPECT_EQ(report.groups[0].expressions[0].impossible, 1);
    EXPECT_EQ(report.groups[0].expressions[0].distribution.verdict, AuditVerdict::Impossible);
    EXPECT_EQ(report.groups[0].dice[0].impossible, 40);
    EXPECT_EQ(report.groups[0].dice[0].finding.verdict, AuditVerdict::Impossible);

    LuckAudit few;
    SplitMixDieSource source(7);
    const AuditReport small = audited("1d20", 10, source, few);
    EXPECT_EQ(small.groups[0].expressions[0].distribution.verdict, AuditVerdict::TooFew);
    EXPECT_EQ(small.groups[0].dice[0].finding.verdict, AuditVerdict::TooFew);
    EXPECT_EQ(small.groups[0].luck.finding.verdict, AuditVerdict::TooFew);

    LuckAudit refused;
    const std::vector<DrawnFace> d20{{20, 20}, {20, 3}};
    refused.add("30d20!kh10", "", 40, std::span<const DrawnFace>(d20));
    refused.add("2d6+", "", 4, std::nullopt);
    const AuditReport unknown = refused.report();
    ASSERT_EQ(unknown.groups[0].expressions.size(), 2u);
    EXPECT_FALSE(unknown.groups[0].expressions[0].refusal.isEmpty());
    EXPECT_TRUE(unknown.groups[0].expressions[1].refusal.startsWith(u"a expressão não pôde ser lida"));
    EXPECT_EQ(unknown.groups[0].dice[0].draws, 2);
    EXPECT_EQ(unknown.groups[0].luck.rolls, 0);
}

// By label, each label (and the rolls without one) gets its own expressions, dice and luck.
TEST(LuckAudit, GroupsByLabel)
{
    LuckAudit audit(true);
    const std::vector<DrawnFace> twenty{{20, 20}};
    const std::vector<DrawnFace> one{{20, 1}};
    for (int r = 0; r < 100; ++r) {
        audit.add("1d20+5", "Ana", 25, std::span<const DrawnFace>(twenty));
        audit.add("1d20+5", "Bruno", 6, std::span<const DrawnFace>(one));
        audit.add("1d20+5", "", 15, std::nullopt);
    }
    const AuditReport report = audit.report();
    ASSERT_EQ(report.groups.size(), 3u);
    EXPECT_EQ(report.groups[0].label, "Ana");
    EXPECT_NEAR(report.groups[0].luck.meanLuck, 39.0 / 40, 1e-12);
    EXPECT_EQ(report.groups[0].dice[0].highest, 100);
    EXPECT_EQ(report.groups[1].label, "Bruno");
    EXPECT_NEAR(report.groups[1].luck.meanLuck, 1.0 / 40, 1e-12);
    EXPECT_EQ(report.groups[1].dice[0].lowestFinding.verdict, AuditVerdict::Extreme);
    EXPECT_EQ(report.groups[2].label, "");
    EXPECT_EQ(report.groups[2].rollsWithoutDraws, 100);
    EXPECT_TRUE(report.groups[2].dice.empty());

    LuckAudit together;
    together.add("1d20+5", "Ana", 25, std::nullopt);
    together.add("1d20+5", "Bruno", 6, std::nullopt);
    EXPECT_EQ(together.report().groups.size(), 1u);
    EXPECT_EQ(together.report().groups[0].expressions[0].rolls, 2);
}

// The lines of a record and of --json output as the audit reads them.
TEST(RollLine, ReadsRecordAndJsonLines)
{
    struct Row
    {
        const char *line;
        RollLine::Kind kind;
        const char *expression;
        const char *label;
        Fraction total;
        qsizetype draws; // -1: none listed
    };
    const Fraction half = *Fraction::of(7, 2);
    const std::vector<Row> rows{
        {R"({"registro":"quessar","versao":1,"programa":"quessar-cli 1.0.0","criado":"x"})",
         RollLine::Kind::Other, "", "", 0, -1},
        {R"({"tipo":"rolagem","seq":1,"hora":"t","expressao":"4d6kh3","termos":[{"termo":"4d6kh3","dados":[{"valor":6,"mantido":true}],"soma":14}],"total":14,"sorteios":[[6,6],[6,5],[6,3],[6,2]]})",
         RollLine::Kind::Roll, "4d6kh3", "", 14, 4},
        {R"({"expressao":"1d20+5","rotulo":"Jos\u00e9 \"o bravo\"","termos":[],"total":-3})",
         RollLine::Kind::Roll, "1d20+5", "José \"o bravo\"", -3, -1},
        {R"( { "expressao" : "1d6/2" , "total" : 3.5 , "fracao" : "7/2", "sorteios": [] } )",
         RollLine::Kind::Roll, "1d6/2", "", half, 0},
        {R"({"tipo":"sal","hora":"t","sal":"abc"})", RollLine::Kind::Other, "", "", 0, -1},
        {R"({"tipo":"fechamento","hora":"t","segredo":"00"})", RollLine::Kind::Other, "", "", 0, -1},
        {R"({"tipo":"rolagem","seq":9,"hora":"t","expressao":"4d6kh3","termos":[{"te)",
         RollLine::Kind::Broken, "", "", 0, -1},
        {R"({"expressao":"3d6","total":10} x)", RollLine::Kind::Broken, "", "", 0, -1},
        {R"({"expressao":"3d6"})", RollLine::Kind::Broken, "", "", 0, -1},
        {R"({"expressao":"3d6","total":10,"sorteios":[[6,1],[6]]})", RollLine::Kind::Broken, "", "", 0, -1},
        {R"({"expressao":"3d6","total":10,"x":"\ud800"})", RollLine::Kind::Broken, "", "", 0, -1},
        {"", RollLine::Kind::Broken, "", "", 0, -1},
    };
    RollLine reader;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.line);
        ASSERT_EQ(reader.read(row.line), row.kind);
        if (row.kind != RollLine::Kind::Roll)
            continue;
        EXPECT_EQ(reader.expression(), QByteArrayView(row.expression));
        EXPECT_EQ(QString::fromUtf8(reader.label()), QString::fromUtf8(row.label));
        EXPECT_EQ(reader.total(), row.total);
        EXPECT_EQ(reader.hasDraws(), row.draws >= 0);
        if (row.draws >= 0) {
            EXPECT_EQ(qsizetype(reader.draws().size()), row.draws);
        }
    }
    ASSERT_EQ(reader.read(rows[1].line), RollLine::Kind::Roll);
    EXPECT_EQ(reader.draws()[1].faces, 6u);
    EXPECT_EQ(reader.draws()[1].value, 5u);
}

// A stream read in blocks of any size audits the same whole lines: a line cut by a block
// waits for its end, a broken line is named by its number, a filtered label is left out,
// and a last line without its "\n" counts only at the end of the stream.
TEST(AuditLineReader, FeedsWholeLinesInAnyBlocks)
{
    const QByteArray stream =
        R"({"registro":"quessar","versao":1,"programa":"quessar-mesa 1.0.0","criado":"x"})" "\n"
        R"({"tipo":"rolagem","seq":1,"hora":"t","expressao":"1d6","total":4,"sorteios":[[6,4]]})" "\n"
        R"({"tipo":"rolagem","seq":2,"hora":"t","expressao":"1d6","rotulo":"teste","total":6,"sorteios":[[6,6]]})" "\r\n"
        R"({"tipo":"rolagem","seq":3,"hora":"t","expressao":"1d6","tot)" "\n"
        "\n"
        R"({"tipo":"rolagem","seq":4,"hora":"t","expressao":"2d6","total":7,"sorteios":[[6,3],[6,4]]})" "\n"
        R"({"expressao":"1d6","total":1})";
    for (const qsizetype block : {qsizetype(1), qsizetype(5), qsizetype(64), stream.size()}) {
        SCOPED_TRACE(block);
        LuckAudit audit;
        std::vector<qint64> broken;
        AuditLineReader reader(audit, {{}, {QStringLiteral("teste")}},
                               [&](qint64 line) { broken.push_back(line); });
        for (qsizetype at = 0; at < stream.size(); at += block)
            reader.feed(QByteArrayView(stream).sliced(at, std::min(block, stream.size() - at)));
        EXPECT_EQ(audit.rolls(), 2);
        reader.finish();
        EXPECT_EQ(audit.rolls(), 3);
        EXPECT_EQ(broken, std::vector<qint64>{4});
        EXPECT_EQ(reader.brokenLines(), 1);
        const AuditReport report = audit.report();
        ASSERT_EQ(report.groups.size(), 1u);
        ASSERT_EQ(report.groups[0].expressions.size(), 2u);
        EXPECT_EQ(report.groups[0].expressions[0].rolls, 2);
        EXPECT_EQ(report.groups[0].rollsWithoutDraws, 1);
        ASSERT_EQ(report.groups[0].dice.size(), 1u);
        EXPECT_EQ(report.groups[0].dice[0].draws, 3);
    }
}

} // namespace
