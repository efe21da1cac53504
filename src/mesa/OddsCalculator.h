#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <memory>

class DiceExpression;

// Works out the exact odds of the expression being typed on a thread of its own, so that the
// window never waits for them. Only the newest request counts: one still waiting when a newer
// one comes is never started, and the answer of one already running is dropped (the odds'
// own budget ends any computation well within a second).
class OddsCalculator final : public QObject
{
    Q_OBJECT

public:
    explicit OddsCalculator(QObject *parent = nullptr);
    ~OddsCalculator() override;

    // Starts on `expression`; computed() follows, unless a newer request or cancel() comes
    // first.
    void request(std::shared_ptr<const DiceExpression> expression);
    void cancel();
    // Waits for the thread to be idle (tests and the end of the program).
    void waitForIdle();

    // "média 10,5 · desvio-padrão 2,958 · mínimo 3 · máximo 18", from the distribution.
    static QString summary(const DiceExpression &expression, bool &refused);

signals:
    // `refused`: `text` says why the exact odds were not worked out.
    void computed(const QString &text, bool refused);

private:
    QThreadPool m_pool;
    std::shared_ptr<std::atomic<quint64>> m_generation;
};
