#include "city/CityFile.h"

#include "city/Windows1252.h"
#include "common/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

struct Overrides
{
    QString programFolder;
    QString documentsFolder;
    std::function<bool(const QString &)> writable;
};

Overrides &overrides()
{
    static Overrides instance;
    return instance;
}

bool isForbiddenInName(char16_t c)
{
    switch (c) {
    case u'/':
    case u'\\':
    case u':':
    case u'*':
    case u'?':
    case u'"':
    case u'<':
    case u'>':
    case u'|':
        return true;
    default:
        return QChar::category(c) == QChar::Other_Control;
    }
}

bool isLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

bool CityFile::isUsableName(const QString &cityName)
{
    if (cityName == u"." || cityName == u"..")
        return false;
    const qsizetype n = cityName.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = cityName[i].unicode();
        if (isForbiddenInName(c))
            return false;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 == n || !QChar::isLowSurrogate(cityName[i + 1].unicode()))
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return false;
        }
    }
    return true;
}

QString CityFile::content(const QString &boxText)
{
    QString text;
    text.reserve(boxText.size() + boxText.size() / 32 + 2);
    const qsizetype n = boxText.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = boxText[i];
        if (!isLineEnd(c)) {
            text += c;
            continue;
        }
        if (c == u'\r' && i + 1 < n && boxText[i + 1] == u'\n')
            ++i; // CR LF is one line end
        text += u"\r\n";
    }
    text += u"\r\n";
    return text;
}

QString CityFile::pathFor(const QString &folder, const QString &cityName)
{
    QString path = folder;
    if (!path.endsWith(u'/'))
        path += u'/';
    return path + cityName + QStringLiteral(".txt");
}

bool CityFile::isCityFile(const QString &path)
{
    static constexpr QByteArrayView Heading = "Cidade: ";
    if (!QFileInfo(path).isFile())
        return false; // never open a FIFO or a device: reading could block or have effects
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(Heading.size()) == Heading;
}

QString CityFile::chooseFolder(const QString &programFolder, bool programFolderExists,
                               bool programFolderWritable, const QString &documentsFolder)
{
    if (documentsFolder.isEmpty())
        return programFolder;
    const bool installed = QFileInfo(QDir::cleanPath(programFolder)).fileName() == u"bin";
    if (installed || (programFolderExists && !programFolderWritable))
        return documentsFolder;
    return programFolder;
}

QString CityFile::saveFolder(bool *made)
{
    const Overrides &o = overrides();
    const QString program =
        o.programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : o.programFolder;
    const QString documents =
        o.documentsFolder.isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
            : o.documentsFolder;
    const QFileInfo info(program);
    const bool exists = info.isDir();
    const bool writable = o.writable ? o.writable(program) : info.isWritable();
    const QString folder = chooseFolder(program, exists, writable, documents);
    const bool ok = folder == program || QDir().mkpath(folder);
    if (made)
        *made = ok;
    return folder;
}

namespace {

// The checks every save makes before touching the disk: the name, then the text.
CityFile::Outcome check(const QString &cityName, const QString &boxText, QByteArray &bytes)
{
    CityFile::Outcome outcome;
    if (!CityFile::isUsableName(cityName)) {
        outcome.status = CityFile::Status::NameNotAllowed;
        return outcome;
    }
    Windows1252::Result encoded = Windows1252::encode(CityFile::content(boxText));
    if (!encoded.ok()) {
        outcome.status = CityFile::Status::Unencodable;
        outcome.character = encoded.errorCharacter;
        return outcome;
    }
    bytes = std::move(encoded.bytes);
    return outcome;
}

void write(CityFile::Outcome &outcome, const QString &folder, const QString &cityName,
           const QByteArray &bytes, CityFile::Replace replace)
{
    outcome.path = CityFile::pathFor(folder, cityName);
    // Only a regular file is worth the question; anything else at that path (a folder, a
    // FIFO) is refused by the writer with its reason.
    if (replace == CityFile::Replace::CityFilesOnly && QFileInfo(outcome.path).isFile()
        && !CityFile::isCityFile(outcome.path)) {
        outcome.status = CityFile::Status::NotACityFile;
        return;
    }
    if (!AtomicFile::write(outcome.path, bytes, &outcome.error))
        outcome.status = CityFile::Status::WriteFailed;
}

} // namespace

CityFile::Outcome CityFile::save(const QString &folder, const QString &cityName,
                                 const QString &boxText, Replace replace)
{
    QByteArray bytes;
    Outcome outcome = check(cityName, boxText, bytes);
    if (outcome.status == Status::Saved)
        write(outcome, folder, cityName, bytes, replace);
    return outcome;
}

CityFile::Outcome CityFile::save(const QString &cityName, const QString &boxText, Replace replace)
{
    QByteArray bytes;
    Outcome outcome = check(cityName, boxText, bytes);
    if (outcome.status != Status::Saved)
        return outcome;
    bool made = true;
    const QString folder = saveFolder(&made);
    if (made) {
        write(outcome, folder, cityName, bytes, replace);
    } else {
        outcome.status = Status::FolderNotMade;
        outcome.path = folder;
    }
    return outcome;
}

void CityFile::setProgramFolder(const QString &folder)
{
    overrides().programFolder = folder;
}

void CityFile::setDocumentsFolder(const QString &folder)
{
    overrides().documentsFolder = folder;
}

void CityFile::setWritableCheck(std::function<bool(const QString &)> check)
{
    overrides().writable = std::move(check);
}
