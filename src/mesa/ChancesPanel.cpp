#include "mesa/ChancesPanel.h"

#include "dice/chart/OpposedOdds.h"
#include "dice/expression/DiceExpression.h"
#include "dice/format/OddsText.h"
#include "mesa/MesaButton.h"
#include "mesa/OddsCalculator.h"
#include "mesa/OddsChartView.h"
#include "mesa/RollHistoryModel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString percent(double p)
{
    return QString::fromUtf8(OddsText::percent(p, p >= 1.0)) + QStringLiteral(" %");
}

// Rolls enough for an estimate within about a percentage point, and few enough for a fraction
// of a second whatever the pool: fewer rolls of many dice.
qint64 estimateSamples(const DiceExpression &expression)
{
    const qint64 dice = std::max<qint64>(1, expression.diceCount());
    return std::clamp<qint64>(4'000'000 / dice, 500, 20'000);
}

} // namespace

ChancesPanel::ChancesPanel(OddsCalculator *odds, RollHistoryModel *history, QWidget *parent)
    : QWidget(parent), m_odds(odds), m_history(history)
{
    setObjectName(QStringLiteral("pnlChances"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto *row = new QHBoxLayout;
    auto *lblVer = new QLabel(QStringLiteral("Mos&trar a chance de tirar:"), this);
    cboVer = new QComboBox(this);
    cboVer->setObjectName(QStringLiteral("cboVer"));
    cboVer->setAccessibleName(QStringLiteral("Chance mostrada no gráfico"));
    cboVer->setToolTip(QStringLiteral("Exatamente, pelo menos ou no máximo cada valor (Alt+T)"));
    cboVer->addItem(QStringLiteral("exatamente"), int(ChartView::Exactly));
    cboVer->addItem(QStringLiteral("pelo menos"), int(ChartView::AtLeast));
    cboVer->addItem(QStringLiteral("no máximo"), int(ChartView::AtMost));
    lblVer->setBuddy(cboVer);
    cmdFixar =
        MesaButton(this, "cmdFixar", QStringLiteral("&Fixar"),
                   QStringLiteral("Fixa a expressão no gráfico, para comparar com as próximas "
                                  "(Ctrl+F)"),
                   QStringLiteral("Fixar a expressão no gráfico"));
    cmdEstimar = MesaButton(this, "cmdEstimar", QStringLiteral("Est&imar rolando"),
                            QStringLiteral("Sem chances exatas: estima as chances rolando a "
                                           "expressão muitas vezes (Alt+I)"),
                            QStringLiteral("Estimar as chances rolando"));
    cmdEstimar->hide();
    row->addWidget(lblVer);
    row->addWidget(cboVer);
    row->addWidget(cmdFixar);
    row->addWidget(cmdEstimar);
    row->addStretch(1);
    layout->addLayout(row);

    auto *chartRow = new QHBoxLayout;
    pctChances = new OddsChartView(this);
    pctChances->setObjectName(QStringLiteral("pctChances"));
    chartRow->addWidget(pctChances, 1);
    auto *pins = new QVBoxLayout;
    auto *lblFixadas = new QLabel(QStringLiteral("Fi&xadas"), this);
    lstFixadas = new QListWidget(this);
    lstFixadas->setObjectName(QStringLiteral("lstFixadas"));
    lstFixadas->setAccessibleName(QStringLiteral("Expressões fixadas no gráfico"));
    lstFixadas->setToolTip(QStringLiteral("As expressões fixadas; Delete solta a selecionada"));
    lstFixadas->setMaximumWidth(200);
    lblFixadas->setBuddy(lstFixadas);
    cmdSoltar =
        MesaButton(this, "cmdSoltar", QStringLiteral("So&ltar"),
                   QStringLiteral("Tira do gráfico a expressão fixada selecionada (Delete)"),
                   QStringLiteral("Soltar a expressão fixada"));
    cmdSoltar->setEnabled(false);
    pins->addWidget(lblFixadas);
    pins->addWidget(lstFixadas, 1);
    pins->addWidget(cmdSoltar);
    chartRow->addLayout(pins);
    layout->addLayout(chartRow, 1);

    lblConfronto = new QLabel(this);
    lblConfronto->setObjectName(QStringLiteral("lblConfronto"));
    lblConfronto->setTextFormat(Qt::PlainText);
    lblConfronto->setWordWrap(true);
    lblConfronto->setAccessibleName(QStringLiteral("Chances de uma expressão vencer a outra"));
    lblConfronto->hide();
    layout->addWidget(lblConfronto);

    setTabOrder(cboVer, cmdFixar);
    setTabOrder(cmdFixar, cmdEstimar);
    setTabOrder(cmdEstimar, lstFixadas);
    setTabOrder(lstFixadas, cmdSoltar);

    connect(cboVer, &QComboBox::currentIndexChanged, this,
            [this] { pctChances->setView(ChartView(cboVer->currentData().toInt())); });
    connect(cmdFixar, &QPushButton::clicked, this, &ChancesPanel::pin);
    auto *pinKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(pinKey, &QShortcut::activated, cmdFixar, &QPushButton::click);
    connect(cmdEstimar, &QPushButton::clicked, this, &ChancesPanel::estimate);
    connect(cmdSoltar, &QPushButton::clicked, this, [this] { unpin(lstFixadas->currentRow()); });
    auto *unpinKey = new QShortcut(QKeySequence(Qt::Key_Delete), lstFixadas, nullptr, nullptr,
                                   Qt::WidgetShortcut);
    connect(unpinKey, &QShortcut::activated, cmdSoltar, &QPushButton::click);
    connect(lstFixadas, &QListWidget::currentRowChanged, this,
            [this](int row) { cmdSoltar->setEnabled(row >= 0); });
    connect(m_odds, &OddsCalculator::computed, this,
            [this](const QString &text, bool refused,
                   const std::shared_ptr<const DiceDistribution> &distribution,
                   const QByteArray &key) { computed(refused, distribution, key, text); });
    connect(m_odds, &OddsCalculator::estimated, this, &ChancesPanel::estimated);
    connect(m_odds, &OddsCalculator::kept, this, [this](const QByteArray &key) {
        std::erase(m_preparing, key);
        fillPending();
        markRoll();
    });
    refresh();
}

QWidget *ChancesPanel::firstInTabOrder() const
{
    return cboVer;
}

QWidget *ChancesPanel::lastInTabOrder() const
{
    return cmdSoltar;
}

void ChancesPanel::track(std::shared_ptr<const DiceExpression> expression)
{
    m_expression = std::move(expression);
    m_refusal.clear();
    // An estimate still being rolled is dropped with the text it was for.
    cmdEstimar->hide();
    cmdEstimar->setEnabled(true);
    if (!m_expression) {
        m_key.clear();
        m_current.reset();
        pctChances->setBusy(false);
        refresh();
        return;
    }
    m_key = m_expression->shownUtf8();
    pctChances->setBusy(true);
    m_odds->request(m_expression);
}

void ChancesPanel::computed(bool refused, const std::shared_ptr<const DiceDistribution> &odds,
                            const QByteArray &key, const QString &text)
{
    if (key != m_key)
        return;
    pctChances->setBusy(false);
    if (refused || !odds) {
        m_current.reset();
        m_refusal = text;
        cmdEstimar->show();
    } else {
        m_current = Series{key, {key, *odds}};
    }
    refresh();
}

void ChancesPanel::estimate()
{
    if (!m_expression || m_refusal.isEmpty())
        return;
    pctChances->setBusy(true);
    cmdEstimar->setEnabled(false);
    m_odds->requestEstimate(m_expression, estimateSamples(*m_expression),
                            QRandomGenerator::global()->generate64());
}

void ChancesPanel::estimated(const std::shared_ptr<const DiceDistribution> &odds, qint64 samples,
                             const QByteArray &key)
{
    cmdEstimar->setEnabled(true);
    if (key != m_key)
        return;
    pctChances->setBusy(false);
    if (!odds) {
        m_refusal = QStringLiteral("As rolagens deram valores diferentes demais para uma "
                                   "estimativa.");
        refresh();
        return;
    }
    cmdEstimar->hide();
    m_current = Series{
        key, {key + " (estimativa por " + QByteArray::number(samples) + " rolagens)", *odds}, true};
    refresh();
}

void ChancesPanel::pin()
{
    if (!m_current || int(m_pins.size()) >= MaxSeries
        || std::any_of(m_pins.begin(), m_pins.end(),
                       [this](const Series &s) { return s.key == m_current->key; }))
        return;
    m_pins.push_back(*m_current);
    lstFixadas->addItem(QString::fromUtf8(m_current->series.name));
    refresh();
}

void ChancesPanel::unpin(int row)
{
    if (row < 0 || row >= int(m_pins.size()))
        return;
    m_pins.erase(m_pins.begin() + row);
    delete lstFixadas->takeItem(row);
    refresh();
}

// The chart from the pins and the typed expression (unless it is pinned already, or there is
// no room left), the comparison of two, and what the buttons may do.
void ChancesPanel::refresh()
{
    std::vector<ChartSeries> series;
    bool currentPinned = false;
    for (const Series &p : m_pins) {
        series.push_back(p.series);
        currentPinned = currentPinned || (m_current && p.key == m_current->key);
    }
    const bool currentShown = m_current && !currentPinned && int(series.size()) < MaxSeries;
    if (currentShown)
        series.push_back(m_current->series);
    pctChances->setMessage(series.empty() && m_refusal.isEmpty()
                               ? QStringLiteral("Digite uma expressão para ver as suas chances.")
                               : m_refusal);
    pctChances->setEstimate(currentShown && m_current->estimate
                                ? QStringLiteral("estimativa, não chances exatas")
                                : QString());

    pctChances->setSeries(std::move(series));
    markRoll();
    cmdFixar->setEnabled(m_current && !currentPinned && int(m_pins.size()) < MaxSeries);

    const OddsChart *chart = pctChances->chart();
    if (chart && chart->seriesCount() == 2) {
        const ChartSeries &first = chart->series()[0];
        const ChartSeries &second = chart->series()[1];
        const OpposedOdds vs = OpposedOdds::of(first.odds, second.odds);
        lblConfronto->setText(QString::fromUtf8(first.name) + QStringLiteral(" contra ")
                              + QString::fromUtf8(second.name) + QStringLiteral(": vence ")
                              + percent(vs.beats) + QStringLiteral(", empata ") + percent(vs.ties)
                              + QStringLiteral(", perde ") + percent(vs.loses));
        lblConfronto->show();
    } else {
        lblConfronto->clear();
        lblConfronto->hide();
    }
}

void ChancesPanel::rolled(const RollEntry &entry, const DiceExpression &expression)
{
    m_rolledKey = entry.expression.toUtf8();
    m_rolledTotal = entry.total;
    m_pending.push_back({entry.seq, m_rolledKey, entry.total});
    if (m_pending.size() > MaxPending)
        m_pending.erase(m_pending.begin());
    fillPending();
    if (!m_pending.empty() && m_pending.back().seq == entry.seq
        && std::find(m_preparing.begin(), m_preparing.end(), m_rolledKey) == m_preparing.end()) {
        m_preparing.push_back(m_rolledKey);
        m_odds->prepare(std::make_shared<const DiceExpression>(expression));
    }
    markRoll();
}

// Marks the last roll's total on the chart when its expression's exact odds are there.
void ChancesPanel::markRoll()
{
    std::optional<Fraction> marker;
    const auto exactOf = [&](const Series &s) {
        if (!marker && !s.estimate && s.key == m_rolledKey)
            marker = RollLuck::valueShown(s.series.odds, m_rolledTotal);
    };
    for (const Series &p : m_pins)
        exactOf(p);
    const OddsChart *chart = pctChances->chart();
    if (m_current && chart && chart->seriesCount() > qsizetype(m_pins.size()))
        exactOf(*m_current);
    pctChances->setMarker(marker);
}

// Gives every waiting roll whose odds are now known its luck.
void ChancesPanel::fillPending()
{
    std::erase_if(m_pending, [this](const Pending &p) {
        const OddsCalculator::Answer *known = m_odds->cached(p.key);
        if (!known)
            return false;
        if (known->odds) {
            if (const auto value = RollLuck::valueShown(*known->odds, p.total))
                m_history->setLuck(p.seq, RollLuck::of(*known->odds, *value));
        }
        return true;
    });
}
