#include "dice/record/RecordLine.h"

#include "dice/format/DiceOutcomeJson.h"
#include "dice/format/JsonWriter.h"

#include <QDateTime>

#include <charconv>

QByteArray RecordLine::now()
{
    const QDateTime local = QDateTime::currentDateTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs).toLatin1();
}

QByteArray RecordLine::header(QByteArrayView program, QByteArrayView commitment)
{
    QByteArray line = "{\"registro\":\"quessar\",\"versao\":1,\"programa\":";
    JsonWriter::appendString(line, program);
    line += ",\"criado\":";
    JsonWriter::appendString(line, now());
    if (!commitment.isEmpty()) {
        line += ",\"compromisso\":";
        JsonWriter::appendString(line, commitment);
        line += ",\"sorteio\":";
        JsonWriter::appendString(line, DrawScheme);
    }
    line += "}\n";
    return line;
}

void RecordLine::appendRoll(QByteArray &out, qint64 seq, QByteArrayView time,
                            QByteArrayView rollJson, std::span<const DieDraw> draws)
{
    char digits[24];
    out += "{\"tipo\":\"rolagem\",\"seq\":";
    out.append(digits, std::to_chars(digits, digits + sizeof digits, seq).ptr - digits);
    out += ",\"hora\":";
    JsonWriter::appendString(out, time);
    out += ',';
    // {"expressao":…,"total":…}\n without its braces and line end
    out += rollJson.sliced(1, rollJson.size() - 3);
    out += ",\"sorteios\":";
    RecordingDieSource::appendDraws(out, draws);
    out += "}\n";
}

QByteArray RecordLine::salt(QByteArrayView time, QByteArrayView saltUtf8)
{
    QByteArray line = "{\"tipo\":\"sal\",\"hora\":";
    JsonWriter::appendString(line, time);
    line += ",\"sal\":";
    JsonWriter::appendString(line, saltUtf8);
    line += "}\n";
    return line;
}

QByteArray RecordLine::closing(QByteArrayView time, QByteArrayView secretHex)
{
    QByteArray line = "{\"tipo\":\"fechamento\",\"hora\":";
    JsonWriter::appendString(line, time);
    line += ",\"segredo\":";
    JsonWriter::appendString(line, secretHex);
    line += "}\n";
    return line;
}
