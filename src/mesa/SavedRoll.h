#pragma once

#include <QList>
#include <QString>

// A named expression of the tray of saved rolls: "Bola de fogo: 8d6".
struct SavedRoll
{
    QString name;
    QString expression;

    friend bool operator==(const SavedRoll &, const SavedRoll &) = default;
};
