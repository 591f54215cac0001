#include "cli/commands.h"
#include "app/depot_switch.h"

#include "app/backup.h"
#include "app/intraday_rollover.h"
#include "app/startup.h"
#include "app/table_recovery.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "store/catalogue.h"
#include "store/index_repair.h"
#include "store/server_connection.h"
#include "store/server_schema.h"
#include "store/table_health.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QTextStream>

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

// The rows of a table the session keeps open; a read that finds the file damaged
// gets the repair or the restore, then the count once more.
Result<qint64> countRows(Context& c, const QString& file) {
    for (int attempt = 0;; ++attempt) {
        auto table = c.session.store.table(file);
        Result<qint64> n = table ? (*table)->count(Query()) : Result<qint64>(table.status());
        if (n || n.status().category() != Category::Corrupt || attempt > 0) return n;
        c.ui.tell(n.status().message());
        const QString path = c.session.store.path(file);
        if (Status mended = recoverTable(c.session, path, n.status(), true, c.ui); !mended) return mended;
        c.session.store.closeAll();
    }
}

Outcome runStart(Context& c) {
    Outcome out;
    Session& s = c.session;
    if (!startForJob(c, out, false)) return out;
    out.lines << QStringLiteral("Quintara gestartet: %1").arg(s.caption);
    out.lines << QStringLiteral("Installationsverzeichnis: %1").arg(s.dirs.install);
    out.lines << s.steps;
    out.lines << QStringLiteral("Einstellungen: %1%2").arg(s.settings.path(), s.firstStart ? QStringLiteral(" (neu)") : QString());
    qint64 counts[3] = {0, 0, 0};
    const char* files[3] = {"Firma.db", "Aktien.db", "Transaktionen.db"};
    for (int i = 0; i < 3; ++i) {
        const bool hadRestore = s.restored.has_value();
        auto n = countRows(c, QString::fromLatin1(files[i]));
        if (!n) return failed(n.status());
        if (!hadRestore && s.restored) reportRestore(*s.restored, out);
        counts[i] = *n;
    }
    out.lines << QStringLiteral("Wertpapiere: %1, Kurse: %2, Buchungen: %3").arg(counts[0]).arg(counts[1]).arg(counts[2]);
    out.lines << QStringLiteral("Beobachtungslisten: %1").arg(s.watchNames.join(QStringLiteral(", ")));
    if (s.autoBackupRan) out.lines << QStringLiteral("Automatische Sicherung durchgeführt");
    out.json[QStringLiteral("securities")] = counts[0];
    out.json[QStringLiteral("prices")] = counts[1];
    out.json[QStringLiteral("bookings")] = counts[2];
    out.json[QStringLiteral("firstStart")] = s.firstStart;
    out.json[QStringLiteral("startCounter")] = s.startCounter;
    out.json[QStringLiteral("autoBackup")] = s.autoBackupRan;
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

// Saving, restoring and checking are not starts: the automatic backup never runs
// before them.
Outcome runBackup(Context& c) {
    Outcome out;
    if (!startForJob(c, out, JobStart{true, false, true, LockMode::Shared})) return out;
    auto made = Sicherung(c.session.dirs, backupPolicy(c.session), c.progress);
    if (!made) {
        out.status = made.status();
        return out;
    }
    QJsonArray list;
    for (const BackupCopy& b : made->copies) {
        out.lines << QStringLiteral("Gesichert: %1 -> %2").arg(b.source, b.target);
        list.append(QJsonObject{{QStringLiteral("source"), b.source}, {QStringLiteral("target"), b.target}});
    }
    if (!made->generation.isEmpty()) out.lines << QStringLiteral("Generation: %1").arg(made->generation);
    out.json[QStringLiteral("copies")] = list;
    out.json[QStringLiteral("generation")] = made->generation;
    return out;
}

Outcome runBackups(Context& c) {
    Outcome out;
    // Damaged tables are when the list is wanted most: it needs the directories only.
    startForJob(c, out, JobStart{true, false, false, LockMode::Shared});
    if (c.session.quitRequested || c.session.dirs.backup.isEmpty()) return out;
    out.status = Status::ok();
    const std::vector<BackupSet> sets = Sicherungen(c.session.dirs, true);
    if (sets.empty()) out.lines << QStringLiteral("Keine Sicherung in %1").arg(c.session.dirs.backup);
    QJsonArray list;
    for (const BackupSet& set : sets) {
        QStringList tables;
        QJsonArray copies;
        for (const SafetyCopy& copy : set.copies) {
            tables << QStringLiteral("%1 %2").arg(copy.table, copy.rows < 0 ? QStringLiteral("unlesbar") : QString::number(copy.rows));
            copies.append(QJsonObject{{QStringLiteral("table"), copy.table},
                                      {QStringLiteral("copy"), copy.path},
                                      {QStringLiteral("date"), formatCopyDate(copy.date)},
                                      {QStringLiteral("rows"), copy.rows}});
        }
        out.lines << QStringLiteral("%1  %2  %3").arg(set.name, formatCopyDate(set.date), tables.join(QStringLiteral(", ")));
        list.append(QJsonObject{{QStringLiteral("name"), set.name},
                                {QStringLiteral("dir"), set.dir},
                                {QStringLiteral("date"), formatCopyDate(set.date)},
                                {QStringLiteral("copies"), copies}});
    }
    out.json[QStringLiteral("backups")] = list;
    return out;
}

Outcome runRestore(Context& c) {
    Outcome out;
    // The start may fail on the very table the restore is to mend; the restore needs
    // only the directories.
    startForJob(c, out, JobStart{true, false, false, LockMode::Exclusive});
    // Without the lock another job works on the tables the restore would replace.
    if (!c.session.dataLock || c.session.quitRequested || c.session.dirs.backup.isEmpty()) return out;
    auto restored = Sicherungwiederherstellen(c.session.dirs, c.session.store, c.ui, c.args.value(QStringLiteral("--from")));
    if (!restored) {
        const Category category = restored.status().category();
        out.status = category == Category::Cancelled ? Status::cancelled(QStringLiteral("Wiederherstellung abgebrochen (mit --yes bestätigen)"))
                     : category == Category::NotFound && c.args.value(QStringLiteral("--from")).isEmpty()
                         ? Status::notFound(QStringLiteral("Es existriert keine Sicherung"))
                         : restored.status();
        return out;
    }
    out.status = Status::ok();
    reportRestore(*restored, out);
    return out;
}

// The check of the tables on the server: each table's key and indexes are there,
// its B-tree indexes agree with its rows where amcheck is installed, and its rows
// are counted. The server keeps its own pages; a finding is told and left to its
// administrator, never mended by a copy put over the table.
Outcome checkOnServer(Context& c, Outcome& out) {
    Session& s = c.session;
    auto server = ServerConnection::open(s.store.server());
    if (!server) return failed(server.status());
    auto amcheck = serverHasAmcheck(**server);
    if (!amcheck) return failed(amcheck.status());
    QJsonArray tables;
    QJsonArray checked;
    for (const CatalogueEntry& entry : catalogue()) {
        if (!s.store.onServer(entry.file) || !s.store.exists(entry.file)) continue;
        const QString schema = s.store.schemaOf(entry.file);
        const QString table = tableNameOf(entry.file);
        c.progress.step(QStringLiteral("Prüfe %1").arg(s.store.path(entry.file)), 0, 1);
        auto indexes = serverIndexNames(**server, schema, table);
        if (!indexes) return failed(indexes.status());
        out.lines << QStringLiteral("%1: %2").arg(entry.file, QStringList(QStringList{table} + *indexes).join(QStringLiteral(", ")));
        tables.append(QJsonObject{{QStringLiteral("file"), s.store.path(entry.file)}, {QStringLiteral("indexes"), toJson(*indexes)}});
        Status whole = checkServerTable(**server, schema, layoutForFile(entry.file), *amcheck);
        auto rows = serverRowCount(**server, schema, table);
        if (whole && !rows) whole = rows.status();
        QString verdict = QStringLiteral("in Ordnung");
        if (!whole) {
            c.ui.tell(whole.message());
            out.status = whole;
            verdict = QStringLiteral("beschädigt");
        }
        out.lines << QStringLiteral("Prüfung %1: %2%3").arg(entry.file, verdict, rows ? QStringLiteral(" (%1 Zeilen)").arg(*rows) : QString());
        checked.append(QJsonObject{{QStringLiteral("file"), s.store.path(entry.file)},
                                   {QStringLiteral("result"), verdict},
                                   {QStringLiteral("rows"), rows ? *rows : -1}});
    }
    if (!*amcheck)
        out.lines << QStringLiteral("Hinweis: amcheck ist auf dem Datenbankserver nicht eingerichtet; geprüft wurde, ob Schlüssel und Indizes vorhanden sind.");
    out.json[QStringLiteral("tables")] = tables;
    out.json[QStringLiteral("integrity")] = checked;
    out.json[QStringLiteral("amcheck")] = *amcheck;
    return out;
}

// The index check, then the whole-file check of every table: damage that only
// the indexes have is mended at once, other damage offers the restore.
Outcome runCheck(Context& c) {
    Outcome out;
    if (!startForJob(c, out, JobStart{true, false, true, LockMode::Exclusive})) return out;
    Session& s = c.session;
    if (!s.store.server().isEmpty()) return checkOnServer(c, out);
    auto report = checkindex(s.store);
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

    QJsonArray checked;
    for (const CatalogueEntry& entry : catalogue()) {
        const QString path = findFile(s.store.dirOf(entry.file), entry.file);
        if (path.isEmpty()) continue;
        c.progress.step(QStringLiteral("Prüfe %1").arg(path), 0, 1);
        Status whole = fullCheck(path, layoutForFile(entry.file));
        QString verdict = QStringLiteral("in Ordnung");
        if (!whole) {
            c.ui.tell(whole.message());
            const bool hadRestore = s.restored.has_value();
            s.store.closeAll();
            // The check is the user's request to repair: index damage needs no question.
            auto damage = diagnose(path, layoutForFile(entry.file));
            Status mended = damage && *damage == Damage::Indexes ? rebuildIndexes(path, layoutForFile(entry.file)) : whole;
            if (!mended && whole.category() == Category::Corrupt) mended = recoverTable(s, path, whole, true, c.ui);
            s.store.closeAll();
            if (!mended) {
                out.status = whole;
                verdict = QStringLiteral("beschädigt");
            } else {
                verdict = !hadRestore && s.restored ? QStringLiteral("wiederhergestellt") : QStringLiteral("Indizes neu aufgebaut");
                if (!hadRestore && s.restored) reportRestore(*s.restored, out);
            }
        }
        out.lines << QStringLiteral("Prüfung %1: %2").arg(entry.file, verdict);
        checked.append(QJsonObject{{QStringLiteral("file"), path}, {QStringLiteral("result"), verdict}});
    }
    out.json[QStringLiteral("integrity")] = checked;
    return out;
}

}  // namespace

QJsonArray toJson(const QStringList& list) { return QJsonArray::fromStringList(list); }

int lockWaitMs() {
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("QUINTARA_LOCK_WAIT", &ok);
    return ok && seconds >= 0 ? seconds * 1000 : kDataLockWaitMs;
}

// Said at once, not with the messages at the end: the job may wait a while.
void sayWaiting(const QString& message) { QTextStream(stderr) << message << "\n"; }

Outcome failed(Status status) {
    Outcome out;
    out.status = std::move(status);
    return out;
}

void reportRestore(const RestoreReport& report, Outcome& out) {
    out.lines << describeRestore(report);
    QJsonArray tables = out.json.value(QStringLiteral("restored")).toArray();
    for (const RestoredTable& t : report.tables)
        tables.append(QJsonObject{{QStringLiteral("table"), t.live},
                                  {QStringLiteral("copy"), t.copy},
                                  {QStringLiteral("date"), formatCopyDate(t.date)},
                                  {QStringLiteral("set"), report.set}});
    out.json[QStringLiteral("restored")] = tables;
}

Result<std::optional<QString>> passwordOfFile(const QString& file) {
    if (file.isEmpty()) return std::optional<QString>();
    auto lines = readTextLinesAnyEncoding(file);
    if (!lines) return lines.status();
    return std::optional<QString>(lines->value(0));
}

static Status openDepotForJob(Context& c) {
    auto password = passwordOfFile(c.options.passwordFile);
    if (!password) return password.status();
    if (!c.options.depot.isEmpty()) {
        DepotOpen how{*password, true};
        return switchDepot(c.session, c.options.depot, c.ui, how);
    }
    if (c.command && c.command->depot) return unlockDepot(c.session, c.ui, *password);
    return Status::ok();
}

bool startForJob(Context& c, Outcome& out, bool unattended) { return startForJob(c, out, JobStart{unattended, true, true, LockMode::Shared}); }

bool startForJob(Context& c, Outcome& out, const JobStart& how) {
    c.session.unattended = how.unattended;
    StartOptions options;
    options.programDir = c.programDir;
    options.homeDir = c.options.home;
    options.settingsPath = c.options.settings;
    options.database = c.options.database;
    options.countStart = how.countStart;
    options.offerRestore = how.offerRestore;
    options.lock = how.lock;
    options.lockWaitMs = lockWaitMs();
    options.waiting = sayWaiting;
    out.status = startUp(c.session, options, c.ui, c.progress);
    if (out.status) out.status = openDepotForJob(c);
    describeSession(c.session, out);
    out.json[QStringLiteral("startSteps")] = toJson(c.session.steps);
    if (c.session.restored) reportRestore(*c.session.restored, out);
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
         "verzeichnis und Transaktionen.db, Anlagen.DB neben sich, jeweils mit angehängtem \"~\".\n"
         "Jede Kopie wird geprüft, bevor sie die ältere ersetzt; die letzten Sicherungen\n"
         "(Einstellung SicherGenerationen, Vorgabe 5) bleiben in datierten Ordnern erhalten.",
         runBackup},
        {"backups", "Vorhandene Sicherungen mit Datum und Zeilenzahl auflisten",
         "Listet die neuesten Sicherungskopien (aktuell) und die datierten Sicherungen im\n"
         "Sicherungsverzeichnis, jeweils mit Datum und der Zeilenzahl jeder Tabelle.",
         runBackups},
        {"restore", "Sicherung wiederherstellen (nur mit --yes) [--from NAME]",
         "Stellt Kurse, Volumen, Wertpapiere, Gruppen und Branchen aus der neuesten brauchbaren\n"
         "Sicherung wieder her (mit --from NAME aus der genannten, siehe backups) und erneuert\n"
         "die Indizes. Jede Kopie wird vorher geprüft; eine unbrauchbare ändert keine Tabelle.\n"
         "Ohne --yes wird die Frage mit Nein beantwortet.",
         runRestore,
         {{{"--from", true}}, 0, 0}},
        {"check", "Indizes und Tabellen prüfen und reparieren",
         "Prüft die Indizes von Firma.db, Aktien.db, Volumen.db, Nachrichten.db und\n"
         "Transaktionen.db, legt fehlende neu an und gibt die Indexnamen jeder Tabelle aus;\n"
         "dann prüft es jede Tabellendatei ganz. Beschädigte Indizes werden neu aufgebaut,\n"
         "für andere Schäden wird die Wiederherstellung angeboten (mit --yes ausgeführt).",
         runCheck},
    };
}

}  // namespace q::cli
