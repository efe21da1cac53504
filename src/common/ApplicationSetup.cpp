#include "common/ApplicationSetup.h"

#include "QuessarVersion.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void SetUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Quessar"));
    QApplication::setApplicationVersion(QString::fromLatin1(QuessarVersionString));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Quessar"));

    auto *translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

void SetApplicationIcon()
{
    // Told its format, with detection off, the reader goes straight to the built-in PNG
    // decoder; a plain QIcon(path) would first try every image plugin installed.
    QImageReader reader(QStringLiteral(":/quessar/icons/quessar-256.png"), "png");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull())
        return;
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image));
    QApplication::setWindowIcon(icon);
}
