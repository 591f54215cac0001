#include "app/backup.h"

#include "app/restore_journal.h"
#include "base/text_files.h"
#include "store/catalogue.h"
#include "store/depot_password.h"
#include "store/file_system.h"
#include "store/firma_hooks.h"
#include "store/index_repair.h"
#include "store/schema_conversion.h"
#include "store/server_copy.h"
#include "store/server_schema.h"
#include "store/table_copy.h"
#include "store/table_health.h"

#include <QDir>
#include <QFileInfo>
#include <map>

namespace q {

namespace {

const QString kBackupFailed = QStringLiteral("Datenbank konnte nicht gesichert werden!");
const QString kRestoreFailed = QStringLiteral("Fehler beim Wiederherstellen der Datenbank");
const QString kNoBackup = QStringLiteral("Es existriert keine Sicherung");

// The message the user knows for the job, the cause below it.
Status under(const QString& message, const Status& cause) {
    return Status::of(cause.category(), message + QLatin1Char('\n') + cause.message());
}

// The market tables a restore puts back, in this order.
constexpr const char* kRestoreOrder[] = {"Aktien.db", "Volumen.db", "Firma.db", "Gruppen.db", "Branchen.db"};

// The sources in backup order, with the directory each copy goes to.
struct Planned {
    QString dir;
    const char* name;
    bool inBackupDir;
};

}  // namespace

Result<BackupResult> Sicherung(const Directories& dirs, const BackupPolicy& policy, Progress& progress, QString* damaged) {
    if (!policy.refusal.isEmpty()) return Status::io(kBackupFailed + QLatin1Char('\n') + policy.refusal);
    if (!QDir().mkpath(dirs.backup))
        return Status::io(kBackupFailed + QStringLiteral("\nDas Verzeichnis %1 kann nicht angelegt werden").arg(dirs.backup));
    auto lock = DirectoryLock::acquire(dirs.backup, DirectoryLock::Kind::Exclusive,
                                       QStringLiteral("Eine andere Sicherung in %1 läuft noch.").arg(dirs.backup));
    if (!lock) return under(kBackupFailed, lock.status());

    const Planned plan[] = {
        {dirs.data, "Firma.db", true},          {dirs.data, "Gruppen.db", true},
        {dirs.data, "Branchen.db", true},       {dirs.depot, "Transaktionen.db", false},
        {dirs.depot, "Anlagen.DB", false},      {dirs.data, "Aktien.db", true},
        {dirs.data, "Volumen.db", true},
    };
    BackupResult result;
    QStringList targets;
    if (!policy.server.isEmpty()) {
        auto server = ServerConnection::open(policy.server);
        if (!server) return under(kBackupFailed, server.status());
        std::map<QString, QStringList> tablesOf;  // by schema, asked once
        for (const Planned& p : plan) {
            const QString file = QString::fromLatin1(p.name);
            const QString schema = p.inBackupDir ? kServerSchema : policy.depotSchema;
            if (!tablesOf.count(schema)) {
                auto names = serverTables(**server, schema);
                if (!names) return under(kBackupFailed, names.status());
                tablesOf[schema] = *names;
            }
            const QStringList* present = &tablesOf[schema];
            const QString table = tableNameOf(file);
            if (!present->contains(table)) continue;
            QStringList tables{table};
            // The depot's password travels with its lots, as in the file.
            if (!p.inBackupDir && file == QLatin1String("Transaktionen.db") && present->contains(kPasswordTable))
                tables << kPasswordTable;
            const QString source = schema + QLatin1Char('.') + table;
            const QString target = withSlash(p.inBackupDir ? dirs.backup : p.dir) + file + QLatin1Char('~');
            progress.step(QStringLiteral("Lege Sicherheitskopie der Tabelle ") + source + QStringLiteral(" an"), 0, 1);
            // The copy is built beside the older one and checked before it replaces it.
            if (auto copied = copyFileFromServer(**server, schema, tables, target, &progress); !copied) {
                if (damaged && copied.status().category() == Category::Corrupt) *damaged = source;
                return under(kBackupFailed, copied.status());
            }
            result.copies.push_back({source, target});
            targets << target;
        }
    } else {
        for (const Planned& p : plan) {
            const QString source = findFile(p.dir, QString::fromLatin1(p.name));
            if (source.isEmpty()) continue;
            const QString fileName = QFileInfo(source).fileName();
            const QString target = withSlash(p.inBackupDir ? dirs.backup : p.dir) + fileName + QLatin1Char('~');
            progress.step(QStringLiteral("Lege Sicherheitskopie der Datei ") + source + QStringLiteral(" an"), 0, 1);
            if (Status s = makeSafetyCopy(source, target, layoutForFile(QString::fromLatin1(p.name)), {}, &progress); !s) {
                if (damaged && s.category() == Category::Corrupt) *damaged = source;
                return under(kBackupFailed, s);
            }
            result.copies.push_back({source, target});
            targets << target;
        }
    }
    auto generation = makeGeneration(dirs, targets, QDateTime::currentDateTime(), policy.generations);
    if (!generation) return under(kBackupFailed, generation.status());
    result.generation = *generation;
    return result;
}

Result<RestoreReport> datenbankwiederherstellen(const Directories& dirs, Store& store, Interaction& ui, bool ask,
                                                const QString& from) {
    std::unique_ptr<DirectoryLock> lock;
    if (QFileInfo(dirs.backup).isDir()) {
        // A backup running now would replace copies and remove old generations.
        auto l = DirectoryLock::acquire(dirs.backup, DirectoryLock::Kind::Shared,
                                        QStringLiteral("In %1 läuft gerade eine Sicherung.").arg(dirs.backup));
        if (!l) return under(kRestoreFailed, l.status());
        lock = std::move(*l);
    }
    const std::vector<BackupSet> sets = Sicherungen(dirs, false);
    if (sets.empty()) return Status::notFound(kNoBackup);

    std::optional<BackupSet> chosen;
    if (!from.isEmpty()) {
        auto named = findSet(sets, from);
        if (!named) return named.status();
        Q_TRY(checkSet(*named));
        chosen = *named;
    } else {
        for (const BackupSet& set : sets) {
            Status s = checkSet(set);
            if (s) {
                chosen = set;
                break;
            }
            ui.tell(s.message());
        }
        // Each unusable set was told already.
        if (!chosen) return Status::corrupt(QStringLiteral("Keine Sicherung ist brauchbar; die Tabellen bleiben unverändert."));
        if (chosen->name != sets.front().name)
            ui.tell(QStringLiteral("Angeboten wird die ältere Sicherung vom %1 (%2).").arg(formatCopyDate(chosen->date), chosen->name));
    }
    if (ask && ui.ask(QStringLiteral("Gesicherte Datenbank wiederherstellen?"),
                      QStringLiteral("Soll die Datenbank von der Sicherheitkopie wiederhergestellt werden ?? ")) != Answer::Yes)
        return Status::cancelled();

    store.closeAll();
    RestoreReport report;
    report.set = chosen->name;
    if (!store.server().isEmpty()) {
        // Onto the server: each copy replaces its table there in one transaction, in
        // the same order; the counter of the securities master keeps the higher value.
        auto server = ServerConnection::open(store.server());
        if (!server) return under(kRestoreFailed, server.status());
        for (const char* name : kRestoreOrder) {
            const QString table = QString::fromLatin1(name);
            const SafetyCopy* copy = chosen->copyOf(table);
            if (!copy) continue;
            auto copied = copyTableToServer(copy->path, tableNameOf(table), **server, store.schemaOf(table), true);
            if (!copied) return under(kRestoreFailed, copied.status());
            if (copied->file != copied->server)
                return under(kRestoreFailed, Status::corrupt(QStringLiteral("%1: Datei %2 Zeilen, Server %3 Zeilen")
                                                                 .arg(store.path(table))
                                                                 .arg(copied->file)
                                                                 .arg(copied->server)));
            report.tables.push_back({store.path(table), copy->path, copy->date});
        }
        return report;
    }
    std::vector<RestoreStep> steps;
    for (const char* name : kRestoreOrder) {
        const QString table = QString::fromLatin1(name);
        const SafetyCopy* copy = chosen->copyOf(table);
        if (!copy) continue;
        const QString live = filePath(dirs.data, table);
        // Numbers given since the backup are never given again.
        const qint64 counter = table == QLatin1String("Firma.db") ? numberCounter(live) : 0;
        steps.push_back({copy->path, live, counter});
        report.tables.push_back({live, copy->path, copy->date});
    }
    // The journal first: a restore stopped half-way is finished by the next start.
    if (Status s = writeRestoreJournal(dirs.data, steps); !s) return under(kRestoreFailed, s);
    size_t done = 0;
    if (Status s = runRestoreSteps(steps, &done); !s) {
        // Before the first table changed (a full disk, say) the tables are as they
        // were, and the next start has nothing to finish.
        if (done == 0) (void)removeRestoreJournal(dirs.data);
        return under(kRestoreFailed, s);
    }
    if (Status s = removeRestoreJournal(dirs.data); !s) return under(kRestoreFailed, s);
    return report;
}

Result<RestoreReport> Sicherungwiederherstellen(const Directories& dirs, Store& store, Interaction& ui, const QString& from) {
    auto restored = datenbankwiederherstellen(dirs, store, ui, true, from);
    if (!restored) return restored;
    // A copy made by an earlier release comes back in the old form.
    for (const QString& failure : convertOldTables(store).failures) ui.tell(failure);
    auto check = checkindex(store);
    if (!check) return check.status();
    return restored;
}

Result<RestoreReport> depotWiederherstellen(const Directories& dirs, Store& store, Interaction& ui, const QString& table) {
    std::vector<SafetyCopy> candidates;
    const QString beside = findFile(dirs.depot, table + QLatin1Char('~'));
    if (!beside.isEmpty()) candidates.push_back({table, beside, QFileInfo(beside).lastModified(), -1});
    for (const BackupSet& set : Sicherungen(dirs, false))
        if (const SafetyCopy* c = set.copyOf(table); c && c->path != beside) candidates.push_back(*c);
    const SafetyCopy* chosen = nullptr;
    for (const SafetyCopy& c : candidates) {
        if (Status s = fullCheck(c.path, layoutForFile(table), {}, CheckDepth::Pages); !s) {
            ui.tell(QStringLiteral("Die Sicherungskopie %1 ist unbrauchbar: %2").arg(c.path, s.message()));
            continue;
        }
        chosen = &c;
        break;
    }
    if (!chosen) return Status::notFound(kNoBackup);
    if (ui.ask(QStringLiteral("Gesicherte Datenbank wiederherstellen?"),
               QStringLiteral("Soll die Datenbank von der Sicherheitkopie wiederhergestellt werden ?? ")) != Answer::Yes)
        return Status::cancelled();
    store.closeAll();
    const QString live = filePath(dirs.depot, table);
    if (Status s = putCopyBack(chosen->path, live); !s) return under(kRestoreFailed, s);
    RestoreReport report;
    report.set = QFileInfo(chosen->path).absolutePath() == QFileInfo(live).absolutePath() ? kNewestSet
                                                                                           : QFileInfo(QFileInfo(chosen->path).absolutePath()).fileName();
    report.tables.push_back({live, chosen->path, chosen->date});
    return report;
}

QStringList describeRestore(const RestoreReport& report) {
    QStringList lines;
    for (const RestoredTable& t : report.tables)
        lines << QStringLiteral("Wiederhergestellt: %1 aus der Sicherung vom %2 (%3)").arg(t.live, formatCopyDate(t.date), t.copy);
    return lines;
}

}  // namespace q
