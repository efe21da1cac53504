#include "mesa/LuckPanel.h"

#include "dice/audit/AuditWords.h"
#include "mesa/LuckTally.h"

#include <QCheckBox>
#include <QFutureWatcher>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace {

// The largest die whose faces' counts are shown in their row.
constexpr quint32 ListedFaces = 10;

QString plural(qint64 count, const char *one, const char *many)
{
    return AuditWords::whole(count) + u' ' + QString::fromUtf8(count == 1 ? one : many);
}

QString pOf(const GoodnessOfFit &fit)
{
    return fit.testable() ? AuditWords::pValue(fit.pValue) : QStringLiteral("—");
}

QString chiSquared(const GoodnessOfFit &fit)
{
    return fit.testable() ? QStringLiteral("χ² %1 (%2 g.l.)")
                                .arg(AuditWords::decimal(fit.statistic, 2),
                                     QString::number(fit.degreesOfFreedom))
                          : QStringLiteral("poucos para o teste");
}

QTreeWidgetItem *row(QTreeWidgetItem *parent, QTreeWidget *tree, const QStringList &cells)
{
    auto *item = parent ? new QTreeWidgetItem(parent, cells) : new QTreeWidgetItem(tree, cells);
    for (int c = 0; c < cells.size(); ++c)
        item->setToolTip(c, cells[c]);
    return item;
}

} // namespace

LuckPanel::LuckPanel(QWidget *parent) : QDockWidget(QStringLiteral("Sorte da sessão"), parent)
{
    setObjectName(QStringLiteral("dckSorte"));
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    lblSorte = new QLabel(body);
    lblSorte->setObjectName(QStringLiteral("lblSorte"));
    lblSorte->setAccessibleName(QStringLiteral("Resumo da auditoria de sorte"));
    lblSorte->setTextFormat(Qt::PlainText);
    lblSorte->setWordWrap(true);
    chkPorRotulo = new QCheckBox(QStringLiteral("Cada rótulo à parte"), body);
    chkPorRotulo->setObjectName(QStringLiteral("chkPorRotulo"));
    chkPorRotulo->setAccessibleName(QStringLiteral("Auditar cada rótulo à parte"));
    chkPorRotulo->setToolTip(QStringLiteral("Audita as rolagens de cada rótulo (\"# Ana\") à "
                                            "parte, como quessar-cli auditar --por-rotulo"));
    lstSorte = new QTreeWidget(body);
    lstSorte->setObjectName(QStringLiteral("lstSorte"));
    lstSorte->setAccessibleName(QStringLiteral("Auditoria de sorte da sessão"));
    lstSorte->setToolTip(QStringLiteral(
        "Cada expressão contra as suas chances exatas, cada tamanho de dado contra um dado "
        "honesto e a sorte média: p é a chance de dados honestos se afastarem tanto"));
    lstSorte->setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Quantos"),
                               QStringLiteral("Visto"), QStringLiteral("Esperado"),
                               QStringLiteral("p"), QStringLiteral("Veredito")});
    lstSorte->setUniformRowHeights(true);
    lstSorte->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(lblSorte);
    layout->addWidget(chkPorRotulo);
    layout->addWidget(lstSorte, 1);
    setWidget(body);
    setTabOrder(chkPorRotulo, lstSorte);

    connect(chkPorRotulo, &QCheckBox::toggled, this, [this] { setRecord(m_path); });
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && m_pending && !m_running)
            start();
    });
}

LuckPanel::~LuckPanel()
{
    m_future.waitForFinished();
}

void LuckPanel::setRecord(const QString &path)
{
    m_path = path;
    // A running update goes on with the tally it has; its answer is dropped.
    m_tally =
        path.isEmpty() ? nullptr : std::make_shared<LuckTally>(path, chkPorRotulo->isChecked());
    lstSorte->clear();
    lblSorte->clear();
    recordChanged();
}

void LuckPanel::recordChanged()
{
    m_pending = m_tally != nullptr;
    if (m_pending && !m_running && isVisible())
        start();
}

void LuckPanel::start()
{
    m_pending = false;
    m_running = true;
    const std::shared_ptr<LuckTally> tally = m_tally;
    m_future = QtConcurrent::run([tally] {
        Outcome outcome;
        outcome.read = tally->update(outcome.report, outcome.error);
        return outcome;
    });
    auto *watcher = new QFutureWatcher<Outcome>(this);
    connect(watcher, &QFutureWatcher<Outcome>::finished, this, [this, watcher, tally] {
        watcher->deleteLater();
        m_running = false;
        if (tally == m_tally)
            display(watcher->result());
        if (m_pending && isVisible())
            start();
        else
            emit updated();
    });
    watcher->setFuture(m_future);
}

void LuckPanel::display(const Outcome &outcome)
{
    if (!outcome.read) {
        lblSorte->setText(QStringLiteral("O registro não pôde ser lido para a auditoria: ")
                          + outcome.error);
        return;
    }
    const AuditReport &report = outcome.report;
    lblSorte->setText(report.rolls == 0
                          ? QStringLiteral("Auditoria de sorte: nenhuma rolagem ainda.")
                          : QStringLiteral("Auditoria de sorte: ")
                                + plural(report.rolls, "rolagem", "rolagens")
                                + QStringLiteral(", contra as chances exatas."));
    lstSorte->setUpdatesEnabled(false);
    lstSorte->clear();
    for (const AuditGroup &group : report.groups) {
        if (!report.byLabel) {
            addGroup(nullptr, group);
            continue;
        }
        auto *labelRow =
            row(nullptr, lstSorte,
                {group.label.isEmpty() ? QStringLiteral("sem rótulo")
                                       : QStringLiteral("rótulo \"") + group.label + u'"',
                 AuditWords::whole(group.rolls)});
        addGroup(labelRow, group);
    }
    lstSorte->expandAll();
    lstSorte->setUpdatesEnabled(true);
}

void LuckPanel::addGroup(QTreeWidgetItem *parent, const AuditGroup &group)
{
    for (const ExpressionAudit &audit : group.expressions) {
        if (!audit.refusal.isEmpty()) {
            row(parent, lstSorte,
                {audit.expression, AuditWords::whole(audit.rolls),
                 QStringLiteral("média ") + AuditWords::decimal(audit.observedMean, 2), QString(),
                 QString(),
                 QStringLiteral("sem as chances exatas, não auditada: ") + audit.refusal});
            continue;
        }
        auto *item =
            row(parent, lstSorte,
                {audit.expression, AuditWords::whole(audit.rolls),
                 QStringLiteral("média ") + AuditWords::decimal(audit.observedMean, 2),
                 AuditWords::decimal(audit.exactMean, 2) + QStringLiteral(" ± ")
                     + AuditWords::decimal(audit.standardError, 2),
                 pOf(audit.fit),
                 AuditWords::verdict(AuditFinding::worse(audit.mean, audit.distribution))});
        row(item, lstSorte,
            {QStringLiteral("média"), QString(), AuditWords::decimal(audit.observedMean, 2),
             AuditWords::decimal(audit.exactMean, 2), AuditWords::pValue(audit.mean.pValue),
             AuditWords::verdict(audit.mean)});
        row(item, lstSorte,
            {QStringLiteral("somas"), QString(), chiSquared(audit.fit), QString(), pOf(audit.fit),
             AuditWords::verdict(audit.distribution)});
        if (audit.impossible > 0)
            row(item, lstSorte,
                {QStringLiteral("totais impossíveis"), AuditWords::whole(audit.impossible)});
    }
    for (const DieAudit &die : group.dice) {
        QString faces;
        if (die.faces <= 20)
            for (std::size_t f = 0; f < die.counts.size(); ++f)
                faces += (f ? QStringLiteral("  ") : QString()) + QStringLiteral("%1: ").arg(f + 1)
                         + AuditWords::whole(die.counts[f]);
        const double expected = double(die.draws - die.impossible) / die.faces;
        auto *item = row(parent, lstSorte,
                         {QStringLiteral("d%1").arg(die.faces), AuditWords::whole(die.draws),
                          faces.isEmpty() ? chiSquared(die.fit) : faces,
                          AuditWords::decimal(expected, 1) + QStringLiteral(" de cada face"),
                          pOf(die.fit), AuditWords::verdict(die.finding)});
        // Larger dice list their faces in the tooltip: the column stays readable.
        if (die.faces > ListedFaces) {
            item->setText(Seen, chiSquared(die.fit));
            item->setToolTip(Seen, faces);
        }
        if (!faces.isEmpty() && die.faces <= ListedFaces)
            row(item, lstSorte,
                {QStringLiteral("faces"), QString(), chiSquared(die.fit), QString(), pOf(die.fit),
                 AuditWords::verdict(die.finding)});
        if (die.hasExtremes && die.faces == 20) {
            const AuditFinding worst = AuditFinding::worse(die.lowestFinding, die.highestFinding);
            row(item, lstSorte,
                {QStringLiteral("1s e 20s"), QString(),
                 QStringLiteral("%1 e %2").arg(AuditWords::whole(die.lowest),
                                               AuditWords::whole(die.highest)),
                 AuditWords::decimal(die.expectedEach, 1) + QStringLiteral(" de cada"),
                 AuditWords::pValue(worst.pValue), AuditWords::verdict(worst)});
        }
        if (die.impossible > 0)
            row(item, lstSorte,
                {QStringLiteral("faces impossíveis"), AuditWords::whole(die.impossible)});
    }
    if (group.rollsWithoutDraws > 0)
        row(parent, lstSorte,
            {QStringLiteral("sem os sorteios"), AuditWords::whole(group.rollsWithoutDraws),
             QString(), QString(), QString(), QStringLiteral("faces não auditadas")});
    const LuckSummary &luck = group.luck;
    if (luck.rolls > 0)
        row(parent, lstSorte,
            {QStringLiteral("sorte média"), AuditWords::whole(luck.rolls),
             AuditWords::decimal(100 * luck.meanLuck, 1) + QStringLiteral(" %"),
             QStringLiteral("50 % ± ") + AuditWords::decimal(100 * luck.standardError, 1),
             AuditWords::pValue(luck.finding.pValue), AuditWords::verdict(luck.finding)});
}
