#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The bytes of a file, or "<missing>" when it cannot be read.
inline QByteArray FileContents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}
