#pragma once

#include "dice/audit/AuditReport.h"

#include <QByteArray>

// The audit as one JSON object on one line, written with JsonWriter:
//
// {"rolagens", "por_rotulo", "grupos": [{"rotulo" (by label), "rolagens", "sem_sorteios",
//   "expressoes": [{"expressao", "rolagens", "recusa" (odds unknown) or "media",
//     "media_exata", "erro_padrao", "impossiveis", "teste_media": V, "ajuste": F}],
//   "dados": [{"faces", "sorteios", "impossiveis", "contagens" (up to 100 faces),
//     "ajuste": F, "menor": E, "maior": E}],
//   "sorte": {"rolagens", "media", "esperada", "erro_padrao", "veredito": V}}]}
//
// V, a verdict: {"veredito": "poucos_dados"|"comum"|"raro"|"extremo"|"impossivel", "p",
// "texto" (the words of the text report)}; F, a goodness-of-fit test: V with
// "qui_quadrado", "graus_de_liberdade" and "classes": [{"observado", "esperado"}]; E, the
// lowest or highest face: V with "contagem" and "esperado".
class AuditJson
{
public:
    static void append(QByteArray &out, const AuditReport &report);
};
