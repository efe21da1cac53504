#include "dice/record/RecordLine.h"

#include "dice/format/JsonWriter.h"

#include <QDateTime>

#include <limits>

QByteArray RecordLine::now()
{
    // Working out the local time and its offset costs several microseconds (the time zone
    // is looked up every time), more than the rest of recording a roll: it is done once per
    // second, and within that second only the milliseconds change.
    thread_local qint64 second = std::numeric_limits<qint64>::min();
    thread_local QByteArray shown;
    thread_local qsizetype millisecondsAt = -1;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const qint64 thisSecond = now >= 0 ? now / 1000 : (now - 999) / 1000;
    if (thisSecond != second) {
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(thisSecond * 1000);
        shown = local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs).toLatin1();
        millisecondsAt = shown.indexOf('.') + 1;
        second = thisSecond;
    }
    QByteArray time = shown;
    if (millisecondsAt > 0 && millisecondsAt + 3 <= time.size()) {
        const int milliseconds = int(now - thisSecond * 1000);
        time[millisecondsAt] = char('0' + milliseconds / 100);
        time[millisecondsAt + 1] = char('0' + milliseconds / 10 % 10);
        time[millisecondsAt + 2] = char('0' + milliseconds % 10);
    }
    return time;
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
QByteArray timedLine(const char *type, QByteArrayView time, const char *key, QByteArrayView value)
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
