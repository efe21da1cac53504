#include "common/CharacterDescription.h"

QString DescribeCharacter(char32_t character)
{
    const QString code = QStringLiteral("U+%1")
                             .arg(static_cast<qulonglong>(character), 4, 16, QLatin1Char('0'))
                             .toUpper();
    const bool showable = !QChar::isSurrogate(character) && QChar::isPrint(character);
    if (!showable)
        return code;
    return QStringLiteral("\"%1\" (%2)").arg(QString::fromUcs4(&character, 1), code);
}
