#include "names/NameMask.h"

#include "common/RandomSource.h"

namespace {

// Index of each ASCII character's table in MaskClassTables, or -1.
constexpr std::array<signed char, 128> buildLookup()
{
    std::array<signed char, 128> lookup{};
    lookup.fill(-1);
    for (std::size_t i = 0; i < MaskClassTables.size(); ++i)
        lookup[MaskClassTables[i].symbol] = static_cast<signed char>(i);
    return lookup;
}

constexpr auto Lookup = buildLookup();

} // namespace

const MaskClass *MaskClassFor(char16_t symbol)
{
    if (symbol >= Lookup.size() || Lookup[symbol] < 0)
        return nullptr;
    return &MaskClassTables[static_cast<std::size_t>(Lookup[symbol])];
}

QString GenerateNameFromMask(QStringView mask, RandomSource &source)
{
    QString name(mask.size(), Qt::Uninitialized);
    QChar *out = name.data();
    for (const QChar c : mask) {
        if (const MaskClass *table = MaskClassFor(c.unicode())) {
            const auto position = source.nextPosition(qsizetype(table->entries.size()));
            *out++ = QChar(table->entries[std::size_t(position)]);
        } else {
            *out++ = c;
        }
    }
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
