#pragma once

#include "dice/record/RecordingDieSource.h"

#include <QByteArray>
#include <QByteArrayView>

#include <span>

// The lines this program writes to a session record, each a JSON object ending in "\n":
//   {"registro":"quessar","versao":1,"programa":…,"criado":…}
//   {"tipo":"rolagem","seq":N,"hora":…, <the roll's --json fields>, "sorteios":[[6,4],…]}
// and those of a verifiable session: its header adds "compromisso" and "sorteio", then
//   {"tipo":"sal","hora":…,"sal":"…"}            the players' salt, before any roll
//   {"tipo":"fechamento","hora":…,"segredo":"…"} the secret revealed; nothing follows
class RecordLine
{
public:
    // Local time with its offset and milliseconds: 2026-12-08T04:15:02.123-03:00.
    static QByteArray now();

    static QByteArray header(QByteArrayView program);
    // A verifiable session's header: `commitment` is the secret's SHA-256 in hex.
    static QByteArray sessionHeader(QByteArrayView program, QByteArrayView commitment);
    static QByteArray salt(QByteArrayView time, QByteArrayView saltUtf8);
    static QByteArray closing(QByteArrayView time, QByteArrayView secretHex);

    // The name of a verifiable session's draws.
    static constexpr const char *DrawScheme = "hmac-sha256-v1";
    // `rollJson` is one line of DiceOutcomeJson ("{…}\n"); its fields go between the roll's
    // number and time and its draws.
    static void appendRoll(QByteArray &out, qint64 seq, QByteArrayView time,
                           QByteArrayView rollJson, std::span<const DieDraw> draws);
};
