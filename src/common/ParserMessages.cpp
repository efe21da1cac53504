#include "common/ParserMessages.h"

#include <QRegularExpression>

QString PortugueseOptionValueError(const QString &parserErrorText)
{
    static const QRegularExpression missing(QStringLiteral("^Missing value after '(.*)'\\.$"));
    static const QRegularExpression unexpected(
        QStringLiteral("^Unexpected value after '(.*)'\\.$"));
    if (const auto match = missing.match(parserErrorText); match.hasMatch())
        return QStringLiteral("falta o valor da opção %1").arg(match.captured(1));
    if (const auto match = unexpected.match(parserErrorText); match.hasMatch())
        return QStringLiteral("a opção %1 não aceita valor").arg(match.captured(1));
    return parserErrorText;
}
