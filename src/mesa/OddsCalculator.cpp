#include "mesa/OddsCalculator.h"

#include "dice/expression/DiceExpression.h"
#include "dice/odds/DiceOdds.h"
#include "dice/odds/SampledOdds.h"
#include "dice/roll/SplitMixDieSource.h"

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
    m_estimatePool.setMaxThreadCount(1);
    m_preparePool.setMaxThreadCount(1);
}

OddsCalculator::~OddsCalculator()
{
    cancel();
    m_pool.waitForDone();
    m_estimatePool.waitForDone();
    m_preparePool.waitForDone();
}

QString OddsCalculator::summary(const DiceDistribution &distribution)
{
    return QStringLiteral("média ") + number(distribution.mean())
           + QStringLiteral(" · desvio-padrão ") + number(distribution.standardDeviation())
           + QStringLiteral(" · mínimo ") + distribution.minimum().decimal(4, ',')
           + QStringLiteral(" · máximo ") + distribution.maximum().decimal(4, ',');
}

OddsCalculator::Answer OddsCalculator::answer(const DiceExpression &expression)
{
    auto odds = DiceOdds::evaluate(expression);
    if (const auto *refusal = std::get_if<DiceOddsRefusal>(&odds))
        return {QStringLiteral("sem chances exatas: ") + refusal->reason, true, nullptr};
    auto distribution =
        std::make_shared<const DiceDistribution>(std::move(std::get<DiceDistribution>(odds)));
    return {summary(*distribution), false, std::move(distribution)};
}

const OddsCalculator::Answer *OddsCalculator::cached(const QByteArray &key) const
{
    for (const auto &[k, a] : m_cache) {
        if (k == key)
            return &a;
    }
    return nullptr;
}

void OddsCalculator::keep(const QByteArray &key, const Answer &answer)
{
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
        if (it->first == key) {
            m_cache.erase(it);
            break;
        }
    }
    m_cache.emplace_front(key, answer);
    const auto values = [](const Answer &a) { return a.odds ? a.odds->span() : 0; };
    qsizetype held = 0;
    for (const auto &kept : m_cache)
        held += values(kept.second);
    // The newest stays whatever its size: it is the one on the chart.
    while (m_cache.size() > 1
           && (m_cache.size() > std::size_t(CacheSize) || held > CacheValues)) {
        held -= values(m_cache.back().second);
        m_cache.pop_back();
    }
    emit kept(key);
}

void OddsCalculator::request(std::shared_ptr<const DiceExpression> expression)
{
    const quint64 generation = ++*m_generation;
    const QByteArray key = expression->shownUtf8();
    if (const Answer *known = cached(key)) {
        const Answer copy = *known;
        emit computed(copy.text, copy.refused, copy.odds, key);
        return;
    }
    const auto current = m_generation;
    QPointer<OddsCalculator> self(this);
    m_pool.start([self, current, generation, key, expression = std::move(expression)] {
        if (current->load() != generation)
            return; // a newer keystroke came while this one waited
        Answer a = answer(*expression);
        if (current->load() != generation)
            return;
        // Handed to the calculator's thread; dropped there too if a newer request came.
        QMetaObject::invokeMethod(
            self.data(),
            [self, current, generation, key, a = std::move(a)] {
                if (!self)
                    return;
                // Kept even when a newer request came: the work is done, and a roll of this
                // expression may be waiting for it.
                self->keep(key, a);
                if (current->load() == generation)
                    emit self->computed(a.text, a.refused, a.odds, key);
            },
            Qt::QueuedConnection);
    });
}

void OddsCalculator::requestEstimate(std::shared_ptr<const DiceExpression> expression,
                                     qint64 samples, quint64 seed)
{
    const quint64 generation = m_generation->load();
    const auto current = m_generation;
    QPointer<OddsCalculator> self(this);
    m_estimatePool.start(
        [self, current, generation, samples, seed, expression = std::move(expression)] {
            if (current->load() != generation)
                return;
            SplitMixDieSource source(seed);
            auto sampled = SampledOdds::roll(*expression, samples, source);
            std::shared_ptr<const DiceDistribution> odds;
            if (sampled)
                odds = std::make_shared<const DiceDistribution>(std::move(*sampled));
            const QByteArray key = expression->shownUtf8();
            QMetaObject::invokeMethod(
                self.data(),
                [self, current, generation, odds, samples, key] {
                    if (self && current->load() == generation)
                        emit self->estimated(odds, samples, key);
                },
                Qt::QueuedConnection);
        });
}

void OddsCalculator::prepare(std::shared_ptr<const DiceExpression> expression)
{
    QPointer<OddsCalculator> self(this);
    m_preparePool.start([self, expression = std::move(expression)] {
        Answer a = answer(*expression);
        const QByteArray key = expression->shownUtf8();
        QMetaObject::invokeMethod(
            self.data(),
            [self, key, a = std::move(a)] {
                if (self)
                    self->keep(key, a);
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
    m_estimatePool.waitForDone();
    m_preparePool.waitForDone();
}
