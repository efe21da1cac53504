#pragma once

#include <QLocale>
#include <QString>

class CityModel;

// The city report as Markdown: a heading per section, the trade counts and the class levels
// as tables, each class's total, and the text report's footer.
class CityMarkdownReport
{
public:
    static QString render(const CityModel &city, const QLocale &locale);

    // `text` with Markdown's punctuation escaped, so that a name shows literally.
    static QString escaped(const QString &text);
};
