#include "names/NameMask.h"

#include "common/SplitMixRandomSource.h"

QString GenerateNameFromMask(QStringView mask, RandomSource &source)
{
    QString name(mask.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(name.data());
    if (SplitMixRandomSource *generator = SplitMixRandomSource::exactly(source))
        WriteNameFromMask(mask, *generator, out);
    else
        WriteNameFromMask(mask, source, out);
    return name;
}

QString GenerateNameFromMask(const QString &mask)
{
    return GenerateNameFromMask(QStringView(mask), RandomSource::process());
}

QString MaskHelpText()
{
    static const QString text =
        QStringLiteral("Como formar as máscaras:\r\n"
                       "@ Consoante minúscula\r\n"
                       "$ Consoante maiúscula\r\n"
                       "! Vogal minúscula\r\n"
                       "& Vogal maiúscula\r\n"
                       "# Número Inteiro\r\n"
                       "% Letra A ou letra E minúscula\r\n"
                       "^ Letra O ou letra U minúscula\r\n"
                       "[ Letra A ou letra E maiúscula\r\n"
                       "] Letra O ou letra U maiúscula\r\n"
                       "{ Vogal maiúscula acentuada\r\n"
                       "} Vogal minúscula acentuada\r\n"
                       "* Qualquer letra\r\n"
                       "\r\n"
                       "Qualquer outro dígito é mantido na geração do nome.\r\n"
                       "A letra Y é considerada consoante.");
    return text;
}
