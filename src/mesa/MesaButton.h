#pragma once

#include <QPushButton>

// A button of the dice table: named for the tests, with its tooltip and the name a screen
// reader says, and never auto-default, so that Enter in a box rolls instead of clicking it.
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
