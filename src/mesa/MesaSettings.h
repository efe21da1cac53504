#pragma once

#include "mesa/SavedRoll.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What the desktop roller keeps between runs, in one JSON file of the user's configuration
// folder: the window's size and place, the expressions typed (newest last) and the saved
// rolls. Written whole and atomically, so a crash or a full disk leaves the previous file.
class MesaSettings
{
public:
    static constexpr qsizetype MaxHistory = 200;
    static constexpr qsizetype MaxSavedRolls = 100;

    // The tray of a first run.
    static QList<SavedRoll> exampleRolls();

    MesaSettings() : saved(exampleRolls()) {}

    // A missing file gives the first run's settings. A file that cannot be read as settings
    // also does, and false says why (in Portuguese): the caller reports it and the file is
    // kept aside (moveAside) before it is replaced.
    bool load(const QString &path, QString &error);
    bool save(const QString &path, QString &error) const;
    // Renames an unreadable settings file to "<path>.invalido" (replacing an older one), so
    // that nothing the user had is lost; the name it got, or empty when it could not move.
    static QString moveAside(const QString &path);

    // Adds an expression to the history, unless it repeats the last one.
    void remember(const QString &expression);

    QByteArray geometry;
    QStringList history;
    QList<SavedRoll> saved;
};
