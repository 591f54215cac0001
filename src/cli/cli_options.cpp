#include "cli/cli_options.h"

#include "base/formats.h"

#include <algorithm>

namespace q::cli {

namespace {

const OptionSpec* findOption(const ArgSpec* accepts, const QString& name) {
    if (!accepts) return nullptr;
    for (const OptionSpec& o : accepts->options)
        if (name == QLatin1String(o.name)) return &o;
    return nullptr;
}

bool isHelp(const QString& a) { return a == QLatin1String("--help") || a == QLatin1String("-h"); }

// Single-character insertions, deletions and substitutions from `a` to `b`.
int editDistance(const QString& a, const QString& b) {
    std::vector<int> row(size_t(b.size()) + 1);
    for (size_t j = 0; j < row.size(); ++j) row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[size_t(j)];
            row[size_t(j)] = std::min({above + 1, row[size_t(j - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

// "--shares=5" is read as "--shares 5".
QStringList splitEquals(const QStringList& arguments) {
    QStringList out;
    for (const QString& a : arguments) {
        const int eq = a.indexOf(QLatin1Char('='));
        if (a.startsWith(QLatin1String("--")) && eq > 2) {
            out << a.left(eq) << a.mid(eq + 1);
        } else {
            out << a;
        }
    }
    return out;
}

}  // namespace

const std::vector<GlobalOption>& globalOptions() {
    static const std::vector<GlobalOption> list = {
        {"--home", "VERZ", "Installationsverzeichnis (darin Temp/, Intraday/ und, wenn vorhanden, Daten/)"},
        {"--settings", "DATEI", "Einstellungsdatei (sonst ~/.config/Morvane/Quintara.conf)"},
        {"--today", "TT.MM.JJJJ", "das Datum, das als heute gilt"},
        {"--json", "", "Ergebnis als ein JSON-Objekt"},
        {"--yes", "", "jede Frage mit Ja beantworten"},
        {"--interactive", "", "Fragen im Terminal stellen"},
        {"--depot", "VERZ", "das Depot in VERZ nur für diesen Lauf"},
        {"--password-file", "DATEI", "das Depot-Passwort steht in der ersten Zeile der Datei"},
        {"--database", "URI", "die Tabellen auf diesem PostgreSQL-Server, nur für diesen Lauf (sonst die Einstellung Datenbank)"},
        {"--progress", "", "Fortschritt auf stderr, auch wenn stderr kein Terminal ist"},
        {"--version", "", "Programmname und Version"},
        {"--help", "", "diese Hilfe; nach einem Befehl dessen Hilfe"},
    };
    return list;
}

QString nearestName(const QString& word, const QStringList& candidates) {
    QString best;
    int bestDistance = 0;
    for (const QString& c : candidates) {
        const int d = editDistance(word, c);
        if (best.isEmpty() || d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    return best;
}

QString unknownNameMessage(const QString& what, const QString& word, const QStringList& candidates) {
    const QString nearest = nearestName(word, candidates);
    QString message = QStringLiteral("%1: %2.").arg(what, word);
    if (!nearest.isEmpty()) message += QStringLiteral(" Meinten Sie %1?").arg(nearest);
    return message + QStringLiteral(" Hilfe: quintara-cli --help");
}

Result<std::optional<double>> Args::number(const QString& option) const {
    if (!has(option)) return std::optional<double>();
    const QString text = value(option).trimmed();
    auto v = parseNumber(text);
    if (!v) return Status::invalid(QStringLiteral("Ungültige Zahl für %1: %2").arg(option, text));
    return std::optional<double>(*v);
}

Result<std::optional<qint64>> Args::integer(const QString& option) const {
    if (!has(option)) return std::optional<qint64>();
    const QString text = value(option).trimmed();
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok) return Status::invalid(QStringLiteral("Ungültige ganze Zahl für %1: %2").arg(option, text));
    return std::optional<qint64>(v);
}

Result<std::optional<QDate>> Args::date(const QString& option) const {
    if (!has(option)) return std::optional<QDate>();
    const QString text = value(option).trimmed();
    auto d = parseDate(text);
    if (!d) return Status::invalid(QStringLiteral("Ungültiges Datum für %1: %2 (erwartet TT.MM.JJJJ)").arg(option, text));
    return std::optional<QDate>(*d);
}

Result<Options> parseOptions(const QStringList& rawArguments, SpecLookup lookup) {
    const QStringList arguments = splitEquals(rawArguments);
    Options o;
    const ArgSpec* accepts = nullptr;
    QStringList unknownOptions;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        auto next = [&](const QString& name) -> Result<QString> {
            if (i + 1 >= arguments.size())
                return Status::invalid(QStringLiteral("Die Option %1 braucht einen Wert").arg(name));
            return arguments[++i];
        };
        // A subcommand's own option wins over a global one of the same name.
        if (const OptionSpec* own = o.command.isEmpty() ? nullptr : findOption(accepts, a)) {
            if (own->takesValue) {
                auto v = next(a);
                if (!v) return v.status();
                o.args.set(a, *v);
            } else {
                o.args.set(a, QString());
            }
        } else if (a == QLatin1String("--home")) {
            auto v = next(a);
            if (!v) return v.status();
            o.home = *v;
        } else if (a == QLatin1String("--settings")) {
            auto v = next(a);
            if (!v) return v.status();
            o.settings = *v;
        } else if (a == QLatin1String("--today")) {
            auto v = next(a);
            if (!v) return v.status();
            auto d = parseDate(*v);
            if (!d) return Status::invalid(QStringLiteral("Ungültiges Datum für --today: %1 (erwartet TT.MM.JJJJ)").arg(*v));
            o.today = *d;
        } else if (a == QLatin1String("--database")) {
            auto v = next(a);
            if (!v) return v.status();
            o.database = *v;
        } else if (a == QLatin1String("--depot") || a == QLatin1String("--password-file")) {
            auto v = next(a);
            if (!v) return v.status();
            (a == QLatin1String("--depot") ? o.depot : o.passwordFile) = *v;
        } else if (a == QLatin1String("--json")) {
            o.json = true;
        } else if (a == QLatin1String("--yes")) {
            o.yes = true;
        } else if (a == QLatin1String("--interactive")) {
            o.interactive = true;
        } else if (a == QLatin1String("--progress")) {
            o.progress = true;
        } else if (a == QLatin1String("--version")) {
            o.version = true;
        } else if (a == QLatin1String("--write-docs")) {
            auto v = next(a);
            if (!v) return v.status();
            o.docsDir = *v;
        } else if (isHelp(a)) {
            o.help = true;
        } else if (o.command.isEmpty() && !a.startsWith(QLatin1String("--"))) {
            o.command = a;
            accepts = lookup ? lookup(a) : nullptr;
        } else if (a.startsWith(QLatin1String("--")) || o.command.isEmpty()) {
            unknownOptions << a;
        } else {
            o.args.addPositional(a);
        }
    }
    // Usage errors are reported only for a known subcommand (an unknown one is
    // reported by name instead) and not when help was asked for.
    if (o.help || o.version || !o.docsDir.isEmpty() || (lookup && !accepts)) return o;
    if (!unknownOptions.isEmpty()) {
        QStringList known;
        if (accepts)
            for (const OptionSpec& own : accepts->options) known << QString::fromLatin1(own.name);
        for (const GlobalOption& g : globalOptions()) known << QString::fromLatin1(g.name);
        return Status::invalid(unknownNameMessage(QStringLiteral("Unbekannte Option"), unknownOptions.first(), known));
    }
    const int n = static_cast<int>(o.args.positional().size());
    const int minimum = accepts ? accepts->minPositional : 0;
    const int maximum = accepts ? accepts->maxPositional : 0;
    if (n > maximum && maximum >= 0)
        return Status::invalid(QStringLiteral("Unerwartetes Argument: %1").arg(o.args.positional().value(maximum)));
    if (n < minimum) return Status::invalid(QStringLiteral("Zu wenige Argumente für %1 (siehe --help)").arg(o.command));
    return o;
}

}  // namespace q::cli
