#include "store/store.h"

#include "base/text_files.h"
#include "store/file_system.h"
#include "store/schema.h"
#include "store/server_connection.h"
#include "store/server_schema.h"
#include "store/table_health.h"

#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace q {

void Store::setDirs(StoreDirs dirs) {
    closeAll();
    m_dirs = std::move(dirs);
}

QString Store::dirOf(const QString& file) const {
    const CatalogueEntry* e = catalogueEntry(file);
    switch (e ? e->dir : DirKind::Data) {
    case DirKind::Data: return m_dirs.data;
    case DirKind::Depot: return m_dirs.depot;
    case DirKind::Work: return m_dirs.work;
    case DirKind::Install: return m_dirs.install;
    }
    return m_dirs.data;
}

void Store::setServer(const QString& uri) {
    closeAll();
    m_server = uri;
    m_connection.reset();
}

bool Store::onServer(const QString& file) const {
    if (m_server.isEmpty()) return false;
    const CatalogueEntry* e = catalogueEntry(file);
    return !e || e->dir == DirKind::Data || e->dir == DirKind::Depot;
}

QString Store::schemaOf(const QString& file) const {
    const CatalogueEntry* e = catalogueEntry(file);
    return e && e->dir == DirKind::Depot ? depotSchemaName(m_dirs.depot) : kServerSchema;
}

Result<ServerConnection*> Store::serverConnection() const {
    if (!m_connection) {
        auto c = ServerConnection::open(m_server);
        if (!c) return c.status();
        m_connection = std::move(*c);
    }
    return m_connection.get();
}

QString Store::path(const QString& file) const {
    if (onServer(file)) return schemaOf(file) + QLatin1Char('.') + tableNameOf(file);
    return filePath(dirOf(file), file);
}

bool Store::exists(const QString& file) const {
    if (!onServer(file)) return fileExists(dirOf(file), file);
    // A table this store has open is there: no question to the server for it.
    if (m_open.count(file.toLower())) return true;
    auto c = serverConnection();
    if (!c) return false;
    auto tables = serverTables(**c, schemaOf(file));
    return tables && tables->contains(tableNameOf(file));
}

Status Store::ensure(const QString& file, bool* created) { return create(file, false, created); }

Status Store::recreate(const QString& file) {
    close(file);
    return create(file, true, nullptr);
}

Status Store::recreate(const QString& file, const std::vector<Row>& rows) {
    close(file);
    return create(file, true, nullptr, rows);
}

Status Store::create(const QString& file, bool replace, bool* created, const std::vector<Row>& rows) {
    if (created) *created = false;
    const CatalogueEntry* e = catalogueEntry(file);
    Q_ASSERT(e);
    if (!e) return Status::internal(QStringLiteral("Unbekannte Tabelle %1").arg(file));
    const Layout layout = layoutFor(e->kind, tableNameOf(e->file));
    std::vector<Row> seed = seedRows(e->kind, e->file, m_dirs.data);
    seed.insert(seed.end(), rows.begin(), rows.end());
    const QString target = path(file);
    if (onServer(file)) {
        auto db = Database::openServer(m_server, schemaOf(file), target);
        if (!db) return db.status();
        return replace ? recreateTable(**db, layout, seed) : ensureTable(**db, layout, seed, created);
    }
    if (replace) {
        auto db = Database::open(target, Database::Mode::CreateIfMissing);
        if (!db) return db.status();
        return recreateTable(**db, layout, seed);
    }
    // An existing file is never made anew: one that is empty or lacks its table was
    // damaged (a new table only ever appears whole, see below), and making it anew
    // would hide the loss and let the next backup copy the empty table over a good copy.
    if (QFileInfo::exists(target)) return quickCheck(target, layout.table);

    // The new table is built in a file of its own and given its name only when
    // complete, so no process ever sees the name on a half-made file, and of two
    // processes creating it at once one keeps the other's.
    const QString fresh = QStringLiteral("%1.%2.neu").arg(target).arg(::getpid());
    removeWithJournal(fresh);
    Status made = [&]() -> Status {
        auto db = Database::open(fresh, Database::Mode::CreateIfMissing);
        if (!db) return db.status();
        Transaction tx(**db);
        Q_TRY(tx.begin());
        Q_TRY(createTableIn(**db, layout, seed));
        return tx.commit();
    }();
    if (!made) {
        removeWithJournal(fresh);
        return made;
    }
    auto published = publishFile(fresh, target);
    removeWithJournal(fresh);
    if (!published) return published.status();
    if (created) *created = *published;
    return *published ? Status::ok() : quickCheck(target, layout.table);
}

Result<Table*> Store::table(const QString& file) {
    const QString key = file.toLower();
    if (auto it = m_open.find(key); it != m_open.end()) return it->second.get();
    const CatalogueEntry* e = catalogueEntry(file);
    Q_ASSERT(e);
    if (!e) return Status::internal(QStringLiteral("Unbekannte Tabelle %1").arg(file));
    const Layout layout = layoutFor(e->kind, tableNameOf(e->file));
    std::unique_ptr<Database> opened;
    if (onServer(file)) {
        auto db = Database::openServer(m_server, schemaOf(file), path(file));
        if (!db) return db.status();
        // A table the server lacks is missing, as a missing file.
        if (auto fields = tableFields(**db, layout.table); !fields) return fields.status();
        opened = std::move(*db);
    } else {
        const QString p = findFile(dirOf(file), file);
        if (p.isEmpty()) return Status::notFound(QStringLiteral("Die Datei %1 fehlt").arg(withSlash(dirOf(file)) + e->file));
        auto db = Database::open(p, Database::Mode::OpenExisting);
        if (!db) return db.status();
        opened = std::move(*db);
    }
    auto db = Result<std::unique_ptr<Database>>(std::move(opened));
    Q_TRY(checkFields(**db, layout));
    auto t = Table::open(std::move(*db), layout);
    if (!t) return t.status();
    Table* raw = t->get();
    m_open[key] = std::move(*t);
    return raw;
}

void Store::close(const QString& file) { m_open.erase(file.toLower()); }

void Store::closeAll() { m_open.clear(); }

Result<std::unique_ptr<Table>> Store::openFile(const QString& path, const Layout& layout) {
    auto db = Database::open(path, Database::Mode::OpenExisting);
    if (!db) return db.status();
    return Table::open(std::move(*db), layout);
}

}  // namespace q
