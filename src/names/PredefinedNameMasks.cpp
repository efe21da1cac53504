#include "names/PredefinedNameMasks.h"

QStringList PredefinedNameMasks()
{
    return {QStringLiteral("$!!@"),  QStringLiteral("$!!@!@"),  QStringLiteral("$!@!!@"),
            QStringLiteral("$!@!@"), QStringLiteral("$!@!@!"),  QStringLiteral("$!@*@!@"),
            QStringLiteral("$!@@!"), QStringLiteral("$%@!@@"),  QStringLiteral("$%@@^"),
            QStringLiteral("$%^@"),  QStringLiteral("$@!@"),    QStringLiteral("%@@!@!@"),
            QStringLiteral("&@@!"),  QStringLiteral("&@@!@!@"), QStringLiteral("&@@!@!@@!")};
}
