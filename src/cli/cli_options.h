// The options every quintara-cli subcommand shares, and each subcommand's own:
//   quintara-cli [--home DIR] [--settings FILE] [--today DD.MM.YYYY] [--json]
//                [--yes] [--interactive] [--progress] [--database URI] SUBCOMMAND [ARGS]
// The global options are also accepted after the subcommand, unless the subcommand
// declares an option of the same name (`regional --home SYMBOL`): then it is the
// subcommand's.
#pragma once

#include "base/status.h"

#include <QDate>
#include <QMap>
#include <QStringList>
#include <optional>
#include <vector>

namespace q::cli {

// One option a subcommand takes: "--shares" with a value, or a switch "--fees".
struct OptionSpec {
    const char* name;
    bool takesValue;
};

// What a subcommand accepts beside the global options.
struct ArgSpec {
    std::vector<OptionSpec> options;
    int minPositional = 0;
    int maxPositional = 0;  // -1: any number
};

// A subcommand's own arguments, already checked against its ArgSpec.
class Args {
public:
    bool has(const QString& option) const { return m_values.contains(option); }
    // The option's value; empty when absent (or a switch).
    QString value(const QString& option) const { return m_values.value(option); }
    const QStringList& positional() const { return m_positional; }

    // Typed values of an option. Each is nullopt when the option is absent and fails
    // Invalid with a German message naming option and value when the text is no such
    // value: a number with decimal comma or point, an integer, a date DD.MM.YYYY.
    Result<std::optional<double>> number(const QString& option) const;
    Result<std::optional<qint64>> integer(const QString& option) const;
    Result<std::optional<QDate>> date(const QString& option) const;

    void set(const QString& option, const QString& value) { m_values.insert(option, value); }
    void addPositional(const QString& value) { m_positional << value; }

private:
    QMap<QString, QString> m_values;
    QStringList m_positional;
};

struct Options {
    QString command;
    Args args;              // the subcommand's own arguments
    QString home;
    QString settings;
    QDate today;
    bool json = false;
    bool yes = false;          // every question is answered yes
    bool interactive = false;  // questions are asked on the terminal
    bool progress = false;     // progress lines on stderr even when it is no terminal
    bool help = false;
    bool version = false;
    QString docsDir;       // --write-docs DIR: the build writes the manual pages and completion
    QString depot;         // --depot DIR: the depot for this run only
    QString passwordFile;  // --password-file FILE: the depot password, first line of the file
    QString database;      // --database URI: the tables on this PostgreSQL server for this run only
};

// The global options, as the help, the manual page and the completion list them:
// name, value placeholder (empty for a switch) and meaning.
struct GlobalOption {
    const char* name;
    const char* value;
    const char* meaning;
};
const std::vector<GlobalOption>& globalOptions();

// The entry of `candidates` nearest to `word` (fewest single-character edits; the
// first of equals); empty when there are no candidates.
QString nearestName(const QString& word, const QStringList& candidates);

// "<what>: <word>. Meinten Sie <nearest>? Hilfe: quintara-cli --help", the one line
// an unknown subcommand or option gets.
QString unknownNameMessage(const QString& what, const QString& word, const QStringList& candidates);

// Finds the ArgSpec of a subcommand by name; nullptr for an unknown subcommand.
using SpecLookup = const ArgSpec* (*)(const QString& command);

// Parses the command line (without the program name). Fails Invalid with a German
// message for an unknown option (unknownNameMessage()), a missing value, a bad date
// or a wrong number of arguments. An unknown subcommand is left for the caller to
// report.
Result<Options> parseOptions(const QStringList& arguments, SpecLookup lookup = nullptr);

}  // namespace q::cli
