#include "app/startup.h"

#include "app/backup.h"
#include "app/database_setting.h"
#include "app/restore_journal.h"
#include "app/table_recovery.h"
#include "app/watch_names.h"
#include "base/clock.h"
#include "base/text_files.h"
#include "store/index_repair.h"
#include "store/lock_files.h"
#include "store/file_system.h"
#include "store/schema_conversion.h"
#include "store/server_connection.h"
#include "store/server_schema.h"
#include "store/table.h"
#include "store/table_health.h"
#include "store/upgrades.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace q {

namespace {

const QString kMain = SettingsStore::kMainKey;

// A directory setting; a relative one lies inside the installation `install`.
QString textSetting(const SettingsStore& settings, const char* name, const QString& fallback, const QString& install) {
    auto v = settings.readText(kMain, QString::fromLatin1(name));
    return v && !v->isEmpty() ? installationPath(install, *v) : fallback;
}

QString absoluteDir(const QString& dir) { return withSlash(QDir::cleanPath(QDir(dir).absolutePath())); }

// Says once per run, in the status notes and to `ui`.
void note(Session& s, Interaction& ui, const QString& text) {
    if (s.statusNotes.contains(text)) return;
    s.statusNotes << text;
    ui.status(text);
}

// A failure in the table file `file`: remembered for the recovery.
Status damaged(Session& s, const QString& file, Status failure) {
    if (failure.category() == Category::Corrupt) s.damagedFile = s.store.path(file);
    return failure;
}

// Steps of the creation that touch tables and settings; a failure here is handled
// once by startUp (index rebuild or restore, then a second run). `counted` tells
// whether this start was counted already (by a first run).
Status createRun(Session& s, const StartOptions& options, bool& counted, Interaction& ui, Progress& progress) {
    SettingsStore& settings = s.settings;
    Directories& dirs = s.dirs;
    s.damagedFile.clear();

    // Data and depot directories. Without a setting of its own the data directory is
    // the installation's "Daten/" when that holds `aktien.db`, else the installation
    // directory itself, and the one used is written: the settings always name where
    // the tables are. A directory the user configured without `aktien.db` is left
    // for the installation's for this run only: it may be a network share not
    // mounted now, and writing the stand-in into the settings would open an empty
    // database for good.
    // With the tables on a server the directories hold only the files beside them
    // (reports, `Depot.ini`, the news texts): a folder without table files is the
    // right one, and the depot's folder names its schema there.
    const bool onServer = !s.store.server().isEmpty();
    const auto holdsData = [onServer](const QString& dir) {
        return onServer ? QFileInfo(dir).isDir() : fileExists(dir, QStringLiteral("aktien.db"));
    };
    const QString daten = dirs.install + QStringLiteral("Daten/");
    const QString configured = textSetting(settings, "Datenpath", QString(), dirs.install);
    s.dataDirMissing.clear();
    if (configured.isEmpty() || sameDir(configured, daten) || sameDir(configured, dirs.install)) {
        dirs.data = holdsData(daten) ? daten : dirs.install;
        // Relative: a copy of the installation started elsewhere uses its own.
        const QString stored = storedPath(dirs.install, dirs.data);
        const auto raw = settings.readText(kMain, QStringLiteral("Datenpath"));
        if (!raw || *raw != stored) settings.writeText(kMain, QStringLiteral("Datenpath"), stored);
    } else if (onServer || holdsData(configured)) {
        dirs.data = configured;
    } else {
        dirs.data = daten;
        s.dataDirMissing = configured;
    }
    dirs.depot = textSetting(settings, "Depotpath", dirs.data, dirs.install);
    s.caption = windowCaption(dirs.data, dirs.depot);
    removeStaleLockFiles(dirs.depot, dirs.install, dirs.data);
    dirs.backup = textSetting(settings, "SicherPath", dirs.data, dirs.install);
    dirs.work = textSetting(settings, "TempPath", dirs.install + QStringLiteral("Temp/"), dirs.install);

    // A directory without its tables leaves them to the installation directory for
    // this run; the settings keep naming the directories.
    if (!onServer) {
        if (!fileExists(dirs.depot, QStringLiteral("Transaktionen.db"))) dirs.depot = dirs.install;
        if (!fileExists(dirs.data, QStringLiteral("aktien.db"))) dirs.data = dirs.install;
    }
    for (const QString& dir : {dirs.data, dirs.depot})
        if (!QDir().mkpath(dir)) return Status::io(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden").arg(dir));
    // The lock before the first table opens: a job that replaces tables holds it alone.
    if (!s.dataLock || s.dataLock->dir() != dirs.data) {
        s.dataLock.reset();
        const DataLock::Waiting waiting = options.waiting ? options.waiting : [&ui](const QString& m) { ui.status(m); };
        auto lock = DataLock::acquire(dirs.data, options.lock, options.lockWaitMs, waiting);
        if (!lock) return lock.status();
        s.dataLock = std::move(*lock);
    }
    // A restore that was stopped half-way left tables of two moments: it is
    // finished before any table opens.
    if (QFileInfo::exists(withSlash(dirs.data) + kRestoreJournal)) {
        const DataLock::Waiting waiting = options.waiting ? options.waiting : [&ui](const QString& m) { ui.status(m); };
        Q_TRY(s.dataLock->makeExclusive(options.lockWaitMs, waiting));
        s.store.closeAll();
        auto finished = finishRestore(dirs.data);
        if (!finished) return finished.status();
        if (*finished) note(s, ui, QStringLiteral("Die unterbrochene Wiederherstellung in %1 wurde abgeschlossen.").arg(dirs.data));
        if (options.lock == LockMode::Shared) s.dataLock->makeShared();
    }
    if (!s.dataDirMissing.isEmpty())
        note(s, ui,
             QStringLiteral("Das Datenverzeichnis %1 %2; Quintara arbeitet ersatzweise mit den Tabellen in %3 und sichert "
                            "diese nicht. Die Einstellung Datenpath bleibt unverändert.")
                 .arg(s.dataDirMissing,
                      QFileInfo(s.dataDirMissing).isDir() ? QStringLiteral("enthält keine Aktien.db") : QStringLiteral("fehlt"),
                      dirs.data));
    // The server's tables lie on no drive of this computer.
    for (const QString& dir : {dirs.data, dirs.depot})
        if (auto kind = onServer ? std::nullopt : networkFileSystem(dir))
            note(s, ui,
                 QStringLiteral("Die Tabellen in %1 liegen auf einem Netzlaufwerk (%2): Quintara öffnet sie ohne WAL, und die "
                                "gemeinsame Nutzung über das Netz verlässt sich auf die Dateisperren des Dateiservers.")
                     .arg(dir, *kind));
    s.store.setDirs({dirs.data, dirs.depot, dirs.work, dirs.install});
    s.steps << QStringLiteral("Datenverzeichnis: %1").arg(dirs.data) << QStringLiteral("Depotverzeichnis: %1").arg(dirs.depot);
    if (onServer) s.steps << QStringLiteral("Depotschema: %1").arg(s.store.schemaOf(QStringLiteral("Transaktionen.db")));

    // News: the table is made where the other market tables are.
    bool created = false;
    if (Status n = s.store.ensure(QStringLiteral("Nachrichten.db"), &created); !n)
        return damaged(s, QStringLiteral("Nachrichten.db"), n);
    if (created) s.steps << QStringLiteral("Tabelle angelegt: Nachrichten.db");
    s.newsAvailable = s.store.exists(QStringLiteral("Nachrichten.db"));
    if (s.newsAvailable) QDir().mkpath(dirs.data + QStringLiteral("Nachrichten"));

    // Every missing table, in the fixed order.
    const QStringList order = startupTableOrder();
    for (int i = 0; i < order.size(); ++i) {
        progress.step(QStringLiteral("Tabelle %1").arg(order[i]), i, order.size());
        if (Status e = s.store.ensure(order[i], &created); !e) return damaged(s, order[i], e);
        if (created) s.steps << QStringLiteral("Tabelle angelegt: %1").arg(order[i]);
    }

    // Tables of earlier releases (indexes on the program's own collation, keys that
    // allowed NULL) are brought to the form every SQLite tool can use, a file at a time.
    const ConversionReport conversion = convertOldTables(s.store);
    for (const QString& p : conversion.converted)
        s.steps << QStringLiteral("Tabelle umgestellt: %1").arg(QFileInfo(p).fileName());
    s.statusNotes << conversion.failures;

    // Index check. A rebuild that fails (another program holds the table) ends the program.
    auto check = checkindex(s.store);
    if (!check) {
        if (check.status().category() != Category::Busy) return check.status();
        s.unattended = true;
        s.quitRequested = true;
        ui.tell(check.status().message());
        ui.tell(QStringLiteral("Fehler beim aktualisieren der Indizes! Bitte schließen Sie alle Programm die auf die Quintara-Datenbank zugreifen!!"));
        return check.status();
    }
    for (const IndexCheckEntry& e : *check)
        if (e.rebuilt) s.steps << QStringLiteral("Indizes neu angelegt: %1").arg(QFileInfo(e.file).fileName());

    if (onServer) {
        // The server's tables were made in today's form; their indexes are checked.
        auto firma = s.store.table(QStringLiteral("Firma.db"));
        if (!firma) return firma.status();
        if (Status whole = checkServerTable(*(*firma)->db().server(), kServerSchema, layoutForFile(QStringLiteral("Firma.db")), false);
            !whole)
            return whole;
    } else {
        // Structure upgrade of the securities master; refusing it ends the program.
        bool rebuilt = false;
        if (Status up = upgradeFirma(s.store.path(QStringLiteral("Firma.db")), ui, &rebuilt); !up) {
            if (up.category() == Category::Cancelled) s.quitRequested = true;
            else ui.tell(up.message());
            return up;
        }
        if (rebuilt) s.steps << QStringLiteral("Wertpapierdatenbank umstrukturiert");
        // The securities master is small enough to check whole at every start.
        if (Status whole = fullCheck(s.store.path(QStringLiteral("Firma.db")), layoutForFile(QStringLiteral("Firma.db"))); !whole)
            return damaged(s, QStringLiteral("Firma.db"), whole);
    }

    // The holdings report of the last run.
    const QString report = findFile(dirs.work, QStringLiteral("anlagen.rtf"));
    QFile reportFile(report);
    if (!report.isEmpty() && reportFile.open(QIODevice::ReadOnly))
        s.portfolioReport = QString::fromLatin1(reportFile.readAll());
    else
        s.portfolioReport = QStringLiteral("Noch keine Aktien im Depot. Zum Eintragen neuer Depotwerte wählen Sie das Wertpapier in der "
                                           "Kursübersicht aus und verwenden Sie den Ankaufassistenten!");

    // The settings in effect.
    QStringList notes;
    s.values = readSettingsAtStart(settings, SettingsContext{dirs.install, dirs.data, today()}, &notes);
    s.statusNotes << notes;
    dirs.work = withSlash(s.values.text(QStringLiteral("TempPath")));
    dirs.backup = withSlash(s.values.text(QStringLiteral("SicherPath")));
    dirs.intraday = withSlash(s.values.text(QStringLiteral("IntraPath")));
    for (const QString& d : {dirs.work, dirs.backup, dirs.intraday}) QDir().mkpath(d);
    s.store.setDirs({dirs.data, dirs.depot, dirs.work, dirs.install});
    removeLateLockFiles(dirs.intraday, dirs.depot, dirs.work);
    s.watchNames = watchListNames(s.values, dirs.data);
    for (int i = 0; i < 4; ++i) {
        const QString name = QStringLiteral("Sender%1").arg(i + 1);
        if (s.values.has(name)) s.stations[i] = s.values.text(name);
    }

    // The currency table.
    CurrencySettings currency;
    currency.homeSymbol = s.values.text(QStringLiteral("WaehrungsSymbol"));
    if (s.values.has(QStringLiteral("Waehrung")) && s.values.has(QStringLiteral("Wechselkurs"))) {
        currency.waehrung = s.values.text(QStringLiteral("Waehrung"));
        currency.wechselkurs = s.values.number(QStringLiteral("Wechselkurs"));
    }
    auto currencies = s.store.table(QStringLiteral("Waehrung.db"));
    if (!currencies) return damaged(s, QStringLiteral("Waehrung.db"), currencies.status());
    auto factor = upgradeWaehrung((*currencies)->db(), currency);
    // The upgrade may have rebuilt the table: it is opened afresh below.
    s.store.close(QStringLiteral("Waehrung.db"));
    if (!factor) return factor.status();
    s.secondCurrencyFactor = *factor;

    // The tables the main window keeps open.
    for (const char* file : {"Merkmal.db", "Branchen.db", "Watch.db", "Waehrung.db", "Firma.db", "Aktien.db", "Volumen.db",
                             "Transaktionen.db", "Intraday.db", "Gruppen.db"}) {
        auto t = s.store.table(QString::fromLatin1(file));
        if (!t) return damaged(s, QString::fromLatin1(file), t.status());
    }
    s.hasGlD = (*s.store.table(QStringLiteral("Aktien.db")))->hasField(QStringLiteral("GlD"));

    // Start counter and automatic backup. The counter is read and written under the
    // settings file's lock, so that starts running at the same time each count.
    if (!options.countStart || counted) return Status::ok();
    counted = true;
    BackupCount count{0, false};
    const bool autoBackup = s.values.truth(QStringLiteral("AutoSpeichern"));
    const int interval = s.values.integer(QStringLiteral("SicherInterval"));
    auto stored = settings.updateAndSave(kMain, QStringLiteral("Speichern"), [&](const std::optional<SettingValue>& old) {
        const auto n = old ? convertValue(*old, ValueType::Integer) : std::nullopt;
        count = countStart(n ? n->data.toInt() : 0, autoBackup, interval);
        return SettingValue::integer(count.stored);
    });
    if (!stored) s.statusNotes << stored.status().message();
    s.startCounter = count.stored;
    if (!count.due) return Status::ok();
    const BackupPolicy policy = backupPolicy(s);
    if (!policy.refusal.isEmpty()) {
        note(s, ui, QStringLiteral("Automatische Sicherung übersprungen: %1").arg(policy.refusal));
        return Status::ok();
    }
    QString damagedTable;
    auto copies = Sicherung(dirs, policy, progress, &damagedTable);
    if (!copies) {
        // A table that fails its whole-file check is a damaged table, not a failed
        // backup: its older copy stays, and the user gets the repair or the restore.
        if (!damagedTable.isEmpty()) {
            s.damagedFile = damagedTable;
            return copies.status();
        }
        ui.tell(copies.status().message());
    } else {
        s.autoBackupRan = true;
        s.steps << QStringLiteral("Automatische Sicherung: %1 Dateien").arg(copies->copies.size());
    }
    return Status::ok();
}

}  // namespace

BackupCount countStart(int counter, bool autoBackup, int interval) {
    if (!autoBackup) counter = 0;
    ++counter;
    const bool due = counter > interval;
    return {due ? 0 : counter, due};
}

BackupPolicy backupPolicy(const Session& s) {
    BackupPolicy policy;
    policy.generations = s.values.integer(QStringLiteral("SicherGenerationen"));
    if (!s.dataDirMissing.isEmpty())
        policy.refusal = QStringLiteral("Das Datenverzeichnis %1 ist nicht erreichbar. Die Ersatztabellen in %2 werden nicht "
                                        "gesichert, damit ihre Kopien die Sicherung der eigentlichen Tabellen nicht ersetzen.")
                             .arg(s.dataDirMissing, s.dirs.data);
    policy.server = s.store.server();
    if (!policy.server.isEmpty()) policy.depotSchema = s.store.schemaOf(QStringLiteral("Transaktionen.db"));
    return policy;
}

Status startUp(Session& s, const StartOptions& options, Interaction& ui, Progress& progress) {
    s.dirs.install = options.homeDir.isEmpty() ? installationDir(options.programDir) : absoluteDir(options.homeDir);
    const QString settingsPath = options.settingsPath.isEmpty() ? defaultSettingsPath() : options.settingsPath;
    if (Status loaded = s.settings.load(settingsPath); !loaded) {
        ui.tell(loaded.message());
        return loaded;
    }
    if (!QDir().mkpath(QFileInfo(settingsPath).absolutePath())) {
        const Status cannot =
            Status::io(QStringLiteral("Das Verzeichnis %1 für die Einstellungen kann nicht angelegt werden").arg(QFileInfo(settingsPath).absolutePath()));
        ui.tell(cannot.message());
        return cannot;
    }
    s.firstStart = !s.settings.fileExisted();
    s.statusNotes << s.settings.notes();

    // The tables' server, asked before anything else: a server that cannot be reached
    // ends the start. The program never falls back to tables of its own then, which
    // would show an empty depot as if it were the real one.
    QString server = options.database.isEmpty() ? databaseSetting(s.settings) : options.database.trimmed();
    s.store.setServer(server);
    while (!server.isEmpty()) {
        // Opened as a table's connection would be: closed, it waits for the first table.
        auto reached = Database::openServer(server, kServerSchema, QStringLiteral("Datenbankserver"));
        if (reached) {
            s.steps << QStringLiteral("Datenbankserver: %1").arg((*reached)->server()->server());
            break;
        }
        const QString message = reached.status().message();
        if (s.unattended) {
            ui.tell(message);
            return reached.status();
        }
        // In the window the user may try again (the server is starting, the network
        // coming up) or correct the setting; anything else ends the program.
        const int choice = ui.choose(QStringLiteral("Datenbankserver nicht erreichbar"),
                                     message + QStringLiteral("\n\nDie Tabellen liegen auf diesem Server; ohne ihn öffnet Quintara keine."),
                                     {QStringLiteral("Wiederholen"), QStringLiteral("Einstellung Datenbank ändern"), QStringLiteral("Beenden")}, 2);
        if (choice == 0) continue;
        if (choice == 1) {
            const auto changed = ui.input(QStringLiteral("Einstellung Datenbank"),
                                          QStringLiteral("Verbindung zum Datenbankserver (leer: die Tabellendateien):"));
            if (!changed) continue;
            server = changed->trimmed();
            if (auto saved = setDatabaseSetting(s.settings, server, false); !saved) ui.tell(saved.status().message());
            s.store.setServer(server);
            continue;
        }
        s.quitRequested = true;
        return reached.status();
    }

    // A start that fails gives up the data directory's lock: the session holds
    // nothing. A job that replaces tables keeps it: it mends what the start found.
    const auto given = [&s, &options](Status failure) {
        if (options.lock == LockMode::Shared) s.dataLock.reset();
        return failure;
    };
    bool secondRun = false;
    bool counted = false;
    for (;;) {
        Status run = createRun(s, options, counted, ui, progress);
        if (run) break;
        if (s.quitRequested || run.category() == Category::Cancelled) return given(run);
        ui.status(run.message());
        // The message naming the file comes first, then what can be done about it.
        ui.tell(run.message());
        // A table another program holds is not damaged: a restore would only lose
        // newer prices.
        if (run.category() == Category::Busy) return given(run);
        // A full disk damaged nothing, and a restore onto it would fail half-way.
        if (isDiskFull(run)) return given(run);
        // The server's tables are the server's to mend: no copy is put over them unasked.
        if (!s.store.server().isEmpty()) return given(run);
        // A restore that could not be finished is not started afresh unasked.
        if (QFileInfo::exists(withSlash(s.dirs.data) + kRestoreJournal)) return given(run);
        if (secondRun) {
            ui.tell(QStringLiteral("Datenbank konnte nicht wiederhergestellt werden!"));
            return given(run);
        }
        // SQLite's own reports name the file in their message.
        if (s.damagedFile.isEmpty() && run.category() == Category::Corrupt)
            for (const CatalogueEntry& e : catalogue())
                if (s.store.exists(e.file) && run.message().contains(s.store.path(e.file))) s.damagedFile = s.store.path(e.file);
        // The repair replaces tables: no other job may have them open meanwhile.
        if (s.dataLock && options.offerRestore) {
            const DataLock::Waiting waiting = options.waiting ? options.waiting : [&ui](const QString& m) { ui.status(m); };
            if (Status alone = s.dataLock->makeExclusive(options.lockWaitMs, waiting); !alone) {
                ui.tell(alone.message());
                return given(alone);
            }
        }
        if (Status mended = recoverTable(s, s.damagedFile, run, options.offerRestore, ui); !mended)
            return given(s.quitRequested ? mended : run);
        s.store.closeAll();
        secondRun = true;
    }
    if (Status saved = s.settings.save(); !saved) s.statusNotes << saved.message();
    s.startupComplete = true;
    return Status::ok();
}

Status closeDown(Session& s) {
    if (s.unattended) return Status::ok();
    for (const auto& [dir, name] : {std::pair{s.dirs.work, "anlagen.rtf"}, std::pair{s.dirs.work, "Gewinn.rtf"},
                                    std::pair{s.dirs.install, "anlagen.rtf"}, std::pair{s.dirs.install, "bin/anlagen.rtf"}}) {
        const QString path = withSlash(dir) + QString::fromLatin1(name);
        const QString found = findFile(QFileInfo(path).absolutePath(), QFileInfo(path).fileName());
        if (!found.isEmpty()) QFile::remove(found);
    }
    writeSettingsOnClose(s.settings, s.values);
    Q_TRY(s.settings.save());
    if (s.watchNames.size() == 4) Q_TRY(writeWatchListNames(s.dirs.data, s.watchNames));
    return Status::ok();
}

}  // namespace q
