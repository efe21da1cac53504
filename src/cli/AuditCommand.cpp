#include "cli/AuditCommand.h"

#include "cli/CliOutput.h"
#include "dice/audit/AuditJson.h"
#include "dice/audit/AuditLineReader.h"
#include "dice/audit/AuditText.h"
#include "dice/audit/LuckAudit.h"

#include <QCommandLineParser>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString description(const QString &summary)
{
    return summary + QStringLiteral(R"(

Lê cada ARQUIVO, um registro de sessão ("dados --registro") ou a saída de
"dados --json" ("-" é a entrada padrão), e compara o que saiu com o que
dados honestos dariam:
- por expressão, a média das rolagens contra a média exata (com o erro
  padrão) e as somas contra a distribuição exata da expressão (teste
  qui-quadrado, juntando valores vizinhos até esperar ao menos 5 de cada);
- por tamanho de dado, as faces sorteadas contra um dado honesto (só nos
  registros, que guardam os sorteios) e, no d20, os 1s e os 20s;
- a sorte de cada rolagem, o percentil do seu total entre os totais
  possíveis (50 % é o meio), e a sorte média, com o quanto ela é rara.
Cada veredito diz, em palavras, o quanto o visto é raro com dados honestos:
"nada fora do comum" (p de 1 % ou mais), "raro: acontece 1 vez em N
sessões assim" ou "quase impossível"; com menos de 30 rolagens, ou poucas
para o teste, diz que ainda não dá para distinguir um dado viciado de um
honesto. Com muitos testes, um "raro" de vez em quando é de se esperar.

O cabeçalho do registro e as linhas que não são rolagens são pulados; uma
linha incompleta (uma gravação interrompida) é dita com o seu número e
pulada. Uma expressão sem chances exatas (cálculo grande demais) é
contada, mas só as faces dela são auditadas.

Saída: 0 quando a auditoria foi feita (sejam quais forem os vereditos),
1 quando um arquivo não pôde ser lido ou a saída não pôde ser escrita,
2 argumentos inválidos.

Exemplos:
  quessar-cli auditar mesa.jsonl
  quessar-cli auditar --por-rotulo --sem-rotulo teste mesa.jsonl
  quessar-cli dados --json -n 1000 4d6kh3 | quessar-cli auditar -)");
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

bool AuditCommand::readInto(const QString &path, const Filter &filter, LuckAudit &audit,
                            CliOutput &err) const
{
    const bool standardInput = path == u"-";
    const QString shownPath = standardInput ? QStringLiteral("entrada padrão")
                                            : QStringLiteral("\"") + path + u'"';
    const auto failed = [&](int error) {
        err.write(QStringLiteral("quessar-cli auditar: não foi possível ler ") + shownPath
                  + QStringLiteral(": ") + systemReason(error) + u'\n');
        return false;
    };
    const int fd = standardInput ? STDIN_FILENO
                                 : ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return failed(errno);

    qint64 broken = 0;
    const AuditLineReader::BrokenLine named = [&](qint64 lineNumber) {
        if (++broken <= MaxNamedBrokenLines)
            err.write(QStringLiteral("quessar-cli auditar: ") + shownPath
                      + QStringLiteral(", linha ") + QString::number(lineNumber)
                      + QStringLiteral(": não é uma rolagem inteira (gravação interrompida?); "
                                       "pulada\n"));
    };
    AuditLineReader reader(audit, {filter.only, filter.without}, named);
    char block[256 * 1024];
    int readError = 0;
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            readError = errno;
            break;
        }
        if (got == 0)
            break;
        reader.feed(QByteArrayView(block, got));
    }
    if (!standardInput)
        ::close(fd);
    if (readError != 0)
        return failed(readError);
    reader.finish();
    if (broken > MaxNamedBrokenLines)
        err.write(QStringLiteral("quessar-cli auditar: ") + shownPath + QStringLiteral(": mais ")
                  + QString::number(broken - MaxNamedBrokenLines)
                  + QStringLiteral(" linhas que não são rolagens inteiras, puladas\n"));
    return true;
}

int AuditCommand::run(const QStringList &arguments, CliOutput &out, CliOutput &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description(summary()));
    const QCommandLineOption byLabel(QStringLiteral("por-rotulo"),
                                     QStringLiteral("Audita cada rótulo (\"# Ana\") à parte."));
    const QCommandLineOption only(QStringLiteral("rotulo"),
                                  QStringLiteral("Só as rolagens do rótulo TEXTO (repetível)."),
                                  QStringLiteral("TEXTO"));
    const QCommandLineOption without(
        QStringLiteral("sem-rotulo"),
        QStringLiteral("Deixa de fora as rolagens do rótulo TEXTO (repetível; \"\" as sem "
                       "rótulo)."),
        QStringLiteral("TEXTO"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("A auditoria num objeto JSON."));
    parser.addOptions({byLabel, only, without, json});
    parser.addPositionalArgument(QStringLiteral("arquivo"),
                                 QStringLiteral("Registros de sessão ou saídas de dados --json; "
                                                "\"-\" é a entrada padrão."),
                                 QStringLiteral("ARQUIVO…"));
    if (const auto status = parse(parser, arguments, out, err))
        return *status;

    const QStringList paths = parser.positionalArguments();
    if (paths.isEmpty())
        return badArgument(err, QStringLiteral("falta o ARQUIVO a auditar (\"-\" para a entrada "
                                               "padrão); veja \"quessar-cli auditar --help\""));
    if (paths.count(QStringLiteral("-")) > 1)
        return badArgument(err, QStringLiteral("a entrada padrão (\"-\") só pode ser lida uma vez"));

    const Filter filter{parser.values(only), parser.values(without)};
    LuckAudit audit(parser.isSet(byLabel));
    for (const QString &path : paths) {
        if (!readInto(path, filter, audit, err))
            return ExitOutputFailed;
    }
    const AuditReport report = audit.report();
    if (parser.isSet(json))
        AuditJson::append(out.buffer(), report);
    else
        AuditText::append(out.buffer(), report);
    out.flushIfFull();
    return ExitSuccess;
}
