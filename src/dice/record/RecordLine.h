#pragma once

#include "dice/record/RecordingDieSource.h"

#include <QByteArray>
#include <QByteArrayView>

#include <span>

// The lines of a session record, each a JSON object ending in "\n":
//   {"registro":"quessar","versao":1,"programa":…,"criado":…[,"compromisso":…,"sorteio":…]}
//   {"tipo":"rolagem","seq":N,"hora":…, <the roll's --json fields>, "sorteios":[[6,4],…]}
//   {"tipo":"sal","hora":…,"sal":…}
//   {"tipo":"fechamento","hora":…,"segredo":…}
class RecordLine
{
public:
    // The draw scheme of a verifiable session, named in its header.
    static constexpr const char *DrawScheme = "hmac-sha256-v1";

    // Local time with its offset and milliseconds: 2026-12-08T04:15:02.123-03:00.
    static QByteArray now();

    // `commitment` empty for a plain record.
    static QByteArray header(QByteArrayView program, QByteArrayView commitment);
    // `rollJson` is one line of DiceOutcomeJson ("{…}\n"); its fields go between the roll's
    // number and time and its draws.
    static void appendRoll(QByteArray &out, qint64 seq, QByteArrayView time,
                           QByteArrayView rollJson, std::span<const DieDraw> draws);
    static QByteArray salt(QByteArrayView time, QByteArrayView saltUtf8);
    static QByteArray closing(QByteArrayView time, QByteArrayView secretHex);
};
