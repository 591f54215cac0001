// quintara-cli: the program's core without a window, for scripts and cron.

#include "app/cli/cli_options.h"
#include "app/cli/commands.h"
#include "app/cli/terminal_interaction.h"
#include "base/clock.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>
#include <exception>

namespace {

using namespace q;

const char* kGlobalHelp =
    "Aufruf: quintara-cli [--home VERZ] [--settings DATEI] [--today TT.MM.JJJJ] [--json]\n"
    "                     [--yes] [--interactive] BEFEHL [ARGUMENTE]\n\n"
    "  --home VERZ         Installationsverzeichnis (darin Daten/, Temp/, Intraday/)\n"
    "  --settings DATEI    Einstellungsdatei (sonst ~/.config/Morvane/Quintara.conf)\n"
    "  --today TT.MM.JJJJ  das Datum, das als heute gilt\n"
    "  --json              Ergebnis als ein JSON-Objekt\n"
    "  --yes               jede Frage mit Ja beantworten\n"
    "  --interactive       Fragen im Terminal stellen\n\n"
    "Befehle:\n";

class StderrProgress final : public Progress {
public:
    void step(const QString&, qint64, qint64) override {}
};

int run(const QStringList& arguments) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    auto parsed = cli::parseOptions(arguments);
    if (!parsed) {
        err << parsed.status().message() << "\n";
        return 2;
    }
    const cli::Options& options = *parsed;
    const cli::Command* command = cli::findCommand(options.command);
    if (!command) {
        if (!options.command.isEmpty()) err << "Unbekannter Befehl: " << options.command << "\n";
        (options.command.isEmpty() && options.help ? out : err) << kGlobalHelp;
        for (const cli::Command& c : cli::commands())
            (options.command.isEmpty() && options.help ? out : err) << QStringLiteral("  %1").arg(QString::fromLatin1(c.name), -10)
                                                                    << QString::fromUtf8(c.summary) << "\n";
        return options.command.isEmpty() && options.help ? 0 : 2;
    }
    if (options.help) {
        out << "quintara-cli " << command->name << ": " << QString::fromUtf8(command->summary) << "\n\n"
            << QString::fromUtf8(command->usage) << "\n";
        return 0;
    }
    if (!options.args.isEmpty()) {
        err << "Unerwartetes Argument: " << options.args.first() << "\n";
        return 2;
    }
    if (options.today.isValid()) setToday(options.today);

    UnattendedInteraction unattended(options.yes ? Answer::Yes : Answer::No);
    cli::TerminalInteraction terminal;
    Interaction& ui = options.interactive ? static_cast<Interaction&>(terminal) : unattended;
    StderrProgress progress;
    Session session;
    cli::Context context{options, QCoreApplication::applicationDirPath(), session, ui, progress};
    cli::Outcome outcome = command->run(context);

    const QStringList messages = options.interactive ? terminal.messages : unattended.messages();
    if (options.json) {
        QJsonObject json = outcome.json;
        json[QStringLiteral("command")] = QString::fromLatin1(command->name);
        json[QStringLiteral("ok")] = outcome.status.isOk();
        if (!outcome.status.isOk()) json[QStringLiteral("error")] = outcome.status.message();
        json[QStringLiteral("messages")] = QJsonArray::fromStringList(messages);
        json[QStringLiteral("lines")] = QJsonArray::fromStringList(outcome.lines);
        out << QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact)) << "\n";
    } else {
        for (const QString& line : outcome.lines) out << line << "\n";
        if (!options.interactive)
            for (const QString& m : messages) err << m << "\n";
    }
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
        QCoreApplication app(argc, argv);
        QStringList arguments = app.arguments();
        arguments.removeFirst();
        return run(arguments);
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 3;
    }
}
