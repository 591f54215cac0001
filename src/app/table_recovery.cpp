#include "app/table_recovery.h"

#include "base/text_files.h"
#include "store/catalogue.h"
#include "store/index_repair.h"
#include "store/table_health.h"

#include <QFileInfo>

namespace q {

namespace {

const QString kNoBackup = QStringLiteral("Es existriert keine Sicherung");

// The tables the restore puts back.
bool restorable(const QString& file) {
    for (const char* name : {"Aktien.db", "Volumen.db", "Firma.db", "Gruppen.db", "Branchen.db"})
        if (file.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
    return false;
}

enum class Rebuild { Done, Refused, Failed };

// The index question, then the rebuild: of the damaged file's indexes when its
// rows all read, else the reset of the main tables' indexes. Then checkindex, whose
// failure ends the program.
Rebuild rebuildAfterQuestion(Session& s, const QString& path, bool rowsIntact, Interaction& ui, Status* status) {
    if (ui.ask(QStringLiteral("Indexfehler !!!"), QStringLiteral("Indexfehler: Soll Quintara versuchen die Indizes neu zu erstellen?")) !=
        Answer::Yes)
        return Rebuild::Refused;
    s.store.closeAll();
    if (rowsIntact) {
        *status = rebuildIndexes(path, layoutForFile(QFileInfo(path).fileName()));
        if (!*status) {
            ui.tell(status->message());
            return Rebuild::Failed;
        }
        s.steps << QStringLiteral("Indizes neu aufgebaut: %1").arg(QFileInfo(path).fileName());
    } else if (*status = dropMainIndexes(s.store); !*status) {
        ui.tell(status->message());
        return Rebuild::Failed;
    }
    auto check = checkindex(s.store);
    if (!check) {
        *status = check.status();
        ui.tell(status->message());
        s.quitRequested = true;
        return Rebuild::Failed;
    }
    return Rebuild::Done;
}

bool isDepotTable(const QString& file) {
    const CatalogueEntry* e = catalogueEntry(file);
    return e && (e->kind == TableKind::Transaktionen || e->kind == TableKind::Anlagen);
}

}  // namespace

Status recoverTable(Session& s, const QString& path, const Status& failure, bool offerRestore, Interaction& ui) {
    const QString file = QFileInfo(path).fileName();
    Damage damage = Damage::Table;
    if (!path.isEmpty() && catalogueEntry(file)) {
        auto d = diagnose(path, layoutForFile(file));
        if (!d) {
            ui.tell(d.status().message());
            return d.status();
        }
        damage = *d;
        // The file itself is whole: what failed was not its content, and a restore
        // would only lose newer rows.
        if (damage == Damage::None) return failure;
    }
    Status repair;
    if (damage == Damage::Indexes) {
        switch (rebuildAfterQuestion(s, path, true, ui, &repair)) {
        case Rebuild::Done: return Status::ok();
        case Rebuild::Refused: return failure;
        // Index damage the rebuild could not mend is damage for the restore.
        case Rebuild::Failed:
            if (s.quitRequested) return repair;
            break;
        }
    } else if (path.isEmpty() && failure.message().toUpper().contains(QLatin1String("INDEX"))) {
        switch (rebuildAfterQuestion(s, path, false, ui, &repair)) {
        case Rebuild::Done: return Status::ok();
        case Rebuild::Refused: return failure;
        case Rebuild::Failed: return repair;
        }
    }

    if (!offerRestore) return failure;
    const bool depot = isDepotTable(file);
    if (!path.isEmpty() && !restorable(file) && !depot) {
        ui.tell(QStringLiteral("Die Wiederherstellung erfasst %1 nicht; ohne die Datei legt Quintara die Tabelle beim "
                               "nächsten Start neu an.")
                    .arg(path));
        return failure;
    }
    // A damaged depot table comes back alone: restoring the market tables would not
    // mend it and would lose their newer prices.
    auto restored = depot ? depotWiederherstellen(s.dirs, s.store, ui, catalogueEntry(file)->file)
                          : datenbankwiederherstellen(s.dirs, s.store, ui, true);
    if (!restored) {
        if (restored.status().category() == Category::NotFound)
            ui.tell(kNoBackup);
        else if (restored.status().category() != Category::Cancelled)
            ui.tell(restored.status().message());
        return failure;
    }
    s.restored = *restored;
    return Status::ok();
}

}  // namespace q
