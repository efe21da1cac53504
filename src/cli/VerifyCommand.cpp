#include "cli/VerifyCommand.h"

#include "cli/CliOutput.h"
#include "dice/record/RecordVerifier.h"

#include <QCommandLineParser>

namespace {

QString description(const QString &summary)
{
    return summary + QStringLiteral(R"(

Confere o cabeçalho; numa sessão verificável (quessar-cli sessao), o
compromisso contra o segredo revelado no fechamento e o sal; o número de
cada rolagem (1, 2, 3... sem falta nem repetição); que cada rolagem, refeita
da expressão e dos sorteios registrados, dá exatamente a linha registrada, e
que, revelado o segredo, cada sorteio é o que o segredo dá; e que a hora
nunca volta atrás. Uma última linha cortada (escrita interrompida) é dita com
o seu número e pulada. Lê linha a linha: a memória não cresce com o registro.

Um registro comum (sem "sessao abrir") prova só que é coerente, não que os
dados foram honestos; uma sessão ainda aberta não tem o segredo revelado, e
os sorteios não podem ser conferidos.

Saída: 0 tudo confere, 3 o registro não confere (a primeira discrepância é
dita com o número da linha), 2 argumentos inválidos, 1 o arquivo não pôde
ser lido.

Exemplo:
  quessar-cli verificar mesa.jsonl)");
}

QString rolls(qint64 count)
{
    return count == 1 ? QStringLiteral("1 rolagem") : QStringLiteral("%1 rolagens").arg(count);
}

} // namespace

int VerifyCommand::run(const QStringList &arguments, CliOutput &out, CliOutput &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description(summary()));
    parser.addPositionalArgument(QStringLiteral("arquivo"),
                                 QStringLiteral("O registro de sessão a conferir."),
                                 QStringLiteral("ARQUIVO"));
    if (const auto status = parse(parser, arguments, out, err))
        return *status;
    const QStringList given = parser.positionalArguments();
    if (given.isEmpty())
        return badArgument(err, QStringLiteral("falta o ARQUIVO do registro; veja "
                                               "\"quessar-cli verificar --help\""));
    if (given.size() > 1)
        return badArgument(err, QStringLiteral("argumento a mais: ") + given[1]);
    const QString &path = given[0];

    RecordVerifier::Summary summary;
    QString error;
    if (!RecordVerifier::verify(path, summary, error)) {
        err.write(QStringLiteral("quessar-cli verificar: \"") + path
                  + QStringLiteral("\" não pôde ser lido: ") + error + u'\n');
        return ExitOutputFailed;
    }

    QString text;
    for (const qint64 line : summary.tornLines)
        text += QStringLiteral("Linha %1: cortada (escrita interrompida), pulada.\n").arg(line);
    if (summary.tornCount > qint64(summary.tornLines.size()))
        text += QStringLiteral("... e mais %1 linhas cortadas.\n")
                    .arg(summary.tornCount - qint64(summary.tornLines.size()));
    if (!summary.verified()) {
        text += QStringLiteral("NÃO CONFERE, linha %1: ").arg(summary.failedLine);
        out.write(text);
        out.write(summary.failure); // the record's own text is inserted once, here
        out.write(summary.rolls == 1
                      ? QStringLiteral("\n1 rolagem conferida antes dela.\n")
                      : QStringLiteral("\n%1 rolagens conferidas antes dela.\n").arg(summary.rolls));
        return ExitNotVerified;
    }
    text += QStringLiteral("Confere: %1").arg(rolls(summary.rolls));
    if (!summary.verifiable) {
        text += QStringLiteral(" refeitas dos sorteios registrados.\n"
                               "Registro comum (sem \"sessao abrir\"): prova só que é coerente, "
                               "não que os\ndados foram honestos.\n");
    } else {
        text += summary.closed ? QStringLiteral(", sessão verificável fechada, ")
                               : QStringLiteral(", sessão verificável aberta, ");
        text += summary.salted ? QStringLiteral("com sal.\n") : QStringLiteral("sem sal.\n");
        if (summary.drawsChecked)
            text += QStringLiteral("O segredo revelado confere com o compromisso, e cada sorteio é "
                                   "o que ele dá.\n");
        else
            text += QStringLiteral("O segredo ainda não foi revelado: os sorteios não podem ser "
                                   "conferidos\naté \"quessar-cli sessao fechar\".\n");
        if (!summary.salted)
            text += QStringLiteral("Sem o sal dos jogadores, o mestre poderia ter escolhido o "
                                   "segredo.\n");
    }
    out.write(text);
    return ExitSuccess;
}
