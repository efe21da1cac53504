#include "mesa/RollDelegate.h"

#include "dice/roll/DiceOutcome.h"
#include "mesa/RollHistoryModel.h"

#include <QApplication>
#include <QDateTime>
#include <QPainter>

namespace {

QColor blend(const QColor &a, const QColor &b, double t)
{
    return QColor::fromRgbF(float(a.redF() * (1 - t) + b.redF() * t),
                            float(a.greenF() * (1 - t) + b.greenF() * t),
                            float(a.blueF() * (1 - t) + b.blueF() * t));
}

// Green or red at the text's lightness: dark on a light base, light on a dark one.
QColor tinted(const QPalette &palette, const QColor &hue)
{
    const QColor text = palette.color(QPalette::Text);
    return blend(text, hue, text.lightnessF() > 0.5 ? 0.45 : 0.8);
}

// The die's marks as the CLI's detailed line writes them after its value.
QString suffix(quint16 marks)
{
    QString s;
    const auto has = [marks](DieMark mark) { return (marks & mark) != 0; };
    if (has(DieRerolled))
        s += u'r';
    if (has(DieUniqueRerolled))
        s += u'u';
    if (has(DieCompounded))
        s += QStringLiteral("!!");
    else if (has(DieExploded))
        s += u'!';
    if (has(DiePenetrated))
        s += u'p';
    if (has(DieRaised))
        s += u'^';
    if (has(DieLowered))
        s += u'v';
    if (has(DieSuccess))
        s += u'*';
    if (has(DieFailure))
        s += u'f';
    if (has(DieCriticalSuccess))
        s += QStringLiteral("++");
    if (has(DieCriticalFailure))
        s += QStringLiteral("--");
    return s;
}

} // namespace

QColor RollDelegate::successColour(const QPalette &palette)
{
    return tinted(palette, QColor(0, 170, 60));
}

QColor RollDelegate::failureColour(const QPalette &palette)
{
    return tinted(palette, QColor(230, 40, 40));
}

QSize RollDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {option.fontMetrics.horizontalAdvance(QLatin1Char('0')) * 60,
            option.fontMetrics.height() + 8};
}

void RollDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const
{
    const auto *model = qobject_cast<const RollHistoryModel *>(index.model());
    if (!model) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const RollEntry &entry = model->entry(index.row());

    // The row's background and focus as the style draws them, without its text.
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const bool selected = option.state & QStyle::State_Selected;
    QPalette palette = option.palette;
    if (selected) // the selection's colours take the text's place
        palette.setColor(QPalette::Text, palette.color(QPalette::HighlightedText));
    const QColor text = palette.color(QPalette::Text);
    const QColor faint = blend(text, palette.color(selected ? QPalette::Highlight : QPalette::Base), 0.45);

    painter->save();
    painter->setClipRect(option.rect);
    QRect area = option.rect.adjusted(6, 0, -6, 0);
    int x = area.left();
    const auto draw = [&](const QString &s, const QFont &font, const QColor &colour) {
        painter->setFont(font);
        painter->setPen(colour);
        const QFontMetrics metrics(font);
        painter->drawText(QRect(x, area.top(), metrics.horizontalAdvance(s) + 1, area.height()),
                          Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, s);
        x += metrics.horizontalAdvance(s);
    };
    const QFont plain = option.font;
    QFont bold = plain;
    bold.setBold(true);
    const QString gap = QStringLiteral("  ");

    draw(QDateTime::fromMSecsSinceEpoch(entry.time).toString(QStringLiteral("HH:mm:ss")) + gap,
         plain, faint);
    if (!entry.label.isEmpty())
        draw(entry.label + QStringLiteral(": "), bold, text);
    draw(entry.expression + gap, plain, text);

    const QColor success = selected ? text : successColour(palette);
    const QColor failure = selected ? text : failureColour(palette);
    int term = -1;
    for (const ShownDie &die : entry.dice) {
        if (die.term != term) {
            draw(term < 0 ? QStringLiteral("[") : QStringLiteral("] ["), plain, faint);
            term = die.term;
        } else {
            draw(QStringLiteral(", "), plain, faint);
        }
        const bool setAside = (die.marks & (DieDropped | DieRerolled | DieUniqueRerolled)) != 0;
        QFont font = plain;
        QColor colour = text;
        if (setAside) {
            font.setStrikeOut(true);
            colour = faint;
        }
        if (die.marks & (DieExploded | DieCompounded | DieSuccess | DieCriticalSuccess))
            font.setBold(true);
        if (die.marks & (DieCriticalSuccess | DieCriticalFailure))
            font.setUnderline(true);
        if (!setAside && (die.marks & (DieSuccess | DieCriticalSuccess)))
            colour = success;
        if (!setAside && (die.marks & (DieFailure | DieCriticalFailure)))
            colour = failure;
        draw(QString::number(die.value) + suffix(die.marks), font, colour);
        if (x > area.right())
            break;
    }
    if (term >= 0)
        draw(QStringLiteral("]"), plain, faint);
    draw(QStringLiteral("  = "), plain, text);
    draw(entry.total, bold, text);
    if (entry.luck.known)
        draw(QStringLiteral("   ") + entry.luck.text(), plain, faint);
    painter->restore();
}
