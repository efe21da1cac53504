#pragma once

#include <QStyledItemDelegate>

// Paints a row of the history: the time, the label, the expression, every die with what
// happened to it, the total and its luck. What happened reads without colour too (struck-out
// dice set aside, bold for explosions and successes, underlined criticals, the CLI's marks
// kept) and the colours come from the palette, so they read in a light or a dark theme alike.
class RollDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The colours of a success and of a failure for text of `text` colour over `base`: green
    // and red moved towards the text colour, so that they keep its contrast with the base.
    static QColor successColour(const QPalette &palette);
    static QColor failureColour(const QPalette &palette);
};
