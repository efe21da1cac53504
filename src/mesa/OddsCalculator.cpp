#include "mesa/OddsCalculator.h"

#include "dice/expression/DiceExpression.h"
#include "dice/odds/DiceOdds.h"

#include <QLocale>
#include <QMetaObject>
#include <QPointer>

namespace {

QString number(double value)
{
    // A comma as the decimal mark, as everywhere in the program; no grouping.
    QString text = QString::number(value, 'g', 6);
    text.replace(u'.', u',');
    return text;
}

} // namespace

OddsCalculator::OddsCalculator(QObject *parent)
    : QObject(parent), m_generation(std::make_shared<std::atomic<quint64>>(0))
{
    m_pool.setMaxThreadCount(1);
}

OddsCalculator::~OddsCalculator()
{
    cancel();
    m_pool.waitForDone();
}

QString OddsCalculator::summary(const DiceExpression &expression, bool &refused)
{
    const auto odds = DiceOdds::evaluate(expression);
    if (const auto *refusal = std::get_if<DiceOddsRefusal>(&odds)) {
        refused = true;
        return QStringLiteral("sem chances exatas: ") + refusal->reason;
    }
    refused = false;
    const DiceDistribution &distribution = std::get<DiceDistribution>(odds);
    return QStringLiteral("média ") + number(distribution.mean())
           + QStringLiteral(" · desvio-padrão ") + number(distribution.standardDeviation())
           + QStringLiteral(" · mínimo ") + distribution.minimum().decimal(4, ',')
           + QStringLiteral(" · máximo ") + distribution.maximum().decimal(4, ',');
}

void OddsCalculator::request(std::shared_ptr<const DiceExpression> expression)
{
    const quint64 generation = ++*m_generation;
    const auto current = m_generation;
    QPointer<OddsCalculator> self(this);
    m_pool.start([self, current, generation, expression = std::move(expression)] {
        if (current->load() != generation)
            return; // a newer keystroke came while this one waited
        bool refused = false;
        const QString text = summary(*expression, refused);
        if (current->load() != generation)
            return;
        // Handed to the calculator's thread; dropped there too if a newer request came.
        QMetaObject::invokeMethod(
            self.data(),
            [self, current, generation, text, refused] {
                if (self && current->load() == generation)
                    emit self->computed(text, refused);
            },
            Qt::QueuedConnection);
    });
}

void OddsCalculator::cancel()
{
    ++*m_generation;
}

void OddsCalculator::waitForIdle()
{
    m_pool.waitForDone();
}
