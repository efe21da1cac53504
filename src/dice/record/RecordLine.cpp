#include "dice/record/RecordLine.h"

#include "dice/format/JsonPieces.h"
#include "dice/format/JsonWriter.h"

#include <QDateTime>

#include <algorithm>
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
    // Written in a few whole pieces, not token by token: a million lines are written (and,
    // by the verifier, written again), and each append to a QByteArray costs more than the
    // few bytes it copies.
    JsonPieces line(out);
    line.put("{\"tipo\":\"rolagem\",\"seq\":");
    line.putWhole(seq);
    line.put(",\"hora\":");
    // The time this program writes needs no escaping; anything else goes through the writer.
    const bool plainTime = std::all_of(time.begin(), time.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && c != '"' && c != '\\';
    });
    if (plainTime) {
        line.put("\"");
        line.put(std::string_view(time.data(), std::size_t(time.size())));
        line.put("\"");
    } else {
        line.flush();
        JsonWriter::appendString(out, time);
    }
    line.put(",");
    line.flush();
    // {"expressao":…,"total":…}\n without its braces and line end
    out += rollJson.sliced(1, rollJson.size() - 3);
    // Every draw as a [faces,value] pair: [[6,6],[6,5]].
    line.put(",\"sorteios\":[");
    for (std::size_t i = 0; i < draws.size(); ++i) {
        line.put(i > 0 ? ",[" : "[");
        line.putWhole(draws[i].faces);
        line.put(",");
        line.putWhole(draws[i].value);
        line.put("]");
    }
    line.put("]}\n");
}
