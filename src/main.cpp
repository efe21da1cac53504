#include "QuessarVersion.h"
#include "shell/frmSplash.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quessar"));
    QApplication::setApplicationVersion(QString::fromLatin1(QuessarVersionString));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Quessar"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quessar/icons/quessar-256.png")));

    // The whole interface is Brazilian Portuguese, the buttons and menus Qt draws included.
    QTranslator qtTranslation;
    if (qtTranslation.load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                           QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslation);

    auto *splash = new frmSplash;
    splash->show();
    return QApplication::exec();
}
