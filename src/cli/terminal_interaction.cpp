#include "cli/terminal_interaction.h"

#include <QTextStream>

namespace q::cli {

namespace {
QString readLine() {
    QTextStream in(stdin);
    return in.readLine();
}
}  // namespace

Answer TerminalInteraction::ask(const QString& title, const QString& text, Answer defaultAnswer) {
    QTextStream err(stderr);
    err << title << ": " << text.trimmed() << (defaultAnswer == Answer::Yes ? " [J/n] " : " [j/N] ") << Qt::flush;
    const QString a = readLine().trimmed().toLower();
    if (a.isEmpty()) return defaultAnswer;
    return (a.startsWith(QLatin1Char('j')) || a.startsWith(QLatin1Char('y'))) ? Answer::Yes : Answer::No;
}

void TerminalInteraction::tell(const QString& text, const QString&) {
    messages << text;
    QTextStream(stderr) << text << "\n";
}

std::optional<QString> TerminalInteraction::input(const QString& title, const QString& prompt, bool) {
    QTextStream(stderr) << title << " " << prompt << " " << Qt::flush;
    const QString line = readLine();
    if (line.isNull()) return std::nullopt;
    return line;
}

std::optional<QString> TerminalInteraction::chooseFile(const QString& title, const QString&, const QString&) {
    return input(title, QStringLiteral("Datei:"), false);
}

std::optional<QString> TerminalInteraction::chooseDirectory(const QString& title, const QString&) {
    return input(title, QStringLiteral("Verzeichnis:"), false);
}

void TerminalInteraction::status(const QString& text) { QTextStream(stderr) << text << "\n"; }

}  // namespace q::cli
