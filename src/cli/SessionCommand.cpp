#include "cli/SessionCommand.h"

#include "cli/CliOutput.h"
#include "dice/record/SessionRecord.h"
#include "dice/record/SessionSecret.h"
#include "dice/record/VerifiableSession.h"

#include "QuessarVersion.h"

#include <QCommandLineParser>

namespace {

QString description(const QString &summary)
{
    return summary + QStringLiteral(R"(

Ações:
  abrir ARQUIVO        cria o registro ARQUIVO (recusa um que já exista) com o
                       compromisso, o SHA-256 de um segredo de 32 bytes tirado
                       da fonte aleatória do sistema; o segredo fica em
                       ARQUIVO.segredo (64 dígitos hexadecimais, só o dono lê,
                       nunca sobrescrito) e não é mostrado. Publique o
                       compromisso antes de jogar.
  sal ARQUIVO TEXTO    registra o sal que os jogadores escolheram depois de ver
                       o compromisso (até 1000 bytes); recusado depois de uma
                       rolagem ou de outro sal.
  fechar ARQUIVO       acrescenta o segredo ao registro e encerra a sessão:
                       rolagens, sais e fechamentos seguintes são recusados.

Entre "sal" e "fechar", "quessar-cli dados --registro ARQUIVO" rola com os
dados do segredo (HMAC-SHA256 do sal, do número da rolagem e de um contador;
-s é recusado). Depois de fechar, qualquer um confere tudo com
"quessar-cli verificar ARQUIVO" ou com docs/verificar-registro.py; o formato e
os vetores de teste estão em quessar-registro(5).

Exemplo:
  quessar-cli sessao abrir mesa.jsonl
  quessar-cli sessao sal mesa.jsonl 'lobo azul 42'
  printf '1d20+5 # Ana\n4d6kh3\n' | quessar-cli dados --registro mesa.jsonl
  quessar-cli sessao fechar mesa.jsonl
  quessar-cli verificar mesa.jsonl)");
}

QByteArray program()
{
    return QByteArray("quessar-cli ") + QuessarVersionString;
}

} // namespace

int SessionCommand::run(const QStringList &arguments, CliOutput &out, CliOutput &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description(summary()));
    parser.addPositionalArgument(QStringLiteral("ação"), QStringLiteral("abrir, sal ou fechar."),
                                 QStringLiteral("AÇÃO"));
    parser.addPositionalArgument(QStringLiteral("arquivo"),
                                 QStringLiteral("O registro da sessão."),
                                 QStringLiteral("ARQUIVO"));
    parser.addPositionalArgument(QStringLiteral("texto"),
                                 QStringLiteral("O sal (só com \"sal\")."),
                                 QStringLiteral("[TEXTO]"));
    if (const auto status = parse(parser, arguments, out, err))
        return *status;
    const QStringList given = parser.positionalArguments();
    const QString action = given.value(0);
    if (action.isEmpty())
        return badArgument(err, QStringLiteral("falta a AÇÃO (abrir, sal ou fechar); veja "
                                               "\"quessar-cli sessao --help\""));
    if (action != u"abrir" && action != u"sal" && action != u"fechar")
        return badArgument(err, QStringLiteral("ação desconhecida: ") + action
                                    + QStringLiteral(" (abrir, sal ou fechar)"));
    const qsizetype wanted = action == u"sal" ? 3 : 2;
    if (given.size() < 2)
        return badArgument(err, QStringLiteral("falta o ARQUIVO do registro"));
    if (given.size() < wanted)
        return badArgument(err, QStringLiteral("falta o TEXTO do sal"));
    if (given.size() > wanted)
        return badArgument(err, QStringLiteral("argumento a mais: ") + given[wanted]);
    if (action == u"abrir")
        return open(given[1], out, err);
    if (action == u"sal")
        return salt(given[1], given[2], out, err);
    return close(given[1], out, err);
}

int SessionCommand::refused(CliOutput &err, const QString &path, const QString &reason) const
{
    err.write(QStringLiteral("quessar-cli sessao: \"") + path + QStringLiteral("\": ") + reason
              + u'\n');
    return ExitOutputFailed;
}

int SessionCommand::open(const QString &path, CliOutput &out, CliOutput &err) const
{
    SessionRecord record;
    QByteArray commitment;
    QString failedPath;
    QString error;
    if (!VerifiableSession::open(record, path, program(), commitment, failedPath, error))
        return refused(err, failedPath, error);
    out.write(QStringLiteral("Compromisso: ") + QString::fromLatin1(commitment)
              + QStringLiteral("\n"
                               "Publique o compromisso para os jogadores antes de rolar. O segredo "
                               "está em\n\"")
              + SessionSecret::pathFor(path)
              + QStringLiteral("\" (não o mostre até fechar a sessão). A seguir:\n"
                               "  quessar-cli sessao sal ARQUIVO TEXTO   o sal dos jogadores\n"
                               "  quessar-cli dados --registro ARQUIVO   as rolagens\n"
                               "  quessar-cli sessao fechar ARQUIVO      revela o segredo\n"));
    return ExitSuccess;
}

int SessionCommand::salt(const QString &path, const QString &text, CliOutput &out,
                         CliOutput &err) const
{
    const QByteArray saltUtf8 = text.toUtf8();
    if (saltUtf8.size() > VerifiableSession::MaxSaltBytes)
        return badArgument(err, QStringLiteral("o sal passa de %1 bytes")
                                    .arg(VerifiableSession::MaxSaltBytes));
    SessionRecord record;
    QString error;
    if (!record.open(path, QByteArray(), false, error)
        || !VerifiableSession::salt(record, saltUtf8, error))
        return refused(err, path, error);
    out.write(QStringLiteral("Sal registrado. As rolagens vão para \"quessar-cli dados "
                             "--registro ARQUIVO\".\n"));
    return ExitSuccess;
}

int SessionCommand::close(const QString &path, CliOutput &out, CliOutput &err) const
{
    SessionRecord record;
    QString error;
    qint64 rolls = 0;
    QByteArray secret;
    if (!record.open(path, QByteArray(), false, error)
        || !VerifiableSession::close(record, path, rolls, secret, error))
        return refused(err, path, error);
    out.write(QStringLiteral("Sessão encerrada depois de %1 rolagens; o segredo está no registro.\n"
                             "Qualquer um pode conferir: quessar-cli verificar ")
                  .arg(rolls)
              + path + u'\n');
    return ExitSuccess;
}
