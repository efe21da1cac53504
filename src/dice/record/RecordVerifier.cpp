#include "dice/record/RecordVerifier.h"

#include "dice/format/DiceOutcomeJson.h"
#include "dice/notation/DiceNotation.h"
#include "dice/record/RecordLine.h"
#include "dice/record/ReplayDieSource.h"
#include "dice/record/SessionDieSource.h"
#include "dice/record/SessionRecord.h"
#include "dice/roll/DiceRoller.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype ReadBlock = 1 << 20;
// Distinct expressions kept parsed at once; past that the cache starts over.
constexpr qsizetype CachedExpressions = 4096;

std::optional<QJsonObject> jsonObject(QByteArrayView line)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

bool isLowerHex(QByteArrayView text, qsizetype digits)
{
    if (text.size() != digits)
        return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

// Reads `digits` decimal digits at `at`; -1 when they are not all digits.
int digitsAt(QByteArrayView text, qsizetype at, int digits)
{
    int value = 0;
    for (int i = 0; i < digits; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
qint64 daysFromCivil(qint64 y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + qint64(doe) - 719468;
}

// "2026-12-08T04:15:02.123-03:00" (or "…Z") as milliseconds since 1970 UTC: the form
// RecordLine::now() writes. Nothing when the text is not in that form.
std::optional<qint64> timeOf(QByteArrayView text)
{
    if (text.size() != 24 && text.size() != 29)
        return std::nullopt;
    if (text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':'
        || text[16] != ':' || text[19] != '.')
        return std::nullopt;
    const int year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2),
              day = digitsAt(text, 8, 2), hour = digitsAt(text, 11, 2),
              minute = digitsAt(text, 14, 2), second = digitsAt(text, 17, 2),
              milli = digitsAt(text, 20, 3);
    if (year < 0 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23
        || minute < 0 || minute > 59 || second < 0 || second > 60 || milli < 0)
        return std::nullopt;
    qint64 offset = 0;
    if (text.size() == 24) {
        if (text[23] != 'Z')
            return std::nullopt;
    } else {
        const int offsetHours = digitsAt(text, 24, 2), offsetMinutes = digitsAt(text, 27, 2);
        if ((text[23] != '+' && text[23] != '-') || text[26] != ':' || offsetHours < 0
            || offsetMinutes < 0 || offsetMinutes > 59)
            return std::nullopt;
        offset = (offsetHours * 60 + offsetMinutes) * 60'000LL * (text[23] == '-' ? -1 : 1);
    }
    const qint64 days = daysFromCivil(year, unsigned(month), unsigned(day));
    return ((days * 24 + hour) * 60 + minute) * 60'000LL + second * 1000LL + milli - offset;
}

// Reads [[faces,value],…] at `text` (the whole of it). False when it is not such a list of
// whole numbers with 1 <= value <= faces.
bool readDraws(QByteArrayView text, std::vector<DieDraw> &draws)
{
    draws.clear();
    qsizetype at = 0;
    const auto number = [&](std::uint32_t &value) {
        const qsizetype start = at;
        std::uint64_t n = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 10)
            n = n * 10 + std::uint64_t(text[at++] - '0');
        if (at == start || (text[start] == '0' && at - start > 1) || n > 0xffffffffu)
            return false;
        value = std::uint32_t(n);
        return true;
    };
    const auto expect = [&](char c) { return at < text.size() && text[at++] == c; };
    if (!expect('['))
        return false;
    if (at < text.size() && text[at] == ']')
        return ++at == text.size();
    for (;;) {
        DieDraw draw;
        if (!expect('[') || !number(draw.faces) || !expect(',') || !number(draw.value)
            || !expect(']') || draw.value < 1 || draw.value > draw.faces)
            return false;
        draws.push_back(draw);
        if (at < text.size() && text[at] == ',') {
            ++at;
            continue;
        }
        return expect(']') && at == text.size();
    }
}

// The text of a roll line's "total" (its value only, "fracao" apart).
QByteArrayView totalOf(QByteArrayView line)
{
    constexpr QByteArrayView key = ",\"total\":";
    const qsizetype at = line.lastIndexOf(key);
    if (at < 0)
        return {};
    qsizetype end = at + key.size();
    while (end < line.size() && line[end] != ',' && line[end] != '}')
        ++end;
    return line.sliced(at + key.size(), end - at - key.size());
}

// One expression as the record wrote it, parsed once, with its writer and roller.
struct Replay
{
    explicit Replay(DiceExpression parsed, DieSource &source)
        : expression(std::move(parsed)), json(expression), roller(expression, source)
    {}
    DiceExpression expression;
    DiceOutcomeJson json;
    DiceRoller roller;
};

class Checker
{
public:
    Checker(RecordVerifier::Summary &summary, std::optional<QByteArray> revealed)
        : m_summary(summary), m_revealed(std::move(revealed))
    {}

    // False at the first discrepancy, which the summary then holds.
    bool line(QByteArrayView text);
    // The secret of a closing line reached without knowing it beforehand.
    const QByteArray &lateSecret() const { return m_lateSecret; }

private:
    bool fail(const QString &message)
    {
        m_summary.failedLine = m_summary.lines;
        m_summary.failure = message;
        return false;
    }
    void torn()
    {
        if (m_summary.tornLines.size() < RecordVerifier::TornLinesKept)
            m_summary.tornLines.push_back(m_summary.lines);
        ++m_summary.tornCount;
    }
    bool header(QByteArrayView text);
    bool time(QByteArrayView text);
    bool roll(QByteArrayView text);
    // What a roll line that the fast reading could not take apart is.
    bool otherLine(QByteArrayView text, const QString &rollProblem);
    bool replay(QByteArrayView text, qint64 seq, QByteArrayView time, QByteArrayView key);

    RecordVerifier::Summary &m_summary;
    std::optional<QByteArray> m_revealed; // the closing line's secret, read beforehand
    QByteArray m_commitment;
    QByteArray m_secret;                  // the revealed secret, once it matched
    QByteArray m_salt;
    QByteArray m_lateSecret;
    std::unique_ptr<SessionDieSource> m_session;
    ReplayDieSource m_replay;
    QHash<QByteArray, std::shared_ptr<Replay>> m_cache;
    std::vector<DieDraw> m_draws;
    QByteArray m_rollJson;
    QByteArray m_remade;
    QByteArray m_lastTimeText;
    qint64 m_lastTime = 0;
    qint64 m_lastTimeLine = 0;
};

bool Checker::line(QByteArrayView text)
{
    ++m_summary.lines;
    if (m_summary.lines == 1)
        return header(text);
    // A roll line, read without a JSON document (a million of them must stay cheap).
    if (text.startsWith("{\"tipo\":\"rolagem\",")) {
        if (m_summary.closed)
            return jsonObject(text) ? fail(QStringLiteral("há uma rolagem depois do fechamento"))
                                    : (torn(), true);
        return roll(text);
    }
    return otherLine(text, QString());
}

bool Checker::header(QByteArrayView text)
{
    const std::optional<QJsonObject> header = jsonObject(text);
    if (!header || header->value(QLatin1String("registro")).toString() != u"quessar")
        return fail(QStringLiteral("não é um registro de sessão do Quessar"));
    if (header->value(QLatin1String("versao")).toInteger() != 1)
        return fail(QStringLiteral("o registro é de uma versão que este programa não conhece"));
    if (!time(header->value(QLatin1String("criado")).toString().toLatin1()))
        return false;
    const QJsonValue commitment = header->value(QLatin1String("compromisso"));
    if (commitment.isUndefined())
        return true;
    m_summary.verifiable = true;
    m_commitment = commitment.toString().toLatin1();
    if (!isLowerHex(m_commitment, 64))
        return fail(QStringLiteral("o compromisso não tem 64 dígitos hexadecimais"));
    if (header->value(QLatin1String("sorteio")).toString() != QLatin1String(RecordLine::DrawScheme))
        return fail(QStringLiteral("o sorteio do registro não é hmac-sha256-v1"));
    if (m_revealed && isLowerHex(*m_revealed, 64)) {
        const QByteArray secret = QByteArray::fromHex(*m_revealed);
        if (SessionDieSource::commitment(secret) == m_commitment)
            m_secret = secret;
    }
    return true;
}

bool Checker::time(QByteArrayView text)
{
    if (text == m_lastTimeText) {
        m_lastTimeLine = m_summary.lines;
        return true;
    }
    const std::optional<qint64> at = timeOf(text);
    if (!at)
        return fail(QStringLiteral("a hora \"") + QString::fromUtf8(text)
                    + QStringLiteral("\" não está no formato do registro"));
    if (m_lastTimeLine > 0 && *at < m_lastTime)
        return fail(QStringLiteral("a hora volta para antes da linha ")
                    + QString::number(m_lastTimeLine));
    m_lastTimeText = text.toByteArray();
    m_lastTime = *at;
    m_lastTimeLine = m_summary.lines;
    return true;
}

bool Checker::otherLine(QByteArrayView text, const QString &rollProblem)
{
    const std::optional<QJsonObject> object = jsonObject(text);
    if (!object) {
        torn();
        return true;
    }
    if (m_summary.closed)
        return fail(QStringLiteral("há uma linha depois do fechamento"));
    const QString type = object->value(QLatin1String("tipo")).toString();
    if (type == u"rolagem")
        return fail(rollProblem.isEmpty()
                        ? QStringLiteral("a rolagem não está na forma que o Quessar escreve")
                        : rollProblem);
    if (type == u"sal") {
        if (!m_summary.verifiable)
            return fail(QStringLiteral("há um sal num registro que não é de sessão verificável"));
        if (m_summary.salted || m_summary.rolls > 0)
            return fail(m_summary.salted ? QStringLiteral("o sal aparece de novo")
                                         : QStringLiteral("o sal vem depois de uma rolagem"));
        if (!time(object->value(QLatin1String("hora")).toString().toLatin1()))
            return false;
        m_summary.salted = true;
        m_salt = object->value(QLatin1String("sal")).toString().toUtf8();
        return true;
    }
    if (type == u"fechamento") {
        if (!m_summary.verifiable)
            return fail(
                QStringLiteral("há um fechamento num registro que não é de sessão verificável"));
        if (!time(object->value(QLatin1String("hora")).toString().toLatin1()))
            return false;
        const QByteArray secretHex = object->value(QLatin1String("segredo")).toString().toLatin1();
        if (!isLowerHex(secretHex, 64))
            return fail(QStringLiteral("o segredo revelado não tem 64 dígitos hexadecimais"));
        if (SessionDieSource::commitment(QByteArray::fromHex(secretHex)) != m_commitment)
            return fail(QStringLiteral("o segredo revelado não confere com o compromisso"));
        m_summary.closed = true;
        m_summary.drawsChecked = !m_secret.isEmpty();
        if (m_secret.isEmpty())
            m_lateSecret = secretHex; // checked again with it, unless a later line fails
        return true;
    }
    return fail(QStringLiteral("linha de tipo desconhecido"));
}

bool Checker::roll(QByteArrayView text)
{
    // {"tipo":"rolagem","seq":N,"hora":"…","expressao":…,"termos":[…]…,"sorteios":[…]}
    constexpr QByteArrayView seqKey = "{\"tipo\":\"rolagem\",\"seq\":";
    constexpr QByteArrayView timeKey = ",\"hora\":\"";
    constexpr QByteArrayView expressionKey = "\",\"expressao\":";
    constexpr QByteArrayView termsKey = ",\"termos\":[";
    constexpr QByteArrayView drawsKey = ",\"sorteios\":";
    const QString malformed = QStringLiteral("a rolagem não está na forma que o Quessar escreve");
    if (!text.startsWith(seqKey))
        return otherLine(text, malformed);
    qsizetype at = seqKey.size();
    qint64 seq = 0;
    const qsizetype digitsStart = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - digitsStart < 18)
        seq = seq * 10 + (text[at++] - '0');
    if (at == digitsStart || !text.sliced(at).startsWith(timeKey))
        return otherLine(text, QStringLiteral("o número da rolagem não é um inteiro positivo"));
    at += timeKey.size();
    const qsizetype timeEnd = text.indexOf('"', at);
    if (timeEnd < 0 || !text.sliced(timeEnd).startsWith(expressionKey))
        return otherLine(text, malformed);
    const QByteArrayView timeText = text.sliced(at, timeEnd - at);
    const qsizetype keyStart = timeEnd + expressionKey.size();
    const qsizetype keyEnd = text.indexOf(termsKey, keyStart);
    const qsizetype drawsAt = text.lastIndexOf(drawsKey);
    if (keyEnd < 0 || drawsAt < keyEnd || !text.endsWith('}'))
        return otherLine(text, malformed);
    if (!readDraws(text.sliced(drawsAt + drawsKey.size(),
                               text.size() - 1 - drawsAt - drawsKey.size()),
                   m_draws))
        return otherLine(text, QStringLiteral("os sorteios não são pares [faces,valor] "
                                              "com o valor entre 1 e as faces"));
    // The line is taken apart; from here on a fault is the record's, not a torn write.
    const qint64 expected = m_summary.rolls + 1;
    if (seq != expected) {
        if (seq > expected)
            return fail(seq == expected + 1
                            ? QStringLiteral("falta a rolagem %1").arg(expected)
                            : QStringLiteral("faltam as rolagens %1 a %2").arg(expected).arg(seq - 1));
        return fail(QStringLiteral("a rolagem %1 se repete ou está fora de ordem "
                                   "(esperava a %2)")
                        .arg(seq)
                        .arg(expected));
    }
    if (!time(timeText))
        return false;
    if (!replay(text, seq, timeText, text.sliced(keyStart, keyEnd - keyStart)))
        return false;
    m_summary.rolls = seq;
    return true;
}

bool Checker::replay(QByteArrayView text, qint64 seq, QByteArrayView time, QByteArrayView key)
{
    const QByteArray keyBytes = key.toByteArray();
    std::shared_ptr<Replay> cached = m_cache.value(keyBytes);
    if (!cached) {
        // "expressao":"…"[,"rotulo":"…"]: the text as written is the expression, then its
        // label after " # ".
        const std::optional<QJsonObject> fields =
            jsonObject(QByteArray("{\"expressao\":") + keyBytes + '}');
        const QString expression = fields ? fields->value(QLatin1String("expressao")).toString()
                                          : QString();
        const QString label = fields ? fields->value(QLatin1String("rotulo")).toString()
                                     : QString();
        if (!fields || expression.isEmpty())
            return fail(QStringLiteral("a expressão da rolagem não pôde ser lida"));
        const QString written =
            label.isEmpty() ? expression : expression + QStringLiteral(" # ") + label;
        auto parsed = DiceNotation::parse(written);
        if (const auto *error = std::get_if<DiceNotationError>(&parsed))
            return fail(QStringLiteral("a expressão da rolagem foi recusada: ") + error->message);
        if (m_cache.size() >= CachedExpressions)
            m_cache.clear();
        cached = std::make_shared<Replay>(std::move(std::get<DiceExpression>(parsed)), m_replay);
        m_cache.insert(keyBytes, cached);
    }
    Replay &replay = *cached;
    if (!m_secret.isEmpty()) {
        if (!m_session)
            m_session = std::make_unique<SessionDieSource>(m_secret, m_salt, std::uint64_t(seq));
        else
            m_session->restart(std::uint64_t(seq));
    }
    m_replay.replay(m_draws, m_session.get());
    const bool rolled = replay.roller.roll();
    switch (m_replay.fault()) {
    case ReplayDieSource::Fault::None:
        break;
    case ReplayDieSource::Fault::TooFew:
        return fail(QStringLiteral("a rolagem pede mais dados que os %1 sorteios registrados")
                        .arg(m_draws.size()));
    case ReplayDieSource::Fault::OtherDie:
        return fail(QStringLiteral("o sorteio %1 é de d%2, mas a rolagem pede um d%3")
                        .arg(m_replay.faultAt() + 1)
                        .arg(m_draws[m_replay.faultAt()].faces)
                        .arg(m_replay.expected()));
    case ReplayDieSource::Fault::NotTheSecretsFace:
        return fail(QStringLiteral("o sorteio %1 (%2 num d%3) não é o que o segredo dá (%4)")
                        .arg(m_replay.faultAt() + 1)
                        .arg(m_draws[m_replay.faultAt()].value)
                        .arg(m_draws[m_replay.faultAt()].faces)
                        .arg(m_replay.expected()));
    }
    if (m_replay.asked() != m_draws.size())
        return fail(QStringLiteral("a rolagem usa %1 dos %2 sorteios registrados")
                        .arg(m_replay.asked())
                        .arg(m_draws.size()));
    if (!rolled)
        return fail(QStringLiteral("a rolagem refeita sai do limite de 64 bits"));
    // resize, not clear: both buffers are kept from line to line
    m_rollJson.resize(0);
    replay.json.append(m_rollJson, replay.roller.outcome());
    m_remade.resize(0);
    RecordLine::appendRoll(m_remade, seq, time, m_rollJson, m_draws);
    if (QByteArrayView(m_remade).chopped(1) == text)
        return true;
    // Say so when it is the total that differs; otherwise where the line departs.
    const QByteArrayView recordedTotal = totalOf(text), remadeTotal = totalOf(m_remade);
    if (recordedTotal != remadeTotal)
        return fail(QStringLiteral("o total registrado (%1) não é o que os sorteios dão (%2)")
                        .arg(QString::fromUtf8(recordedTotal), QString::fromUtf8(remadeTotal)));
    qsizetype column = 0;
    while (column < text.size() && column < m_remade.size() && text[column] == m_remade[column])
        ++column;
    return fail(QStringLiteral("a linha não é a que a rolagem refeita escreve "
                               "(difere a partir do byte %1)")
                    .arg(column + 1));
}

// The secret a closing line at the record's end reveals: read from the last lines first,
// so that the draws can be checked as the lines stream by.
std::optional<QByteArray> revealedSecret(int fd, qint64 size)
{
    const qint64 from = std::max<qint64>(0, size - 64 * 1024);
    QByteArray tail(size - from, Qt::Uninitialized);
    qint64 done = 0;
    while (done < tail.size()) {
        const ssize_t got = ::pread(fd, tail.data() + done, std::size_t(tail.size() - done),
                                    from + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return std::nullopt;
        done += got;
    }
    QList<QByteArray> lines = tail.split('\n');
    // The last whole JSON line: a torn one after it is passed over.
    while (!lines.isEmpty()) {
        const QByteArray last = lines.takeLast();
        if (last.isEmpty())
            continue;
        const std::optional<QJsonObject> object = jsonObject(last);
        if (!object)
            continue;
        if (object->value(QLatin1String("tipo")).toString() != u"fechamento")
            return std::nullopt;
        return object->value(QLatin1String("segredo")).toString().toLatin1();
    }
    return std::nullopt;
}

} // namespace

bool RecordVerifier::verify(const QString &path, Summary &summary, QString &error)
{
    return verifyWith(path, std::nullopt, summary, error);
}

bool RecordVerifier::verifyWith(const QString &path, std::optional<QByteArray> secretHex,
                                Summary &summary, QString &error)
{
    summary = Summary();
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    struct stat info{};
    if (fd < 0 || ::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        error = fd < 0 || !S_ISDIR(info.st_mode) ? SessionRecord::systemReason(errno)
                                                 : SessionRecord::systemReason(EISDIR);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    if (!secretHex && S_ISREG(info.st_mode))
        secretHex = revealedSecret(fd, info.st_size);
    Checker checker(summary, secretHex);
    QByteArray pending;
    QByteArray block(ReadBlock, Qt::Uninitialized);
    bool going = true;
    for (;;) {
        const ssize_t got = ::read(fd, block.data(), std::size_t(block.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = SessionRecord::systemReason(errno);
            ::close(fd);
            return false;
        }
        if (got == 0 || !going)
            break;
        pending.append(block.constData(), got);
        qsizetype start = 0;
        for (qsizetype end; going && (end = pending.indexOf('\n', start)) >= 0; start = end + 1)
            going = checker.line(QByteArrayView(pending).sliced(start, end - start));
        pending.remove(0, start);
    }
    ::close(fd);
    if (going && !pending.isEmpty())
        going = checker.line(pending);
    // A closing line the end of the record did not show (a torn line too long to look
    // past): the draws are checked once more, now with its secret.
    if (going && summary.closed && !summary.drawsChecked && !secretHex)
        return verifyWith(path, checker.lateSecret(), summary, error);
    if (going && summary.lines == 0) {
        summary.lines = 1;
        summary.failedLine = 1;
        summary.failure = QStringLiteral("o arquivo está vazio");
    }
    return true;
}
