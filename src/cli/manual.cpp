#include "cli/manual.h"

#include "app/command_line.h"
#include "cli/commands.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace q::cli {

namespace {

// Text as man(7) prints it literally: backslashes and hyphens escaped, and a line
// that would start with a control character protected.
QString roff(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        line.replace(QLatin1Char('\\'), QStringLiteral("\\e"));
        line.replace(QLatin1Char('-'), QStringLiteral("\\-"));
        if (line.startsWith(QLatin1Char('.')) || line.startsWith(QLatin1Char('\''))) line.prepend(QStringLiteral("\\&"));
    }
    return lines.join(QLatin1Char('\n'));
}

QString header(const char* name, const QString& title) {
    return QStringLiteral(".\\\" -*- coding: UTF-8 -*-\n.TH %1 1 \"\" \"Quintara %2\" \"Quintara\"\n.SH NAME\n%3\n")
        .arg(QString::fromLatin1(name).toUpper(), QStringLiteral(QUINTARA_VERSION_TEXT), roff(title));
}

QString item(const QString& tag, const QString& value, const QString& meaning) {
    QString t = QStringLiteral(".TP\n.B %1").arg(roff(tag));
    if (!value.isEmpty()) t += QStringLiteral(" \\fI%1\\fR").arg(roff(value));
    return t + QLatin1Char('\n') + roff(meaning) + QLatin1Char('\n');
}

QString optionNames(const Command& c) {
    QStringList names;
    for (const OptionSpec& o : c.accepts.options) names << QString::fromLatin1(o.name);
    return names.join(QLatin1Char(' '));
}

Status writeFile(const QString& path, const QString& text) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0 || !f.commit())
        return Status::io(QStringLiteral("Die Datei %1 kann nicht geschrieben werden").arg(path));
    return Status::ok();
}

}  // namespace

QString cliManualPage() {
    QString t = header("quintara-cli", QStringLiteral("quintara-cli - Quintara ohne Fenster, für Skripte und Zeitpläne"));
    t += QStringLiteral(".SH ÜBERSICHT\n.B quintara\\-cli\n[\\fIOPTIONEN\\fR] \\fIBEFEHL\\fR [\\fIARGUMENTE\\fR]\n");
    t += QStringLiteral(".SH BESCHREIBUNG\n%1\n")
             .arg(roff(QStringLiteral("Jeder Befehl startet Quintara auf den Daten des Installationsverzeichnisses, erledigt seine "
                                      "Aufgabe und gibt deutschen Text aus, mit --json ein JSON-Objekt. Fortschritt steht nur auf "
                                      "einem Terminal (oder mit --progress) auf stderr; Warnungen und Fehler immer.")));
    t += QStringLiteral(".SH OPTIONEN\n");
    for (const GlobalOption& g : globalOptions())
        t += item(QString::fromLatin1(g.name), QString::fromLatin1(g.value), QString::fromUtf8(g.meaning));
    t += QStringLiteral(".SH BEFEHLE\n");
    for (const Command& c : commands())
        t += QStringLiteral(".SS %1\n%2\n.PP\n.nf\n%3\n.fi\n")
                 .arg(roff(QString::fromLatin1(c.name)), roff(QString::fromUtf8(c.summary)), roff(QString::fromUtf8(c.usage)));
    t += QStringLiteral(".SH RÜCKGABEWERT\n0 bei Erfolg, 1 wenn der Befehl scheiterte (die Meldung steht auf stderr), "
                        "2 bei einem Aufruffehler (unbekannter Befehl oder unbekannte Option).\n");
    t += QStringLiteral(".SH SIEHE AUCH\n.BR quintara (1)\n");
    return t;
}

QString windowManualPage() {
    QString t = header("quintara", QStringLiteral("quintara - Kurse, Analysen und Depot für Privatanleger"));
    t += QStringLiteral(".SH ÜBERSICHT\n.B quintara\n[\\fISCHALTER\\fR]\n");
    t += QStringLiteral(".SH SCHALTER\n%1\n")
             .arg(roff(QStringLiteral("Groß- und Kleinschreibung zählt nicht; unbekannte Schalter werden übergangen.")));
    for (const SwitchHelp& s : commandLineSwitches())
        t += item(QString::fromLatin1(s.spellings), QString::fromLatin1(s.value), QString::fromUtf8(s.meaning));
    t += QStringLiteral(".SH SIEHE AUCH\n.BR quintara\\-cli (1)\n");
    return t;
}

QString bashCompletion() {
    QStringList names;
    QStringList globals;
    QStringList valued;
    for (const GlobalOption& g : globalOptions()) {
        globals << QString::fromLatin1(g.name);
        if (*g.value) valued << QString::fromLatin1(g.name);
    }
    for (const Command& c : commands()) names << QString::fromLatin1(c.name);
    QString t = QStringLiteral(
                    "# bash completion for quintara-cli, written by the build from its command table.\n"
                    "_quintara_cli() {\n"
                    "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} cmd= i opts\n"
                    "    local globals=\"%1\"\n"
                    "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
                    "        case ${COMP_WORDS[i]} in\n"
                    "            %2) ((i++)) ;;\n"
                    "            -*) ;;\n"
                    "            *) cmd=${COMP_WORDS[i]}; break ;;\n"
                    "        esac\n"
                    "    done\n"
                    "    case $prev in\n"
                    "        --home) COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n"
                    "        --settings) COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
                    "    esac\n"
                    "    case $cmd in\n"
                    "        '') COMPREPLY=($(compgen -W \"%3 $globals\" -- \"$cur\")); return ;;\n")
                    .arg(globals.join(QLatin1Char(' ')), valued.join(QLatin1Char('|')), names.join(QLatin1Char(' ')));
    for (const Command& c : commands())
        t += QStringLiteral("        %1) opts=\"%2\" ;;\n").arg(QString::fromLatin1(c.name), optionNames(c));
    t += QStringLiteral(
        "        *) opts= ;;\n"
        "    esac\n"
        "    if [[ $cur == -* ]]; then\n"
        "        COMPREPLY=($(compgen -W \"$opts $globals\" -- \"$cur\"))\n"
        "    else\n"
        "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
        "    fi\n"
        "}\n"
        "complete -F _quintara_cli quintara-cli\n");
    return t;
}

Status writeDocs(const QString& dir) {
    if (!QDir().mkpath(dir)) return Status::io(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden").arg(dir));
    const QString base = QDir(dir).absolutePath() + QLatin1Char('/');
    Q_TRY(writeFile(base + QStringLiteral("quintara-cli.1"), cliManualPage()));
    Q_TRY(writeFile(base + QStringLiteral("quintara.1"), windowManualPage()));
    return writeFile(base + QStringLiteral("quintara-cli.bash"), bashCompletion());
}

}  // namespace q::cli
