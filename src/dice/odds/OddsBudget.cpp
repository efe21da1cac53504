#include "dice/odds/OddsBudget.h"

#include <cmath>

namespace {

// "1,5 bilhão de operações", "951 operações".
QString amountOf(double count, const QString &things)
{
    const QString number = OddsBudget::amount(count);
    return number + (count >= 1e6 ? QStringLiteral(" de ") : QStringLiteral(" ")) + things;
}

} // namespace

bool OddsBudget::spend(double work)
{
    return charge(work, false);
}

bool OddsBudget::spendStep(double work)
{
    return charge(work, true);
}

bool OddsBudget::charge(double work, bool step)
{
    if (refused())
        return false;
    m_work += work;
    if (m_work <= double(MaxWork))
        return true;
    // The program's own numbers only: one multi-argument arg.
    if (step)
        return refuse(QStringLiteral("trabalho demais para o cálculo exato (passa do limite de "
                                     "%1)")
                          .arg(amountOf(MaxWork, QStringLiteral("operações"))));
    return refuse(QStringLiteral("trabalho demais para o cálculo exato (cerca de %1; o limite é "
                                 "%2)")
                      .arg(amountOf(m_work, QStringLiteral("operações")), amount(MaxWork)));
}

bool OddsBudget::affordAtLeast(double work)
{
    if (canSpend(work))
        return true;
    if (refused())
        return false;
    return refuse(QStringLiteral("trabalho demais para o cálculo exato (pelo menos %1; o limite "
                                 "é %2)")
                      .arg(amountOf(m_work + work, QStringLiteral("operações")),
                           amount(MaxWork)));
}

bool OddsBudget::admitValues(double values)
{
    if (refused())
        return false;
    if (values <= double(MaxValues))
        return true;
    return refuse(QStringLiteral("valores distintos demais (%1; o limite é %2)")
                      .arg(amount(values), amount(MaxValues)));
}

bool OddsBudget::admitStates(double states)
{
    if (refused())
        return false;
    if (states <= double(MaxStates))
        return true;
    return refuse(QStringLiteral("estados demais para o cálculo exato (passa do limite de %1 "
                                 "guardadas de uma vez)")
                      .arg(amountOf(MaxStates, QStringLiteral("probabilidades"))));
}

bool OddsBudget::refuse(const QString &message)
{
    m_refusal = message;
    return false;
}

QString OddsBudget::amount(double count)
{
    if (!std::isfinite(count) || count >= 1e18)
        return QStringLiteral("mais de um quintilhão");
    if (count < 1e6)
        return QString::number(qint64(std::ceil(count)));
    struct Scale
    {
        double size;
        const char16_t *one;
        const char16_t *many;
    };
    static constexpr Scale scales[] = {{1e15, u"quatrilhão", u"quatrilhões"},
                                       {1e12, u"trilhão", u"trilhões"},
                                       {1e9, u"bilhão", u"bilhões"},
                                       {1e6, u"milhão", u"milhões"}};
    for (const Scale &scale : scales) {
        if (count < scale.size)
            continue;
        // One decimal below 10 ("2,1 bilhões"), none above ("400 milhões"); below 2 the
        // noun is singular ("1,5 bilhão").
        const double units = count / scale.size;
        const double shown = units < 10 ? std::round(units * 10) / 10 : std::round(units);
        QString number = QString::number(shown, 'f', units < 10 ? 1 : 0);
        if (number.endsWith(QLatin1String(".0")))
            number.chop(2);
        number.replace(u'.', u',');
        return number + u' ' + QString::fromUtf16(shown < 2 ? scale.one : scale.many);
    }
    return {};
}
