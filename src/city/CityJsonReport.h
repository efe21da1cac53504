#pragma once

#include <QByteArray>
#include <QJsonObject>

class CityModel;

// The city's numbers as one JSON object:
//   nome, blocos, populacao,
//   secoes: [{titulo, itens: [{nome, quantidade}]}]  (the trade sections, in report order),
//   classes: [{titulo, niveis: [{nivel, quantidade}], total}]  (levels holding someone),
//   gerada_em: the local date and time in ISO 8601 with its offset from UTC.
class CityJsonReport
{
public:
    static QJsonObject object(const CityModel &city);
    // The object as indented UTF-8 text, ending with a line end.
    static QByteArray render(const CityModel &city);
};
