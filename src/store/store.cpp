#include "store/store.h"

#include "base/text_files.h"
#include "store/schema.h"

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

QString Store::path(const QString& file) const { return filePath(dirOf(file), file); }

bool Store::exists(const QString& file) const { return fileExists(dirOf(file), file); }

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
    const CatalogueEntry* e = catalogueEntry(file);
    Q_ASSERT(e);
    if (!e) return Status::internal(QStringLiteral("Unbekannte Tabelle %1").arg(file));
    auto db = Database::open(path(file), Database::Mode::CreateIfMissing);
    if (!db) return db.status();
    const Layout layout = layoutFor(e->kind, tableNameOf(e->file));
    std::vector<Row> seed = seedRows(e->kind, e->file, m_dirs.data);
    seed.insert(seed.end(), rows.begin(), rows.end());
    return replace ? recreateTable(**db, layout, seed) : ensureTable(**db, layout, seed, created);
}

Result<Table*> Store::table(const QString& file) {
    const QString key = file.toLower();
    if (auto it = m_open.find(key); it != m_open.end()) return it->second.get();
    const CatalogueEntry* e = catalogueEntry(file);
    Q_ASSERT(e);
    if (!e) return Status::internal(QStringLiteral("Unbekannte Tabelle %1").arg(file));
    const QString p = findFile(dirOf(file), file);
    if (p.isEmpty()) return Status::notFound(QStringLiteral("Die Datei %1 fehlt").arg(withSlash(dirOf(file)) + e->file));
    const Layout layout = layoutFor(e->kind, tableNameOf(e->file));
    auto db = Database::open(p, Database::Mode::OpenExisting);
    if (!db) return db.status();
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
