#include "mesa/MesaSession.h"

#include "dice/expression/DiceExpression.h"
#include "dice/format/DiceOutcomeFormat.h"
#include "dice/record/RecordLine.h"
#include "dice/record/RecordedRolls.h"
#include "dice/record/SessionSecret.h"
#include "dice/record/VerifiableSession.h"
#include "dice/roll/DiceOutcome.h"
#include "dice/roll/SplitMixDieSource.h"

#include "QuessarVersion.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sys/stat.h>

MesaSession::MesaSession(std::unique_ptr<DieSource> source) : m_source(std::move(source))
{
    if (!m_source)
        m_source = std::make_unique<SplitMixDieSource>(QRandomGenerator::system()->generate64());
}

MesaSession::~MesaSession() = default;

bool MesaSession::openNew(const QString &folder, QString &error)
{
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("não foi possível criar a pasta \"") + folder + u'"';
        return false;
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    // Two sessions started in the same second each get a record of their own.
    for (int n = 1; n <= 100; ++n) {
        const QString name = QStringLiteral("sessao-") + stamp
                             + (n == 1 ? QString() : QStringLiteral("-%1").arg(n))
                             + QStringLiteral(".jsonl");
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path))
            continue;
        return open(path, true, error);
    }
    error = QStringLiteral("há registros demais com o mesmo horário em \"") + folder + u'"';
    return false;
}

bool MesaSession::openExisting(const QString &path, QString &error)
{
    return open(path, false, error);
}

namespace {

QByteArray program()
{
    return QByteArray("quessar-mesa ") + QuessarVersionString;
}

} // namespace

bool MesaSession::open(const QString &path, bool exclusive, QString &error)
{
    m_open = m_record.open(path, RecordLine::header(program()), exclusive, error);
    const QByteArray &commitment = m_record.state().commitment;
    // An open verifiable session rolls with its secret's dice; once closed it rolls no more,
    // and its secret is no longer needed to show it.
    if (m_open && !commitment.isEmpty() && !m_record.state().closed
        && !SessionSecret::read(SessionSecret::pathFor(path), commitment, m_secret, error))
        m_open = false;
    return m_open && recordAt(path);
}

bool MesaSession::openVerifiable(const QString &path, QString &error)
{
    QByteArray commitment;
    QString failedPath;
    m_open = VerifiableSession::open(m_record, path, program(), commitment, failedPath, error);
    if (!m_open) {
        error = u'"' + failedPath + QStringLiteral("\": ") + error;
        return false;
    }
    if (!SessionSecret::read(SessionSecret::pathFor(path), commitment, m_secret, error)) {
        m_open = false;
        return false;
    }
    return recordAt(path);
}

bool MesaSession::recordAt(const QString &path)
{
    struct stat info{};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        m_device = quint64(info.st_dev);
        m_inode = quint64(info.st_ino);
    }
    m_path = path;
    return true;
}

bool MesaSession::readState(SessionRecord::State &state, QString &error)
{
    if (!m_open) {
        error = QStringLiteral("nenhum registro de sessão está aberto");
        return false;
    }
    if (!m_record.begin(error))
        return false;
    state = m_record.state();
    m_record.abort();
    return true;
}

bool MesaSession::salt(const QString &text, QString &error)
{
    if (!m_open || !stillThere()) {
        error = m_open ? QStringLiteral("o registro foi removido ou trocado por outro arquivo")
                       : QStringLiteral("nenhum registro de sessão está aberto");
        return false;
    }
    return VerifiableSession::salt(m_record, text.toUtf8(), error);
}

bool MesaSession::close(QByteArray &secretHex, QString &error)
{
    if (!m_open || !stillThere()) {
        error = m_open ? QStringLiteral("o registro foi removido ou trocado por outro arquivo")
                       : QStringLiteral("nenhum registro de sessão está aberto");
        return false;
    }
    qint64 rolls = 0;
    QByteArray secret;
    if (!VerifiableSession::close(m_record, m_path, rolls, secret, error))
        return false;
    secretHex = secret.toHex();
    return true;
}

bool MesaSession::stillThere() const
{
    struct stat info{};
    return ::stat(QFile::encodeName(m_path).constData(), &info) == 0
           && quint64(info.st_dev) == m_device && quint64(info.st_ino) == m_inode;
}

std::variant<RollEntry, QString> MesaSession::roll(const DiceExpression &expression)
{
    if (!m_open)
        return QStringLiteral("nenhum registro de sessão está aberto");
    if (!stillThere())
        return QStringLiteral("o registro \"") + m_path
               + QStringLiteral("\" foi removido ou trocado por outro arquivo");
    if (!m_secret.isEmpty()) {
        // While the players' salt can still be given, a roll would take that chance away
        // from them for the whole session: it waits for the salt.
        SessionRecord::State state;
        QString error;
        if (!readState(state, error))
            return QStringLiteral("o registro \"") + m_path
                   + QStringLiteral("\" não pôde ser lido: ") + error;
        if (!state.closed && !state.salt && state.lastSeq == 0)
            return QStringLiteral("a sessão verificável ainda não tem o sal dos jogadores; "
                                  "registre o sal antes de rolar");
    }
    RollEntry entry;
    const auto each = [&](qint64 seq, const DiceOutcome &outcome, QByteArrayView) {
        entry.seq = seq;
        AppendDiceDetailsLine(entry.details, expression, outcome);
        entry.details.chop(1); // its "\n"
        std::size_t count = 0;
        for (const DiceTermResult &term : outcome.terms)
            count += term.dice.size();
        entry.dice.reserve(count);
        for (std::size_t t = 0; t < outcome.terms.size(); ++t) {
            for (const DieResult &die : outcome.terms[t].dice)
                entry.dice.push_back({die.value, die.marks, quint16(qMin<std::size_t>(t, 0xFFFF))});
        }
        entry.total = outcome.total.decimal(4, ',');
    };
    QString error;
    switch (RecordedRolls::roll(m_record, expression, 1, *m_source, m_secret, each, error)) {
    case RecordedRolls::Result::Done:
        break;
    case RecordedRolls::Result::OutOfRange:
        return QStringLiteral("o resultado saiu do limite de 64 bits");
    case RecordedRolls::Result::Failed:
        return QStringLiteral("o registro \"") + m_path
               + QStringLiteral("\" não pôde receber a rolagem: ") + error;
    }
    entry.time = QDateTime::currentMSecsSinceEpoch();
    const QString shown = QString::fromUtf8(expression.shownUtf8());
    if (shown != m_lastExpression)
        m_lastExpression = shown;
    entry.expression = m_lastExpression;
    if (expression.label() != m_lastLabel)
        m_lastLabel = expression.label();
    entry.label = m_lastLabel;
    return entry;
}
