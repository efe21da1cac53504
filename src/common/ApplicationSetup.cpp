#include "common/ApplicationSetup.h"

#include "QuessarVersion.h"
#include "common/PngPixmap.h"
#include "common/WindowKit.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QTranslator>

void SetUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Quessar"));
    QApplication::setApplicationVersion(QString::fromLatin1(QuessarVersionString));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Quessar"));
    // The windows' light colours whatever the desktop's scheme; message boxes included.
    QApplication::setPalette(WindowKit::LightPalette());
    InstallQtTranslation();
}

void InstallQtTranslation()
{
    auto *translator = new QTranslator(qApp);
    if (translator->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

void SetApplicationIcon()
{
    const QPixmap die = PngPixmap(QStringLiteral(":/quessar/icons/quessar-256.png"));
    if (die.isNull())
        return;
    QIcon icon;
    icon.addPixmap(die);
    QApplication::setWindowIcon(icon);
}
