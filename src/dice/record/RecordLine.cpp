#include "dice/record/RecordLine.h"

#include "dice/format/JsonWriter.h"

#include <QDateTime>

QByteArray RecordLine::now()
{
    const QDateTime local = QDateTime::currentDateTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs).toLatin1();
}

namespace {

// {"registro":"quessar","versao":1,"programa":…,"criado":… without its closing brace.
QByteArray headerStart(QByteArrayView program)
{
    QByteArray line = "{\"registro\":\"quessar\",\"versao\":1,\"programa\":";
    JsonWriter::appendString(line, program);
    line += ",\"criado\":";
    JsonWriter::appendString(line, RecordLine::now());
    return line;
}

// {"tipo":"<type>","hora":<time>,"<key>":<value>}
QByteArray timedLine(const char *type, QByteArrayView time, const char *key,
                     QByteArrayView value)
{
    QByteArray line = "{\"tipo\":\"";
    line += type;
    line += "\",\"hora\":";
    JsonWriter::appendString(line, time);
    line += ",\"";
    line += key;
    line += "\":";
    JsonWriter::appendString(line, value);
    line += "}\n";
    return line;
}

} // namespace

QByteArray RecordLine::header(QByteArrayView program)
{
    return headerStart(program) + "}\n";
}

QByteArray RecordLine::sessionHeader(QByteArrayView program, QByteArrayView commitment)
{
    QByteArray line = headerStart(program);
    line += ",\"compromisso\":";
    JsonWriter::appendString(line, commitment);
    line += ",\"sorteio\":";
    JsonWriter::appendString(line, DrawScheme);
    line += "}\n";
    return line;
}

QByteArray RecordLine::salt(QByteArrayView time, QByteArrayView saltUtf8)
{
    return timedLine("sal", time, "sal", saltUtf8);
}

QByteArray RecordLine::closing(QByteArrayView time, QByteArrayView secretHex)
{
    return timedLine("fechamento", time, "segredo", secretHex);
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
