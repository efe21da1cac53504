#pragma once

#include "dice/record/RecordingDieSource.h"

#include <QByteArray>
#include <QByteArrayView>

#include <span>

// The lines this program writes to a session record, each a JSON object ending in "\n":
//   {"registro":"quessar","versao":1,"programa":…,"criado":…}
//   {"tipo":"rolagem","seq":N,"hora":…, <the roll's --json fields>, "sorteios":[[6,4],…]}
// (SessionRecord also reads the lines of verifiable sessions, and refuses to roll into one.)
class RecordLine
{
public:
    // Local time with its offset and milliseconds: 2026-12-08T04:15:02.123-03:00.
    static QByteArray now();

    static QByteArray header(QByteArrayView program);
    // `rollJson` is one line of DiceOutcomeJson ("{…}\n"); its fields go between the roll's
    // number and time and its draws.
    static void appendRoll(QByteArray &out, qint64 seq, QByteArrayView time,
                           QByteArrayView rollJson, std::span<const DieDraw> draws);
};
