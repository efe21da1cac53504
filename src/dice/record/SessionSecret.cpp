#include "dice/record/SessionSecret.h"

#include "dice/record/SessionDieSource.h"
#include "dice/record/SessionRecord.h"

#include <QFile>
#include <QRandomGenerator>

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

QString SessionSecret::pathFor(const QString &recordPath)
{
    return recordPath + QStringLiteral(".segredo");
}

bool SessionSecret::create(const QString &path, QByteArray &secret, QString &error)
{
    std::array<quint32, SessionDieSource::SecretBytes / 4> words{};
    QRandomGenerator::system()->generate(words.begin(), words.end());
    secret = QByteArray(reinterpret_cast<const char *>(words.data()),
                        SessionDieSource::SecretBytes);
    const QByteArray text = secret.toHex() + '\n';

    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = errno == EEXIST ? QStringLiteral("o arquivo do segredo já existe")
                                : SessionRecord::systemReason(errno);
        return false;
    }
    qsizetype done = 0;
    int failure = 0;
    while (done < text.size() && failure == 0) {
        const ssize_t wrote = ::write(fd, text.constData() + done, std::size_t(text.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            failure = wrote < 0 ? errno : ENOSPC;
        else
            done += wrote;
    }
    if (failure == 0 && ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(name.constData());
        error = SessionRecord::systemReason(failure);
        return false;
    }
    return true;
}

bool SessionSecret::read(const QString &path, const QByteArray &commitment, QByteArray &secret,
                         QString &error)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    char block[2 * SessionDieSource::SecretBytes + 2];
    ssize_t got = -1;
    if (fd >= 0) {
        do
            got = ::read(fd, block, sizeof block);
        while (got < 0 && errno == EINTR);
    }
    const int failure = errno;
    if (fd >= 0)
        ::close(fd);
    if (got < 0) {
        error = QStringLiteral("o segredo da sessão não pôde ser lido: ")
                + SessionRecord::systemReason(failure);
        return false;
    }
    const QByteArray text = QByteArray(block, got).trimmed();
    const QByteArray bytes = QByteArray::fromHex(text);
    if (text.size() != 2 * SessionDieSource::SecretBytes
        || bytes.size() != SessionDieSource::SecretBytes || bytes.toHex() != text.toLower()) {
        error = QStringLiteral("o arquivo do segredo não tem 64 dígitos hexadecimais");
        return false;
    }
    if (SessionDieSource::commitment(bytes) != commitment) {
        error = QStringLiteral("o segredo não confere com o compromisso do registro");
        return false;
    }
    secret = bytes;
    return true;
}
