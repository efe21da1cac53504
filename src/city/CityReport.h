#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

// The city report: population, the counts of the 67 trades in five groups, the warriors,
// thieves, priests and mages of each level, and a footer with the date and time it was made.
// Lines are joined by CR LF; the footer, last, has no line end.
//
// Every count is the population times a fixed rate, formed in double precision and brought to
// the nearest whole number with ties going to the even one. Nothing is random: the same name
// and number of blocks always give the same text apart from the footer. The name goes in
// verbatim; zero and negative block counts follow the same rules.
//
// A city holds blocks × 250 inhabitants, which must fit in 32 bits: from -8589934 to 8589934
// blocks. Beyond that range BuildCityReport throws std::overflow_error and TryBuildCityReport
// returns nothing; neither ever produces a wrapped population.

// The report, footer stamped with the current local date and time in the system's formats.
// Throws std::overflow_error when the population does not fit in 32 bits.
QString BuildCityReport(const QString &cityName, qint32 blocks);

// The same, stamped with `when` in the formats of `locale`.
QString BuildCityReport(const QString &cityName, qint32 blocks, const QDateTime &when,
                        const QLocale &locale);

// Checked variants: nothing instead of an exception when the population does not fit.
std::optional<QString> TryBuildCityReport(const QString &cityName, qint32 blocks);
std::optional<QString> TryBuildCityReport(const QString &cityName, qint32 blocks,
                                          const QDateTime &when, const QLocale &locale);

// blocks × 250, or nothing when it does not fit in 32 bits.
std::optional<qint32> CityPopulation(qint32 blocks);

// "Cidade gerada dia <short date> as <HH><separator><mm> pelo Morvane's Quessar". The date
// is in the locale's short format; the time is always 24-hour hours and minutes. The bare
// C locale has no regional formats of its own, so Brazilian ones stand in for it; so do they
// when the locale's date or time separator holds a character the saved file's code page
// (Windows-1252) lacks, so that a fresh report can always be saved: dd/MM/yyyy and HH:mm.
QString CityReportFooter(const QDateTime &when, const QLocale &locale);

// What stands between the hour and the minute fields of a time format ("HH:mm" -> ":",
// "H.mm" -> ".", "HH 'h' mm" -> " h "), quotes resolved; ":" when the format has no such
// pair of fields.
QString TimeSeparatorOf(const QString &timeFormat);
