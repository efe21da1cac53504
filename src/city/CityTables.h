#pragma once

#include <array>
#include <span>
#include <string_view>

// The fixed demographic model of a city: how many establishments or practitioners of each
// trade a city holds per inhabitant, and how the four character classes thin out level by
// level.

// One trade, service or profession. The label starts with a blank so it can follow a count
// directly ("4 Taverns"). The rate is a multiplier per inhabitant, never a divisor.
struct CityTrade
{
    std::u16string_view label;
    double rate;
};

struct CityTradeGroup
{
    std::u16string_view heading;
    std::span<const CityTrade> trades;
};

// A character class. Its running rate is held in single precision and halved before every
// level, so level n uses startingRate / 2^n.
struct CityCharacterClass
{
    std::u16string_view heading;
    float startingRate;
    int levels;
    std::u16string_view totalWord;
};

inline constexpr int CityBlockPopulation = 250;

inline constexpr std::array<CityTrade, 12> CityFoodAndLodging{{
    {u" Almhouses", 0.000202344},
    {u" Bakers", 0.000657267},
    {u" Boarding Houses", 0.000499115},
    {u" Brewers", 0.000653238},
    {u" Butchers", 0.000497406},
    {u" Cheesemakers", 0.000318928},
    {u" Grocers", 0.001},
    {u" Hot\u00E9is", 0.000321553},
    {u" Inns", 0.001318623},
    {u" Provisioners", 0.000504975},
    {u" Taverns", 0.004001709},
    {u" Vintners", 0.000202649},
}};

inline constexpr std::array<CityTrade, 11> CityCommonTrades{{
    {u" Blacksmiths", 0.004000671},
    {u" Traders/ Merchants", 0.005009217},
    {u" Cobblers", 0.002995483},
    {u" Coopers", 0.001320881},
    {u" Leatherworkers", 0.001322652},
    {u" Masons", 0.001003296},
    {u" Millers", 0.000997375},
    {u" Potters", 0.000502716},
    {u" Tanners", 0.000665568},
    {u" Weavers", 0.000497162},
    {u" Woodworkers", 0.003003662},
}};

inline constexpr std::array<CityTrade, 17> CityRareTrades{{
    {u" Apothecaries", 0.000161021},
    {u" Armorers", 0.000323811},
    {u" Bookbinders", 0.000199902},
    {u" Bowyers/ Fletchers", 0.000662638},
    {u" Clockmakers", 0.000101264},
    {u" Chandlers", 0.000315876},
    {u" Dyers", 0.000315632},
    {u" Fine Clothiers", 0.000201978},
    {u" Furriers", 0.000197583},
    {u" Glassblowers/ Glaziers", 0.0002021},
    {u" Herbalists", 0.000102606},
    {u" Jewelers", 0.000160837},
    {u" Locksmiths", 0.000152963},
    {u" Seamtresses/ Tailors", 0.000656168},
    {u" Specialty Smiths", 0.000316853},
    {u" Tilemakers", 0.000313557},
    {u" Weaponsmiths", 0.000497223},
}};

inline constexpr std::array<CityTrade, 7> CityTransport{{
    {u" Boats for hire", 0.000996887},
    {u" Carters/ Teamters", 0.002999084},
    {u" Cartwrights", 0.000649149},
    {u" Porters", 0.000658365},
    {u" Saddlers", 0.000330403},
    {u" Shipwrights", 0.000319661},
    {u" Stables", 0.001002197},
}};

inline constexpr std::array<CityTrade, 20> CityNpcTrades{{
    {u" Alchemists", 0.000098456},
    {u" Assassins/ Bounty Hunters", 0.00040304},
    {u" Astrologers", 0.000162547},
    {u" Barbers", 0.00131551},
    {u" Barristers", 0.000160105},
    {u" Burglers", 0.000206311},
    {u" Dragomen", 0.000741439},
    {u" Engineers", 0.000162302},
    {u" Fences", 0.000999878},
    {u" Healers", 0.000662394},
    {u" Interpreters", 0.000403528},
    {u" Laborers", 0.006998352},
    {u" Leech Physicians", 0.000321675},
    {u" Linkboys", 0.000493805},
    {u" Minstrels/ Entertainers", 0.001005738},
    {u" Navigators (Ports only)", 0.000498016},
    {u" Priests", 0.001325093},
    {u" Sages", 0.000159189},
    {u" Scribes/ Clerks", 0.000195935},
    {u" Wizards", 0.000494903},
}};

// The five groups in report order (67 trades in all).
inline constexpr std::array<CityTradeGroup, 5> CityTradeGroups{{
    {u"ALIMENTA\u00C7\u00C3O E HOSPEDAGEM", CityFoodAndLodging},
    {u"OF\u00CDCIOS E COM\u00C9RCIO COMUNS", CityCommonTrades},
    {u"OF\u00CDCIOS E COM\u00C9RCIO RAROS", CityRareTrades},
    {u"TRANSPORTES", CityTransport},
    {u"OF\u00CDCIOS DOS NPC", CityNpcTrades},
}};

// The thieves start at 0.029999878, not 0.03; warriors run to level 19 and mages to 17.
inline constexpr std::array<CityCharacterClass, 4> CityCharacterClasses{{
    {u"GUERREIROS", 0.04f, 19, u" guerreiros"},
    {u"LADR\u00D5ES", 0.029999878f, 18, u" ladr\u00F5es"},
    {u"CL\u00C9RIGOS", 0.02f, 18, u" cl\u00E9rigos"},
    {u"MAGOS", 0.01f, 17, u" magos"},
}};
