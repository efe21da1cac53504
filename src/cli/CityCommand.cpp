#include "cli/CityCommand.h"

#include "city/CityFile.h"
#include "city/CityJsonReport.h"
#include "city/CityMarkdownReport.h"
#include "city/CityModel.h"
#include "city/CityReport.h"
#include "city/CityTables.h"
#include "city/CityTextReport.h"
#include "city/Windows1252.h"
#include "cli/CliArguments.h"
#include "cli/CliOutput.h"
#include "common/AtomicFile.h"
#include "common/CharacterDescription.h"
#include "common/SplitMixRandomSource.h"
#include "names/NameMask.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 LargestCity = std::numeric_limits<qint32>::max() / CityBlockPopulation;

// The moment the report is stamped with: now, or SOURCE_DATE_EPOCH (seconds since 1970) when
// it is set, the usual way to make a tool's output reproducible. Nothing when that variable
// does not hold such a moment (a four-digit year at most).
std::optional<QDateTime> generationTime()
{
    const QString epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH");
    if (epoch.isEmpty())
        return QDateTime::currentDateTime();
    constexpr qint64 EndOfYear9999 = 253'402'300'799;
    const std::optional<qint64> seconds = ParseWholeNumber(epoch, 0, EndOfYear9999);
    if (!seconds)
        return std::nullopt;
    const QDateTime when = QDateTime::fromSecsSinceEpoch(*seconds);
    if (!when.isValid() || when.date().year() > 9999)
        return std::nullopt; // the local time zone can push the last second into year 10000
    return when;
}

// The first character that would break the report's layout (a line break, a tab, any other
// control character), or 0.
char32_t firstControlCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            return c.unicode();
    }
    return 0;
}

// Writes into a device or FIFO (/dev/stdout, a pipe to another program), which has no old
// content to keep and must not be renamed over.
bool writeInPlace(const QString &path, QByteArrayView bytes, QString &reason)
{
    std::FILE *stream = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!stream) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    bool written = false;
    {
        CliOutput file(stream);
        file.write(bytes);
        written = file.finish();
        reason = file.errorString();
    }
    if (std::fclose(stream) != 0 && written) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        written = false;
    }
    return written;
}

} // namespace

QStringList CityCommand::negativeNumbersAsArguments(const QStringList &arguments,
                                                    const QList<QCommandLineOption> &options)
{
    // "-s", "--semente", …: the spellings after which the next argument is a value.
    QStringList optionsWithValues;
    for (const QCommandLineOption &option : options) {
        if (option.valueName().isEmpty())
            continue;
        for (const QString &name : option.names())
            optionsWithValues << (name.size() == 1 ? u"-"_s : u"--"_s) + name;
    }

    QStringList reordered;
    QStringList numbers;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--") {
            numbers += arguments.mid(i + 1);
            break;
        }
        if (i > 0 && argument.startsWith(u'-') && IsPlainInteger(argument)) {
            numbers << argument;
            continue;
        }
        reordered << argument;
        if (i > 0 && optionsWithValues.contains(argument) && i + 1 < arguments.size())
            reordered << arguments[++i];
    }
    if (!numbers.isEmpty())
        reordered << QStringLiteral("--") << numbers;
    return reordered;
}

int CityCommand::run(const QStringList &arguments, CliOutput &out, CliOutput &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        summary()
        + QStringLiteral("\n\nUma cidade de BLOCOS blocos tem BLOCOS × 250 habitantes\n"
                         "(de -%1 a %1 blocos).\n"
                         "Um número negativo de blocos pode vir direto (cidade -3) ou depois "
                         "de --.")
              .arg(LargestCity));
    const QCommandLineOption nameOption(QStringLiteral("nome"), QStringLiteral("O nome da cidade."),
                                        QStringLiteral("NOME"));
    const QCommandLineOption maskOption(
        QStringLiteral("mascara"),
        // The line break keeps the quoted default, which holds a space, on one line.
        QStringLiteral("Gera o nome com esta máscara\n(padrão \"%1\").").arg(defaultMask()),
        QStringLiteral("MÁSCARA"));
    const QCommandLineOption formatOption(
        {QStringLiteral("f"), QStringLiteral("formato")},
        QStringLiteral("texto (o relatório da janela), markdown ou json (padrão texto)."),
        QStringLiteral("FORMATO"), QStringLiteral("texto"));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("saida")},
        QStringLiteral("Grava o relatório neste arquivo (de uma vez: nunca pela metade)."),
        QStringLiteral("ARQUIVO"));
    const QCommandLineOption encodingOption(
        QStringLiteral("codificacao"),
        QStringLiteral("utf-8 ou windows-1252 (a do arquivo que a janela salva, com CR LF); "
                       "padrão utf-8."),
        QStringLiteral("CODIFICAÇÃO"), QStringLiteral("utf-8"));
    const QCommandLineOption seed =
        seedOption(QStringLiteral("Semente do sorteio do nome (inteiro de 64 bits)."));
    const QList<QCommandLineOption> options{nameOption,   maskOption,     formatOption,
                                            outputOption, encodingOption, seed};
    parser.addOptions(options);
    parser.addPositionalArgument(QStringLiteral("BLOCOS"),
                                 QStringLiteral("Tamanho da cidade em blocos de 250 pessoas."));

    if (const auto status = parse(parser, negativeNumbersAsArguments(arguments, options), out, err))
        return *status;

    // The block count: exactly one plain integer whose population fits in 32 bits.
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return badArgument(err, QStringLiteral("falta o número de BLOCOS da cidade"));
    if (positional.size() > 1)
        return badArgument(err, QStringLiteral("argumento a mais: \"%1\" (só um número de "
                                               "BLOCOS)")
                                    .arg(positional[1]));
    const QString blocksText = positional.first();
    if (!IsPlainInteger(blocksText))
        return badArgument(err, QStringLiteral("número de BLOCOS inválido: \"%1\" (use um "
                                               "número inteiro)")
                                    .arg(blocksText));
    const std::optional<qint64> blocks = ParseWholeNumber(blocksText, -LargestCity, LargestCity);
    if (!blocks)
        return badArgument(err, QStringLiteral("BLOCOS fora do limite: \"%1\" (a população não "
                                               "cabe em 32 bits; use de -%2 a %2)")
                                    .arg(blocksText, QString::number(LargestCity)));

    const QString format = parser.value(formatOption);
    if (format != u"texto" && format != u"markdown" && format != u"json")
        return badArgument(err, QStringLiteral("formato desconhecido para --formato: \"%1\" "
                                               "(use texto, markdown ou json)")
                                    .arg(format));
    const QString encoding = parser.value(encodingOption).toLower();
    const bool windows1252 = encoding == u"windows-1252" || encoding == u"cp1252";
    if (!windows1252 && encoding != u"utf-8" && encoding != u"utf8")
        return badArgument(err, QStringLiteral("codificação desconhecida para --codificacao: "
                                               "\"%1\" (use utf-8 ou windows-1252)")
                                    .arg(parser.value(encodingOption)));
    if (windows1252 && format == u"json")
        return badArgument(err, QStringLiteral("JSON é sempre UTF-8: --codificacao "
                                               "windows-1252 não serve para -f json"));

    std::optional<std::uint64_t> seedValue;
    if (!readSeed(parser, seed, seedValue, err))
        return ExitBadArguments;

    // The name: given, or generated from the mask with the run's source.
    if (parser.isSet(nameOption) && parser.isSet(maskOption))
        return badArgument(err, QStringLiteral("use --nome ou --mascara, não os dois"));
    QString cityName;
    if (parser.isSet(nameOption)) {
        cityName = parser.value(nameOption);
        if (cityName.trimmed().isEmpty())
            return badArgument(err, QStringLiteral("--nome vazio ou só de espaços: a cidade deve "
                                                   "ter um nome"));
    } else {
        // Every special character gives a letter or digit: only a blank mask gives a blank name.
        const QString mask = parser.isSet(maskOption) ? parser.value(maskOption) : defaultMask();
        if (mask.trimmed().isEmpty())
            return badArgument(err, QStringLiteral("--mascara vazia ou só de espaços: a cidade "
                                                   "deve ter um nome"));
        SplitMixRandomSource source(RunSeed(seedValue));
        cityName = GenerateNameFromMask(mask, source);
    }

    if (const char32_t control = firstControlCharacter(cityName))
        return badArgument(err, QStringLiteral("o nome da cidade não pode ter o caractere %1")
                                    .arg(DescribeCharacter(control)));
    const std::optional<QDateTime> when = generationTime();
    if (!when)
        return badArgument(err, QStringLiteral("SOURCE_DATE_EPOCH=\"%1\" não é um número de "
                                               "segundos desde 1970 (até o ano 9999)")
                                    .arg(qEnvironmentVariable("SOURCE_DATE_EPOCH")));

    const std::optional<CityModel> city = CityModel::build(cityName, qint32(*blocks), *when);
    const QLocale locale = QLocale::system();

    // The bytes: UTF-8 with LF, or the window's own file (CR LF, one final CR LF) in
    // Windows-1252 for the text; Markdown keeps its LF in either encoding.
    QByteArray bytes;
    if (format == u"json") {
        bytes = CityJsonReport::render(*city);
    } else {
        QString text;
        if (format == u"markdown")
            text = CityMarkdownReport::render(*city, locale);
        else if (windows1252)
            text = CityFile::content(CityTextReport::render(*city, locale));
        else
            text = CityTextReport::render(*city, locale, u"\n") + u'\n';
        if (windows1252) {
            Windows1252::Result encoded = Windows1252::encode(text);
            if (!encoded.ok())
                return badArgument(err, QStringLiteral("--codificacao windows-1252: o caractere "
                                                       "%1 não existe nessa codificação (use "
                                                       "utf-8 ou troque o nome)")
                                            .arg(DescribeCharacter(encoded.errorCharacter)));
            bytes = std::move(encoded.bytes);
        } else {
            bytes = text.toUtf8();
        }
    }

    if (!parser.isSet(outputOption)) {
        out.write(QByteArrayView(bytes));
        return ExitSuccess;
    }
    const QString path = parser.value(outputOption);
    if (path == u"-") {
        out.write(QByteArrayView(bytes));
        return ExitSuccess;
    }
    QString reason;
    const QFileInfo target(path);
    const bool written = target.exists() && !target.isFile() && !target.isDir()
                             ? writeInPlace(path, bytes, reason)
                             : !path.isEmpty() && AtomicFile::write(path, bytes, &reason);
    if (!written) {
        err.write(QStringLiteral("quessar-cli %1: não foi possível gravar \"%2\": %3\n")
                      .arg(name(), path,
                           path.isEmpty() ? QStringLiteral("nome de arquivo vazio") : reason));
        return ExitOutputFailed;
    }
    return ExitSuccess;
}
