#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

class CityModel;

// The city report as text, the one the city window shows and saves: a line per number, the
// sections between separator lines, the footer last with no line end after it.
class CityTextReport
{
public:
    // Lines joined by `lineEnd` (CR LF in the window, LF on the command line); the footer's
    // date and time in the formats of `locale`.
    static QString render(const CityModel &city, const QLocale &locale,
                          QStringView lineEnd = u"\r\n");
};
