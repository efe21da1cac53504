#include "common/AtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

bool AtomicFile::write(const QString &path, QByteArrayView bytes, QString *error)
{
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile()) {
        if (error)
            *error = QStringLiteral("o caminho não é um arquivo comum");
        return false;
    }

    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    qsizetype done = 0;
    while (written && done < bytes.size()) {
        const qint64 step = file.write(bytes.constData() + done, bytes.size() - done);
        if (step <= 0)
            written = false;
        else
            done += qsizetype(step);
    }
    if (written && file.error() == QFileDevice::NoError && file.commit())
        return true;

    if (error)
        *error = file.errorString();
    file.cancelWriting(); // the temporary file goes with `file`
    return false;
}
