#include "store/index_repair.h"

#include "base/text_files.h"
#include "store/schema.h"

namespace q {

namespace {

QString failure(const QString& file) {
    return QStringLiteral("Fehler beim anlegen der Indizes für die Datei \"%1\". Möglicherweise greift ein anderes Programm darauf zu!")
        .arg(file);
}

// Makes the listed indexes (and with `withKey` the index of a non-unique primary
// order) in one transaction; `dropFirst` removes the table's other secondary indexes
// before.
Status makeIndexes(Database& db, const Layout& layout, const std::vector<Index>& indexes, bool dropFirst, bool withKey = false) {
    Transaction tx(db);
    Q_TRY(tx.begin());
    if (dropFirst) {
        auto names = indexNames(db, layout);
        if (!names) return names.status();
        for (const QString& n : *names)
            if (n != layout.primaryName) Q_TRY(db.exec(QStringLiteral("DROP INDEX IF EXISTS %1").arg(quoted(n))));
    }
    if (withKey) Q_TRY(db.exec(keyIndexStatement(layout)));
    for (const Index& i : indexes) Q_TRY(db.exec(createIndexStatement(layout, i)));
    return tx.commit();
}

}  // namespace

Result<std::vector<IndexCheckEntry>> checkindex(Store& store) {
    store.closeAll();
    std::vector<IndexCheckEntry> report;
    for (const char* name : {"Firma.db", "Aktien.db", "Volumen.db", "Nachrichten.db", "Transaktionen.db"}) {
        const QString file = QString::fromLatin1(name);
        // The server keeps its indexes itself; `check` asks it about them.
        if (store.onServer(file)) continue;
        const QString path = findFile(store.dirOf(file), file);
        if (path.isEmpty()) continue;
        IndexCheckEntry entry;
        entry.file = path;
        const Layout layout = layoutForFile(file);
        auto db = Database::open(path, Database::Mode::OpenExisting);
        if (!db) return Status(db.status());
        auto names = indexNames(**db, layout);
        if (!names) return names.status();
        entry.before = *names;

        std::vector<Index> missing;
        bool dropFirst = false;
        const bool keyMissing = !layout.keyIndexName().isEmpty() && !names->contains(layout.primaryName, Qt::CaseInsensitive);
        if (layout.table == QLatin1String("Firma")) {
            if (names->size() < 7) {
                missing = layout.indexes;
                dropFirst = true;
            }
        } else {
            for (const Index& i : layout.indexes)
                if (!names->contains(i.name, Qt::CaseInsensitive)) missing.push_back(i);
        }
        if (!missing.empty() || keyMissing) {
            if (Status s = makeIndexes(**db, layout, missing, dropFirst, keyMissing); !s) return Status::busy(failure(file));
            entry.rebuilt = true;
            auto after = indexNames(**db, layout);
            if (!after) return after.status();
            entry.after = *after;
        } else {
            entry.after = entry.before;
        }
        report.push_back(entry);
    }
    return report;
}

Status dropMainIndexes(Store& store) {
    store.closeAll();
    for (const char* name : {"Firma.db", "Aktien.db", "Volumen.db"}) {
        const QString file = QString::fromLatin1(name);
        // The server keeps its indexes itself; `check` asks it about them.
        if (store.onServer(file)) continue;
        const QString path = findFile(store.dirOf(file), file);
        if (path.isEmpty()) continue;
        auto db = Database::open(path, Database::Mode::OpenExisting);
        if (!db) return db.status();
        Q_TRY(makeIndexes(**db, layoutForFile(file), {}, true));
    }
    return Status::ok();
}

}  // namespace q
