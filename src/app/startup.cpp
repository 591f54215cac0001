#include "app/startup.h"

#include "app/backup.h"
#include "app/watch_names.h"
#include "base/clock.h"
#include "base/text_files.h"
#include "store/index_repair.h"
#include "store/lock_files.h"
#include "store/schema_conversion.h"
#include "store/upgrades.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace q {

namespace {

const QString kMain = SettingsStore::kMainKey;

QString textSetting(const SettingsStore& settings, const char* name, const QString& fallback) {
    auto v = settings.readText(kMain, QString::fromLatin1(name));
    return v && !v->isEmpty() ? withSlash(*v) : fallback;
}

QString absoluteDir(const QString& dir) { return withSlash(QDir::cleanPath(QDir(dir).absolutePath())); }

// Steps of the creation that touch tables and settings; a failure here is handled
// once by startUp (index rebuild or restore, then a second run).
Status createRun(Session& s, Interaction& ui, Progress& progress) {
    SettingsStore& settings = s.settings;
    Directories& dirs = s.dirs;

    // Data and depot directories. Without `aktien.db` in the data directory it falls
    // back to the installation's "Daten/", which is written back.
    const QString daten = dirs.install + QStringLiteral("Daten/");
    dirs.data = textSetting(settings, "Datenpath", QString());
    if (dirs.data.isEmpty() || !fileExists(dirs.data, QStringLiteral("aktien.db"))) {
        dirs.data = daten;
        settings.writeText(kMain, QStringLiteral("Datenpath"), daten);
    }
    dirs.depot = textSetting(settings, "Depotpath", dirs.data);
    s.caption = windowCaption(dirs.data, dirs.depot);
    removeStaleLockFiles(dirs.depot, dirs.install, dirs.data);
    dirs.backup = textSetting(settings, "SicherPath", dirs.data);
    dirs.work = textSetting(settings, "TempPath", dirs.install + QStringLiteral("Temp/"));

    // A directory without its tables leaves them to the installation directory for
    // this run; the settings keep naming the directories.
    if (!fileExists(dirs.depot, QStringLiteral("Transaktionen.db"))) dirs.depot = dirs.install;
    if (!fileExists(dirs.data, QStringLiteral("aktien.db"))) dirs.data = dirs.install;
    if (!QDir().mkpath(dirs.data))
        return Status::io(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden").arg(dirs.data));
    s.store.setDirs({dirs.data, dirs.depot, dirs.work, dirs.install});
    s.steps << QStringLiteral("Datenverzeichnis: %1").arg(dirs.data) << QStringLiteral("Depotverzeichnis: %1").arg(dirs.depot);

    // News: the table is made where the other market tables are.
    bool created = false;
    if (Status n = s.store.ensure(QStringLiteral("Nachrichten.db"), &created); !n) return n;
    if (created) s.steps << QStringLiteral("Tabelle angelegt: Nachrichten.db");
    s.newsAvailable = s.store.exists(QStringLiteral("Nachrichten.db"));
    if (s.newsAvailable) QDir().mkpath(dirs.data + QStringLiteral("Nachrichten"));

    // Every missing table, in the fixed order.
    const QStringList order = startupTableOrder();
    for (int i = 0; i < order.size(); ++i) {
        progress.step(QStringLiteral("Tabelle %1").arg(order[i]), i, order.size());
        Q_TRY(s.store.ensure(order[i], &created));
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

    // Structure upgrade of the securities master; refusing it ends the program.
    bool rebuilt = false;
    if (Status up = upgradeFirma(s.store.path(QStringLiteral("Firma.db")), ui, &rebuilt); !up) {
        if (up.category() == Category::Cancelled) s.quitRequested = true;
        else ui.tell(up.message());
        return up;
    }
    if (rebuilt) s.steps << QStringLiteral("Wertpapierdatenbank umstrukturiert");
    Q_TRY(checkIntegrity(s.store.path(QStringLiteral("Firma.db"))));

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
    auto factor = upgradeWaehrung(s.store.path(QStringLiteral("Waehrung.db")), currency);
    if (!factor) return factor.status();
    s.secondCurrencyFactor = *factor;

    // The tables the main window keeps open.
    for (const char* file : {"Merkmal.db", "Branchen.db", "Watch.db", "Waehrung.db", "Firma.db", "Aktien.db", "Volumen.db",
                             "Transaktionen.db", "Intraday.db", "Gruppen.db"}) {
        auto t = s.store.table(QString::fromLatin1(file));
        if (!t) return t.status();
    }
    s.hasGlD = (*s.store.table(QStringLiteral("Aktien.db")))->hasField(QStringLiteral("GlD"));

    // Start counter and automatic backup.
    auto stored = settings.readInteger(kMain, QStringLiteral("Speichern"));
    const BackupCount count = countStart(stored ? *stored : 0, s.values.truth(QStringLiteral("AutoSpeichern")),
                                         s.values.integer(QStringLiteral("SicherInterval")));
    s.startCounter = count.stored;
    settings.writeInteger(kMain, QStringLiteral("Speichern"), count.stored);
    if (count.due) {
        auto copies = Sicherung(dirs, progress);
        if (!copies) {
            ui.tell(copies.status().message());
        } else {
            s.autoBackupRan = true;
            s.steps << QStringLiteral("Automatische Sicherung: %1 Dateien").arg(copies->size());
        }
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

Status startUp(Session& s, const StartOptions& options, Interaction& ui, Progress& progress) {
    s.dirs.install = options.homeDir.isEmpty() ? installationDir(options.programDir) : absoluteDir(options.homeDir);
    const QString settingsPath = options.settingsPath.isEmpty() ? defaultSettingsPath() : options.settingsPath;
    const QString cannotOpen = QStringLiteral("Konnte Programm-Einstellung nicht in der Windows-Registrierung eintragen");
    if (!s.settings.load(settingsPath) || !QDir().mkpath(QFileInfo(settingsPath).absolutePath())) {
        ui.tell(cannotOpen);
        return Status::io(cannotOpen);
    }
    s.firstStart = !s.settings.fileExisted();
    s.statusNotes << s.settings.notes();

    bool secondRun = false;
    for (;;) {
        Status run = createRun(s, ui, progress);
        if (run) break;
        if (s.quitRequested || run.category() == Category::Cancelled) return run;
        ui.status(run.message());
        // A table another program holds is not damaged: a restore would only lose
        // newer prices.
        if (run.category() == Category::Busy) {
            ui.tell(run.message());
            return run;
        }
        if (secondRun) {
            ui.tell(QStringLiteral("Datenbank konnte nicht wiederhergestellt werden!"));
            return run;
        }
        if (run.message().toUpper().contains(QLatin1String("INDEX"))) {
            if (ui.ask(QStringLiteral("Indexfehler !!!"),
                       QStringLiteral("Indexfehler: Soll Quintara versuchen die Indizes neu zu erstellen?")) != Answer::Yes)
                return run;
            if (Status d = dropMainIndexes(s.store); !d) return d;
            auto check = checkindex(s.store);
            if (!check) {
                ui.tell(check.status().message());
                s.quitRequested = true;
                return check.status();
            }
        } else if (fileExists(s.dirs.backup, QStringLiteral("Firma.db~"))) {
            if (ui.ask(QStringLiteral("Gesicherte Datenbank wiederherstellen?"),
                       QStringLiteral("Soll die Datenbank von der Sicherheitkopie wiederhergestellt werden ?? ")) != Answer::Yes)
                return run;
            auto restored = datenbankwiederherstellen(s.dirs, s.store, ui, false);
            if (!restored) return run;
        } else {
            ui.tell(QStringLiteral("Es existriert keine Sicherung"));
            return run;
        }
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
