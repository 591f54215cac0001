#include "app/backup.h"

#include "base/text_files.h"
#include "store/firma_hooks.h"
#include "store/index_repair.h"
#include "store/schema_conversion.h"
#include "store/table_copy.h"

#include <QDir>

namespace q {

namespace {

const QString kBackupFailed = QStringLiteral("Datenbank konnte nicht gesichert werden!");
const QString kRestoreFailed = QStringLiteral("Fehler beim Wiederherstellen der Datenbank");

// The sources in backup order, with the directory each copy goes to.
struct Planned {
    QString dir;
    const char* name;
    bool inBackupDir;
};

}  // namespace

Result<std::vector<BackupCopy>> Sicherung(const Directories& dirs, Progress& progress) {
    if (!QDir().mkpath(dirs.backup)) return Status::io(kBackupFailed);
    const Planned plan[] = {
        {dirs.data, "Firma.db", true},          {dirs.data, "Gruppen.db", true},
        {dirs.data, "Branchen.db", true},       {dirs.depot, "Transaktionen.db", false},
        {dirs.depot, "Anlagen.DB", false},      {dirs.data, "Aktien.db", true},
        {dirs.data, "Volumen.db", true},
    };
    std::vector<BackupCopy> made;
    for (const Planned& p : plan) {
        const QString source = findFile(p.dir, QString::fromLatin1(p.name));
        if (source.isEmpty()) continue;
        const QString fileName = QFileInfo(source).fileName();
        const QString target = withSlash(p.inBackupDir ? dirs.backup : p.dir) + fileName + QLatin1Char('~');
        progress.step(QStringLiteral("Lege Sicherheitskopie der Datei ") + source + QStringLiteral(" an"), 0, 1);
        if (Status s = copyDatabase(source, target, CopyJournal::Standalone, &progress); !s) return Status::io(kBackupFailed);
        made.push_back({source, target});
    }
    return made;
}

Result<QStringList> datenbankwiederherstellen(const Directories& dirs, Store& store, Interaction& ui, bool ask) {
    if (!fileExists(dirs.backup, QStringLiteral("Firma.db~"))) {
        ui.tell(QStringLiteral("Es existriert keine Sicherung"));
        return Status::notFound(QStringLiteral("Es existriert keine Sicherung"));
    }
    if (ask && ui.ask(QStringLiteral("Gesicherte Datenbank wiederherstellen?"),
                      QStringLiteral("Soll die Datenbank von der Sicherheitkopie wiederhergestellt werden ?? ")) != Answer::Yes)
        return Status::cancelled();
    store.closeAll();
    QStringList restored;
    for (const char* name : {"Aktien.db", "Volumen.db", "Firma.db", "Gruppen.db", "Branchen.db"}) {
        const QString table = QString::fromLatin1(name);
        const QString copy = findFile(dirs.backup, table + QLatin1Char('~'));
        if (copy.isEmpty()) continue;
        const QString live = filePath(dirs.data, table);
        const bool isFirma = table == QLatin1String("Firma.db");
        const qint64 counter = isFirma ? numberCounter(live) : 0;
        if (Status s = copyDatabase(copy, live, CopyJournal::Shared); !s) {
            ui.tell(kRestoreFailed);
            return Status::io(kRestoreFailed);
        }
        if (isFirma && counter > 0) (void)raiseNumberCounter(live, counter);
        restored << live;
    }
    return restored;
}

Result<QStringList> Sicherungwiederherstellen(const Directories& dirs, Store& store, Interaction& ui) {
    auto restored = datenbankwiederherstellen(dirs, store, ui, true);
    if (!restored) return restored;
    // A copy made by an earlier release comes back in the old form.
    for (const QString& failure : convertOldTables(store).failures) ui.tell(failure);
    auto check = checkindex(store);
    if (!check) {
        ui.tell(check.status().message());
        return check.status();
    }
    return restored;
}

}  // namespace q
