#include "dice/record/RecordLine.h"

#include "dice/format/JsonWriter.h"

#include <QDateTime>

QByteArray RecordLine::now()
{
    const QDateTime local = QDateTime::currentDateTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs).toLatin1();
}

QByteArray RecordLine::header(QByteArrayView program)
{
    QByteArray line = "{\"registro\":\"quessar\",\"versao\":1,\"programa\":";
    JsonWriter::appendString(line, program);
    line += ",\"criado\":";
    JsonWriter::appendString(line, now());
    line += "}\n";
    return line;
}

void RecordLine::appendRoll(QByteArray &out, qint64 seq, QByteArrayView time,
                            QByteArrayView rollJson, std::span<const DieDraw> draws)
{
    out += "{\"tipo\":\"rolagem\",\"seq\":";
    JsonWriter::appendWhole(out, seq);
    out += ",\"hora\":";
    JsonWriter::appendString(out, time);
    out += ',';
    // {"expressao":…,"total":…}\n without its braces and line end
    out += rollJson.sliced(1, rollJson.size() - 3);
    // Every draw as a [faces,value] pair: [[6,6],[6,5]].
    out += ",\"sorteios\":[";
    for (std::size_t i = 0; i < draws.size(); ++i) {
        out += i > 0 ? ",[" : "[";
        JsonWriter::appendWhole(out, draws[i].faces);
        out += ',';
        JsonWriter::appendWhole(out, draws[i].value);
        out += ']';
    }
    out += "]}\n";
}
