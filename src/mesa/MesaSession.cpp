#include "mesa/MesaSession.h"

#include "dice/expression/DiceExpression.h"
#include "dice/format/DiceOutcomeFormat.h"
#include "dice/record/RecordLine.h"
#include "dice/record/RecordedRolls.h"
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

bool MesaSession::open(const QString &path, bool exclusive, QString &error)
{
    const QByteArray program = QByteArray("quessar-mesa ") + QuessarVersionString;
    m_open = m_record.open(path, RecordLine::header(program), exclusive, error);
    struct stat info{};
    if (m_open && ::stat(QFile::encodeName(path).constData(), &info) == 0) {
        m_device = quint64(info.st_dev);
        m_inode = quint64(info.st_ino);
    }
    if (m_open)
        m_path = path;
    return m_open;
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
    switch (RecordedRolls::roll(m_record, expression, 1, *m_source, QByteArray(), each, error)) {
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
