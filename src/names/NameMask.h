#pragma once

#include "common/RandomSource.h"

#include <QString>
#include <QStringView>

#include <array>

// The twelve mask classes. Each special character of a mask stands for one of these tables;
// every other character stands for itself.
struct MaskClass
{
    char16_t symbol;
    const char16_t *name;
    std::u16string_view entries; // positions 1..N in order, one character each
};

inline constexpr std::array<MaskClass, 12> MaskClassTables{{
    {u'@', u"LowerConsonants", u"bcdfghjklmnpqrstvwxyz"},
    {u'$', u"UpperConsonants", u"BCDFGHJKLMNPQRSTVWXYZ"},
    {u'!', u"LowerVowels", u"aeiou"},
    {u'&', u"UpperVowels", u"AEIOU"},
    {u'#', u"Digits", u"0123456789"},
    {u'%', u"LowerAE", u"ae"},
    {u'^', u"LowerOU", u"ou"},
    {u'[', u"UpperAE", u"AE"},
    {u']', u"UpperOU", u"OU"},
    {u'{', u"UpperAccentedVowels",
     u"\u00C1\u00C9\u00CD\u00D3\u00DA\u00C2\u00CA\u00CE\u00D4\u00DB\u00C4\u00CB\u00CF\u00D6\u00DC"},
    {u'}', u"LowerAccentedVowels",
     u"\u00E1\u00E9\u00ED\u00F3\u00FA\u00E2\u00EA\u00EE\u00F4\u00FB\u00E4\u00EB\u00EF\u00F6\u00FC"},
    {u'*', u"LowerLetters", u"abcdefghijklmnopqrstuvwxyz"},
}};

namespace NameMaskLookup {

// Index of each ASCII character's table in MaskClassTables, or -1.
constexpr std::array<signed char, 128> build()
{
    std::array<signed char, 128> lookup{};
    lookup.fill(-1);
    for (std::size_t i = 0; i < MaskClassTables.size(); ++i)
        lookup[MaskClassTables[i].symbol] = static_cast<signed char>(i);
    return lookup;
}

inline constexpr std::array<signed char, 128> Table = build();

} // namespace NameMaskLookup

// The table a mask character stands for, or nullptr for a literal character.
inline const MaskClass *MaskClassFor(char16_t symbol)
{
    if (symbol >= NameMaskLookup::Table.size() || NameMaskLookup::Table[symbol] < 0)
        return nullptr;
    return &MaskClassTables[static_cast<std::size_t>(NameMaskLookup::Table[symbol])];
}

// One random name of exactly the mask's length (in UTF-16 code units): each special
// character becomes a random entry of its table (one draw each, left to right), every other
// code unit is copied unchanged.
QString GenerateNameFromMask(const QString &mask);
QString GenerateNameFromMask(QStringView mask, RandomSource &source);

// The same name written at `out`, which has room for mask.size() code units; returns the end.
// Allocates nothing. With a source of a known final type (SplitMixRandomSource) every draw is
// a direct call; the draws and the name are those of GenerateNameFromMask for the same state.
template <typename Source>
char16_t *WriteNameFromMask(QStringView mask, Source &source, char16_t *out)
{
    for (const QChar c : mask) {
        if (const MaskClass *table = MaskClassFor(c.unicode())) {
            const qsizetype position =
                RandomSource::nextPositionOf(source, qsizetype(table->entries.size()));
            *out++ = table->entries[std::size_t(position)];
        } else {
            *out++ = c.unicode();
        }
    }
    return out;
}

// The help text on forming masks that the name and city windows show: 16 lines joined by
// CR LF.
QString MaskHelpText();
