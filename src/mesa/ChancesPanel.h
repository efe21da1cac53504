#pragma once

#include "dice/chart/OddsChart.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class DiceExpression;
class OddsCalculator;
class OddsChartView;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class RollHistoryModel;
struct RollEntry;

// The chart of the typed expression's odds with what goes around it: which chance it shows
// (exactly, at least, at most), the expressions pinned to compare with it and, for two, the
// chances that one beats the other; an estimate by rolling when the exact odds are refused;
// and each roll's luck, given to the history once its expression's odds are known.
class ChancesPanel final : public QWidget
{
    Q_OBJECT

public:
    // At most this many series on the chart (pinned and typed).
    static constexpr int MaxSeries = 8;
    // At most this many rolls wait for their odds (the newest: a roll whose expression's
    // odds are never asked for, such as a saved roll, gets no luck).
    static constexpr std::size_t MaxPending = 64;

    ChancesPanel(OddsCalculator *odds, RollHistoryModel *history, QWidget *parent = nullptr);

    // The typed expression changed: its odds are asked for (the chart keeps the last ones,
    // marked, meanwhile). Nothing: no expression, the pinned ones alone stay.
    void track(std::shared_ptr<const DiceExpression> expression);
    // A roll was shown: its total marked when its expression is on the chart, and its luck
    // given to the history now or when the odds arrive.
    void rolled(const RollEntry &entry, const DiceExpression &expression);

    QWidget *firstInTabOrder() const;
    QWidget *lastInTabOrder() const;

private:
    struct Series
    {
        QByteArray key; // the expression as shown, without its label
        ChartSeries series;
        bool estimate = false; // rolled, not exact: no measure of a roll's luck
    };
    struct Pending
    {
        qint64 seq;
        QByteArray key;
        QString total;
    };

    void computed(bool refused, const std::shared_ptr<const DiceDistribution> &odds,
                  const QByteArray &key, const QString &text);
    void estimated(const std::shared_ptr<const DiceDistribution> &odds, qint64 samples,
                   const QByteArray &key);
    void estimate();
    void pin();
    void unpin(int row);
    void refresh();
    void markRoll();
    void fillPending();

    OddsCalculator *m_odds;
    RollHistoryModel *m_history;
    std::shared_ptr<const DiceExpression> m_expression;
    QByteArray m_key;                // of m_expression
    std::optional<Series> m_current; // its odds, once known
    QString m_refusal;               // why its exact odds were refused, or empty
    std::vector<Series> m_pins;
    std::vector<Pending> m_pending;
    std::vector<QByteArray> m_preparing; // rolled expressions whose odds are being worked out
    QByteArray m_rolledKey; // the last roll, marked when its expression is on the chart
    QString m_rolledTotal;

    QComboBox *cboVer = nullptr;
    QPushButton *cmdFixar = nullptr;
    QPushButton *cmdEstimar = nullptr;
    OddsChartView *pctChances = nullptr;
    QListWidget *lstFixadas = nullptr;
    QPushButton *cmdSoltar = nullptr;
    QLabel *lblConfronto = nullptr;
};
