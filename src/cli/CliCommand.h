#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class CliOutput;
class QCommandLineOption;
class QCommandLineParser;

// Exit statuses of quessar-cli.
enum CliExitStatus : int {
    ExitSuccess = 0,
    ExitOutputFailed = 1, // the results could not be written (full disk, closed pipe, …)
    ExitBadArguments = 2, // an argument was wrong; stderr names it
};

// One subcommand of quessar-cli ("nomes", "cidade", "dados"): its own options, parsed with
// QCommandLineParser, results to `out` (UTF-8, LF line ends), messages to `err` in
// Portuguese.
class CliCommand
{
public:
    virtual ~CliCommand() = default;

    // The word that selects it on the command line.
    virtual QString name() const = 0;
    // One line for the program's --help.
    virtual QString summary() const = 0;

    // Runs with the subcommand's own arguments (`arguments[0]` is "quessar-cli <name>", as a
    // program name for QCommandLineParser). Returns an exit status; a failed write to `out`
    // is left for the caller to report (it checks `out` after run()).
    virtual int run(const QStringList &arguments, CliOutput &out, CliOutput &err) = 0;

protected:
    // Adds -h/--help, parses, and handles the outcome shared by every subcommand: help goes
    // to `out` (exit 0), a parse error to `err` with the option at fault (exit 2). Returns
    // the exit status when the command should stop there, nothing when it should go on.
    std::optional<int> parse(QCommandLineParser &parser, const QStringList &arguments,
                             CliOutput &out, CliOutput &err) const;

    // Writes "quessar-cli <name>: <message>\n" to `err`; returns ExitBadArguments so that a
    // caller can `return badArgument(err, …);`.
    int badArgument(CliOutput &err, const QString &message) const;

    // -s/--semente, the same in every subcommand; `description` says what it makes repeatable.
    static QCommandLineOption seedOption(const QString &description);

    // The value of a whole-number option, in [minimum, maximum], or `fallback` when the
    // option is absent. Nothing after reporting a value that is not such a number.
    std::optional<qint64> readWholeNumber(const QCommandLineParser &parser,
                                          const QCommandLineOption &option, qint64 fallback,
                                          qint64 minimum, qint64 maximum, CliOutput &err) const;

    // The seed option's value: false after reporting a value that is not a 64-bit integer;
    // otherwise true, with `seed` empty when the option is absent.
    bool readSeed(const QCommandLineParser &parser, const QCommandLineOption &option,
                  std::optional<std::uint64_t> &seed, CliOutput &err) const;
};
