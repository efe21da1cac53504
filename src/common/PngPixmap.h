#pragma once

#include <QPixmap>
#include <QString>

// The PNG picture at path (a file or a resource), or a null pixmap if it cannot be read. The
// reader is told the format and does not guess it: guessing first asks every installed image
// plugin (JPEG, GIF, ICO, SVG...) whether it knows the file, which loads them all.
QPixmap PngPixmap(const QString &path);
