#pragma once

#include "dice/odds/DiceDistribution.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <deque>
#include <memory>

class DiceExpression;

// Works out the exact odds of the expression being typed on a thread of its own, so that the
// window never waits for them. Only the newest request counts: one still waiting when a newer
// one comes is never started, and the answer of one already running is dropped (the odds'
// own budget ends any computation well within a second).
//
// Answers are kept for the last few expressions (by the expression as shown, without its
// label), so that going back to one is answered at once and a roll can find the odds of its
// expression without computing them again.
class OddsCalculator final : public QObject
{
    Q_OBJECT

public:
    // An answer: the summary text, and the distribution unless the odds were refused.
    struct Answer
    {
        QString text;
        bool refused = false;
        std::shared_ptr<const DiceDistribution> odds;
    };

    // At most this many answers are kept, holding at most this many values together (32 MB).
    static constexpr int CacheSize = 32;
    static constexpr qsizetype CacheValues = 4'000'000;

    explicit OddsCalculator(QObject *parent = nullptr);
    ~OddsCalculator() override;

    // Starts on `expression`; computed() follows, unless a newer request or cancel() comes
    // first. An expression already answered is answered at once, before this returns.
    void request(std::shared_ptr<const DiceExpression> expression);
    // Estimates the odds by `samples` rolls (from `seed`) on a thread apart; estimated()
    // follows, unless a newer request() or cancel() comes first.
    void requestEstimate(std::shared_ptr<const DiceExpression> expression, qint64 samples,
                         quint64 seed);
    // Works out and keeps the odds of `expression` (a rolled one, whose luck is waited for)
    // whatever is typed meanwhile, on a thread apart; kept() follows.
    void prepare(std::shared_ptr<const DiceExpression> expression);
    void cancel();
    // Waits for the threads to be idle (tests and the end of the program).
    void waitForIdle();

    // The kept answer for an expression shown as `key`, or nothing.
    const Answer *cached(const QByteArray &key) const;

    // The exact odds of `expression` on the calling thread, with their summary.
    static Answer answer(const DiceExpression &expression);
    // "média 10,5 · desvio-padrão 2,958 · mínimo 3 · máximo 18".
    static QString summary(const DiceDistribution &distribution);

signals:
    // `refused`: `text` says why the exact odds were not worked out, and `odds` is empty.
    // `key`: the expression as shown, without its label.
    void computed(const QString &text, bool refused,
                  const std::shared_ptr<const DiceDistribution> &odds, const QByteArray &key);
    // Nothing in `odds` when the rolls gave more values than can be kept.
    void estimated(const std::shared_ptr<const DiceDistribution> &odds, qint64 samples,
                   const QByteArray &key);
    // The answer for `key` is kept (asked for by prepare(), or by a request overtaken).
    void kept(const QByteArray &key);

private:
    void keep(const QByteArray &key, const Answer &answer);

    QThreadPool m_pool;
    QThreadPool m_estimatePool; // apart, so that a long estimate never holds up exact odds
    QThreadPool m_preparePool;  // and a rolled expression's odds never hold up the typed one's
    std::shared_ptr<std::atomic<quint64>> m_generation;
    std::deque<std::pair<QByteArray, Answer>> m_cache; // newest first
};
