#pragma once

#include <QString>
#include <QStringView>

#include <array>

class RandomSource;

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

// The table a mask character stands for, or nullptr for a literal character.
const MaskClass *MaskClassFor(char16_t symbol);

// One random name of exactly the mask's length (in UTF-16 code units): each special
// character becomes a random entry of its table (one draw each, left to right), every other
// code unit is copied unchanged.
QString GenerateNameFromMask(const QString &mask);
QString GenerateNameFromMask(QStringView mask, RandomSource &source);

// The help text on forming masks that the name and city windows show: 16 lines joined by
// CR LF.
QString MaskHelpText();
