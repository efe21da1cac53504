#include "common/AtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

bool AtomicFile::write(const QString &path, QByteArrayView bytes, QString *error)
{
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile()) {
        if (error)
            *error = QStringLiteral("o caminho não é um arquivo comum");
        return false;
    }

    // QSaveFile's own reasons are in English: the C library's, kept from the system call
    // that failed, are in the user's language (after setlocale).
    QSaveFile file(path);
    errno = 0;
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    int failure = written ? 0 : errno;
    qsizetype done = 0;
    while (written && done < bytes.size()) {
        errno = 0;
        const qint64 step = file.write(bytes.constData() + done, bytes.size() - done);
        if (step <= 0) {
            written = false;
            failure = errno;
        } else {
            done += qsizetype(step);
        }
    }
    if (written && file.error() == QFileDevice::NoError) {
        errno = 0;
        if (file.commit())
            return true;
        failure = errno;
    }

    if (error)
        *error = failure != 0 ? QString::fromLocal8Bit(std::strerror(failure)) : file.errorString();
    file.cancelWriting(); // the temporary file goes with `file`
    return false;
}
