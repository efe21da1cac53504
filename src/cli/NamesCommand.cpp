#include "cli/NamesCommand.h"

#include "cli/CliArguments.h"
#include "cli/CliOutput.h"
#include "common/SplitMixRandomSource.h"
#include "names/NameBatch.h"
#include "names/NameMask.h"
#include "names/PredefinedNameMasks.h"

#include <QCommandLineParser>

int NamesCommand::run(const QStringList &arguments, CliOutput &out, CliOutput &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        summary()
        + QStringLiteral("\n\nCada nome sorteia uma das máscaras e troca cada caractere especial\n"
                         "por uma letra ou algarismo da sua classe (veja --ajuda-mascara).\n"
                         "Sem máscara: \"%1\". Use -- antes de uma máscara que comece por \"-\".")
              .arg(defaultMask()));
    const QCommandLineOption countOption(
        {QStringLiteral("n"), QStringLiteral("quantidade")},
        QStringLiteral("Quantos nomes gerar (0 a %1; padrão 1).").arg(MaximumCount),
        QStringLiteral("N"));
    const QCommandLineOption seed = seedOption(QStringLiteral(
        "Semente do sorteio (inteiro de 64 bits): a mesma semente dá os mesmos nomes."));
    const QCommandLineOption separatorOption(
        QStringLiteral("separador"),
        QStringLiteral("Junta os nomes numa só linha, separados por TEXTO (por exemplo \", \")."),
        QStringLiteral("TEXTO"));
    const QCommandLineOption presetsOption(
        QStringLiteral("predefinidas"),
        QStringLiteral("Lista as 15 máscaras pré-definidas, uma por linha, e sai."));
    const QCommandLineOption maskHelpOption(
        QStringLiteral("ajuda-mascara"),
        QStringLiteral("Explica os caracteres especiais das máscaras e sai."));
    parser.addOptions({countOption, seed, separatorOption, presetsOption, maskHelpOption});
    parser.addPositionalArgument(
        QStringLiteral("MÁSCARA"),
        QStringLiteral("Máscaras dos nomes (padrão \"%1\").").arg(defaultMask()),
        QStringLiteral("[MÁSCARA…]"));
    if (const auto status = parse(parser, arguments, out, err))
        return *status;

    if (parser.isSet(presetsOption) || parser.isSet(maskHelpOption)) {
        if (parser.isSet(presetsOption))
            out.write(PredefinedNameMasks().join(u'\n') + u'\n');
        if (parser.isSet(maskHelpOption))
            out.write(MaskHelpText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + u'\n');
        return ExitSuccess;
    }

    const std::optional<qint64> count =
        readWholeNumber(parser, countOption, 1, 0, MaximumCount, err);
    std::optional<std::uint64_t> seedValue;
    if (!count || !readSeed(parser, seed, seedValue, err))
        return ExitBadArguments;
    const bool oneLine = parser.isSet(separatorOption);
    const QString separator = oneLine ? parser.value(separatorOption) : QStringLiteral("\n");
    QStringList masks = parser.positionalArguments();
    if (masks.isEmpty())
        masks << defaultMask();
    for (const QString &mask : masks) {
        if (mask.trimmed().isEmpty())
            return badArgument(err, QStringLiteral("MÁSCARA vazia ou só de espaços: \"") + mask
                                        + QStringLiteral("\" daria nomes em branco"));
    }

    SplitMixRandomSource source(RunSeed(seedValue));
    NameBatch batch(masks, separator);
    for (qint64 left = *count; left > 0 && !out.failed();) {
        left -= batch.appendUtf8(source, out.buffer(), left, CliOutput::BlockSize);
        out.flushIfFull();
    }
    if (*count > 0)
        out.write(QByteArrayView("\n"));
    return ExitSuccess;
}
