// quintara-cli: the program's core without a window, for scripts and cron.

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/manual.h"
#include "cli/terminal_interaction.h"
#include "base/clock.h"
#ifdef QUINTARA_CHARTS
#include "charts/chart_render.h"
#endif

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>
#include <exception>
#include <memory>
#include <unistd.h>

namespace {

using namespace q;

// The overview --help prints: the global options and one line per subcommand, from
// the same tables the manual page and the completion are written from.
void printGlobalHelp(QTextStream& s) {
    s << "Aufruf: quintara-cli [OPTIONEN] BEFEHL [ARGUMENTE]\n\n";
    for (const cli::GlobalOption& g : cli::globalOptions()) {
        QString left = QString::fromLatin1(g.name);
        if (*g.value) left += QLatin1Char(' ') + QString::fromLatin1(g.value);
        s << "  " << QStringLiteral("%1").arg(left, -20) << QString::fromUtf8(g.meaning) << "\n";
    }
    s << "\nBefehle:\n";
    for (const cli::Command& c : cli::commands())
        s << QStringLiteral("  %1").arg(QString::fromLatin1(c.name), -18) << QString::fromUtf8(c.summary) << "\n";
}

// Long passes report "text (done/total)" on stderr, at most a line a second, so
// that scripts keep a clean stdout and a person at the terminal sees it move. Only
// a terminal (or --progress) gets them: an unattended run that succeeds writes
// nothing to stderr, so a scheduler mails only when something went wrong.
class StderrProgress final : public Progress {
public:
    explicit StderrProgress(bool shown) : m_shown(shown) {}
    void step(const QString& text, qint64 done, qint64 total) override {
        if (!m_shown || text.isEmpty() || (m_clock.isValid() && m_clock.elapsed() < 1000 && done < total)) return;
        m_clock.start();
        QTextStream err(stderr);
        if (total > 0)
            err << text << " (" << done << "/" << total << ")\n";
        else
            err << text << "\n";
    }

private:
    bool m_shown;
    QElapsedTimer m_clock;
};

// A usage error: the message on stderr, and with --json also one JSON object on stdout.
int usageError(const QStringList& arguments, const QString& message) {
    const bool json = std::any_of(arguments.begin(), arguments.end(), [](const QString& a) {
        return a == QLatin1String("--json") || a.startsWith(QLatin1String("--json="));
    });
    if (json) {
        QJsonObject json{{QStringLiteral("ok"), false}, {QStringLiteral("error"), message}};
        QTextStream(stdout) << QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact)) << "\n";
    }
    QTextStream(stderr) << message << "\n";
    return 2;
}

int run(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    auto parsed = cli::parseOptions(arguments, cli::findArgSpec);
    if (!parsed) return usageError(arguments, parsed.status().message());
    const cli::Options& options = *parsed;
    if (options.version) {
        out << "quintara-cli " << QUINTARA_VERSION_TEXT << " (Quintara, Kommandozeile)\n";
        return 0;
    }
    if (!options.docsDir.isEmpty()) {
        const Status written = cli::writeDocs(options.docsDir);
        if (!written) return usageError(arguments, written.message());
        return 0;
    }
    const cli::Command* command = cli::findCommand(options.command);
    if (!command) {
        if (!options.command.isEmpty()) {
            QStringList names;
            for (const cli::Command& c : cli::commands()) names << QString::fromLatin1(c.name);
            return usageError(arguments, cli::unknownNameMessage(QStringLiteral("Unbekannter Befehl"), options.command, names));
        }
        if (options.json && !options.help) return usageError(arguments, QStringLiteral("Kein Befehl angegeben (siehe --help)"));
        printGlobalHelp(options.help ? out : err);
        return options.help ? 0 : 2;
    }
    if (options.help) {
        out << "quintara-cli " << command->name << ": " << QString::fromUtf8(command->summary) << "\n\n"
            << QString::fromUtf8(command->usage) << "\n";
        return 0;
    }
    if (options.today.isValid()) setToday(options.today);

    UnattendedInteraction unattended(options.yes ? Answer::Yes : Answer::No);
    cli::TerminalInteraction terminal;
    Interaction& ui = options.interactive ? static_cast<Interaction&>(terminal) : unattended;
    StderrProgress progress(options.progress || isatty(STDERR_FILENO));
    Session session;
    cli::Context context{options, options.args, QCoreApplication::applicationDirPath(), session, ui, progress, command};
    cli::Outcome outcome = command->run(context);

    const QStringList messages = options.interactive ? terminal.messages : unattended.messages();
    if (options.json) {
        QJsonObject json = outcome.json;
        json[QStringLiteral("notes")] = QJsonArray::fromStringList(session.statusNotes);
        json[QStringLiteral("command")] = QString::fromLatin1(command->name);
        json[QStringLiteral("ok")] = outcome.status.isOk();
        if (!outcome.status.isOk()) json[QStringLiteral("error")] = outcome.status.message();
        json[QStringLiteral("messages")] = QJsonArray::fromStringList(messages);
        json[QStringLiteral("lines")] = QJsonArray::fromStringList(outcome.lines);
        out << QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact)) << "\n";
    } else {
        for (const QString& line : outcome.lines) out << line << "\n";
        if (!options.interactive) {
            for (const QString& m : messages) err << m << "\n";
            // An offer nobody could answer (a restore, an index rebuild) is said, so
            // the user knows what --yes would do.
            for (const QString& line : unattended.log())
                if (line.startsWith(QLatin1String("Frage: ")) && line.endsWith(QLatin1String(" -> Nein")))
                    err << "Nicht bestätigt (mit --yes: Ja): " << line.mid(7, line.size() - 15) << "\n";
        }
    }
    // What the window shows in its status bar (a settings file that had to be
    // repaired, a missing data directory, tables on a network share).
    for (const QString& note : session.statusNotes) err << "Hinweis: " << note << "\n";
    if (!outcome.status.isOk()) {
        if (!outcome.status.message().isEmpty() && !messages.contains(outcome.status.message()))
            err << outcome.status.message() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
#ifdef QUINTARA_CHARTS
        // Charts are drawn by widgets, which need a widget application (offscreen
        // without a display); every other command keeps to the core.
        bool chart = false;
        for (int i = 1; i < argc && !chart; ++i) chart = qstrcmp(argv[i], "chart") == 0;
        std::unique_ptr<QCoreApplication> app = chart ? q::charts::chartApplication(argc, argv)
                                                      : std::make_unique<QCoreApplication>(argc, argv);
#else
        auto app = std::make_unique<QCoreApplication>(argc, argv);
#endif
        QStringList arguments = app->arguments();
        arguments.removeFirst();
        return run(arguments);
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 3;
    }
}
