#pragma once

#include <QPushButton>

// A push button of the dice table: named, with its tooltip (which shows its shortcut) and its
// accessible name, and never taking Enter from the expression box.
inline QPushButton *MesaButton(QWidget *parent, const char *name, const QString &caption,
                               const QString &tip, const QString &accessible)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1StringView(name));
    b->setToolTip(tip);
    b->setAccessibleName(accessible);
    b->setAutoDefault(false);
    return b;
}
