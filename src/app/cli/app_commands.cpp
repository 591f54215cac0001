#include "app/cli/commands.h"

#include "app/backup.h"
#include "app/intraday_rollover.h"
#include "app/startup.h"
#include "base/formats.h"
#include "store/index_repair.h"

#include <QFileInfo>
#include <QJsonArray>

namespace q::cli {

namespace {

void describeSession(const Session& s, Outcome& out) {
    out.json[QStringLiteral("installationDir")] = s.dirs.install;
    out.json[QStringLiteral("dataDir")] = s.dirs.data;
    out.json[QStringLiteral("depotDir")] = s.dirs.depot;
    out.json[QStringLiteral("workDir")] = s.dirs.work;
    out.json[QStringLiteral("backupDir")] = s.dirs.backup;
    out.json[QStringLiteral("intradayDir")] = s.dirs.intraday;
    out.json[QStringLiteral("caption")] = s.caption;
    out.json[QStringLiteral("settingsFile")] = s.settings.path();
}

Outcome runStart(Context& c) {
    Outcome out;
    Session& s = c.session;
    if (!startForJob(c, out, false)) return out;
    out.lines << QStringLiteral("Quintara gestartet: %1").arg(s.caption);
    out.lines << QStringLiteral("Installationsverzeichnis: %1").arg(s.dirs.install);
    out.lines << s.steps;
    out.lines << QStringLiteral("Einstellungen: %1%2").arg(s.settings.path(), s.firstStart ? QStringLiteral(" (neu)") : QString());
    auto firma = s.store.table(QStringLiteral("Firma.db"));
    auto aktien = s.store.table(QStringLiteral("Aktien.db"));
    auto transaktionen = s.store.table(QStringLiteral("Transaktionen.db"));
    const qint64 securities = firma ? (*(*firma)->count(Query())) : 0;
    const qint64 prices = aktien ? (*(*aktien)->count(Query())) : 0;
    const qint64 bookings = transaktionen ? (*(*transaktionen)->count(Query())) : 0;
    out.lines << QStringLiteral("Wertpapiere: %1, Kurse: %2, Buchungen: %3").arg(securities).arg(prices).arg(bookings);
    out.lines << QStringLiteral("Beobachtungslisten: %1").arg(s.watchNames.join(QStringLiteral(", ")));
    for (const QString& note : s.statusNotes) out.lines << QStringLiteral("Hinweis: %1").arg(note);
    if (s.autoBackupRan) out.lines << QStringLiteral("Automatische Sicherung durchgeführt");
    out.json[QStringLiteral("securities")] = securities;
    out.json[QStringLiteral("prices")] = prices;
    out.json[QStringLiteral("bookings")] = bookings;
    out.json[QStringLiteral("firstStart")] = s.firstStart;
    out.json[QStringLiteral("startCounter")] = s.startCounter;
    out.json[QStringLiteral("autoBackup")] = s.autoBackupRan;
    out.json[QStringLiteral("notes")] = toJson(s.statusNotes);
    out.json[QStringLiteral("watchLists")] = toJson(s.watchNames);
    out.status = closeDown(s);
    if (out.status) out.lines << QStringLiteral("Einstellungen gespeichert");
    return out;
}

Outcome runNewDay(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto r = intradayRollover(c.session.dirs, c.session.store);
    if (!r) {
        out.status = r.status();
        return out;
    }
    out.lines << QStringLiteral("Intraday-Kurse archiviert: %1").arg(r->rows);
    for (const QString& a : r->archives) out.lines << QStringLiteral("Archiv: %1").arg(a);
    out.json[QStringLiteral("archivedRows")] = r->rows;
    out.json[QStringLiteral("archives")] = toJson(r->archives);
    return out;
}

Outcome runBackup(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    // The start-up may have made the automatic backup already; the command copies anyway.
    auto copies = Sicherung(c.session.dirs, c.progress);
    if (!copies) {
        out.status = copies.status();
        return out;
    }
    QJsonArray list;
    for (const BackupCopy& b : *copies) {
        out.lines << QStringLiteral("Gesichert: %1 -> %2").arg(b.source, b.target);
        list.append(QJsonObject{{QStringLiteral("source"), b.source}, {QStringLiteral("target"), b.target}});
    }
    out.json[QStringLiteral("copies")] = list;
    return out;
}

Outcome runRestore(Context& c) {
    Outcome out;
    startForJob(c, out, true);
    if (c.session.quitRequested || c.session.dirs.backup.isEmpty()) return out;
    auto restored = Sicherungwiederherstellen(c.session.dirs, c.session.store, c.ui);
    if (!restored) {
        out.status = restored.status().category() == Category::Cancelled
                         ? Status::cancelled(QStringLiteral("Wiederherstellung abgebrochen (mit --yes bestätigen)"))
                         : restored.status();
        return out;
    }
    out.status = Status::ok();
    for (const QString& r : *restored) out.lines << QStringLiteral("Wiederhergestellt: %1").arg(r);
    out.json[QStringLiteral("restored")] = toJson(*restored);
    return out;
}

Outcome runCheck(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto report = checkindex(c.session.store);
    if (!report) {
        out.status = report.status();
        return out;
    }
    QJsonArray tables;
    for (const IndexCheckEntry& e : *report) {
        const QString name = QFileInfo(e.file).fileName();
        out.lines << QStringLiteral("%1: %2%3").arg(name, e.after.join(QStringLiteral(", ")),
                                                    e.rebuilt ? QStringLiteral(" (neu angelegt)") : QString());
        tables.append(QJsonObject{{QStringLiteral("file"), e.file},
                                  {QStringLiteral("indexes"), toJson(e.after)},
                                  {QStringLiteral("before"), toJson(e.before)},
                                  {QStringLiteral("rebuilt"), e.rebuilt}});
    }
    out.json[QStringLiteral("tables")] = tables;
    return out;
}

}  // namespace

QJsonArray toJson(const QStringList& list) { return QJsonArray::fromStringList(list); }

Outcome failed(Status status) {
    Outcome out;
    out.status = std::move(status);
    return out;
}

bool startForJob(Context& c, Outcome& out, bool unattended) {
    c.session.unattended = unattended;
    out.status = startUp(c.session, StartOptions{c.programDir, c.options.home, c.options.settings}, c.ui, c.progress);
    describeSession(c.session, out);
    out.json[QStringLiteral("startSteps")] = toJson(c.session.steps);
    return out.status.isOk();
}

std::vector<Command> appCommands() {
    return {
        {"start", "Programmstart und -ende einmal ausführen: Verzeichnisse, Tabellen, Einstellungen",
         "Legt fehlende Verzeichnisse und Tabellen an, liest alle Einstellungen mit ihren Vorgaben,\n"
         "prüft die Indizes und schreibt die Einstellungen beim Beenden zurück.",
         runStart},
        {"newday", "Intraday-Tabelle auf einen neuen Tag umstellen (/N)",
         "Archiviert die Intraday-Kurse tageweise im Intraday-Verzeichnis (TT.MM.JJJJ.DB)\n"
         "und leert Intraday.db. Nicht archivierte Kurse werden nie gelöscht.",
         runNewDay},
        {"backup", "Datenbank sichern",
         "Kopiert Firma.db, Gruppen.db, Branchen.db, Aktien.db, Volumen.db in das Sicherungs-\n"
         "verzeichnis und Transaktionen.db, Anlagen.DB neben sich, jeweils mit angehängtem \"~\".",
         runBackup},
        {"restore", "Sicherung wiederherstellen (nur mit --yes)",
         "Stellt Kurse, Volumen, Wertpapiere, Gruppen und Branchen aus der Sicherung wieder her\n"
         "und erneuert die Indizes. Ohne --yes wird die Frage mit Nein beantwortet.",
         runRestore},
        {"check", "Indizes prüfen und reparieren",
         "Prüft die Indizes von Firma.db, Aktien.db, Volumen.db, Nachrichten.db und\n"
         "Transaktionen.db, legt fehlende neu an und gibt die Indexnamen jeder Tabelle aus.",
         runCheck},
    };
}

}  // namespace q::cli
