#pragma once

#include "dice/audit/AuditReport.h"

#include <QByteArray>

// The audit as text (UTF-8, lines of at most 80 columns, a decimal comma): the totals of each
// expression against their exact chances, the faces of each die size against a fair die and
// the mean luck, each verdict on its own line under the figures it rests on:
//
//   Auditoria de sorte: 1000 rolagens
//
//   4d6kh3: 1000 rolagens
//     média 12,31; exata 12,24 ± 0,09 (erro padrão)
//       nada fora do comum
//     somas: χ² 14,20 com 13 graus de liberdade, p = 0,3594
//       nada fora do comum
//   d6: 4000 sorteios (esperado 666,7 de cada face)
//     1: 650  2: 668  3: 671  4: 660  5: 690  6: 661
//     faces: χ² 1,63 com 5 graus de liberdade, p = 0,8975
//       nada fora do comum
//   sorte média: 51,2 % (50 % ± 0,9 com dados honestos)
//     nada fora do comum
//
// A d20 adds its 1s and 20s; grouped by label, each label has a section of its own.
class AuditText
{
public:
    static void append(QByteArray &out, const AuditReport &report);

    // Expressions and labels longer than this are cut, with "…", so that lines fit.
    static constexpr qsizetype LongestName = 50;
};
