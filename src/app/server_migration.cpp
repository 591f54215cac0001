#include "app/server_migration.h"

#include "store/catalogue.h"
#include "store/depot_password.h"
#include "store/server_copy.h"
#include "store/server_schema.h"
#include "store/store.h"
#include "store/table_copy.h"

#include <QDir>
#include <QFileInfo>
#include <map>

namespace q {

namespace {

// One table file and where its tables go.
struct Placement {
    QString path;    // the file (existing or to be written)
    QString dir;     // its directory
    QString file;    // the catalogue's file name
    QString schema;
    QString copyDir; // where its safety copy goes
};

QString withSlash(const QString& dir) { return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/'); }

// The file in `dir` whatever its letter case; the catalogue's spelling when absent.
QString fileIn(const QString& dir, const QString& file) {
    Store store(StoreDirs{dir, dir, dir, dir});
    return store.path(file);
}

std::vector<Placement> placements(const Directories& dirs, const QStringList& depots) {
    std::vector<Placement> out;
    for (const CatalogueEntry& e : catalogue()) {
        if (e.dir != DirKind::Data) continue;
        const QString dir = withSlash(dirs.data);
        out.push_back({fileIn(dir, e.file), dir, e.file, kServerSchema, withSlash(dirs.backup)});
    }
    for (const QString& depot : depots)
        for (const CatalogueEntry& e : catalogue())
            if (e.dir == DirKind::Depot) out.push_back({fileIn(withSlash(depot), e.file), withSlash(depot), e.file, depotSchemaName(depot), withSlash(depot)});
    return out;
}

// Two depots that would share a schema, or a depot folder that has no name.
Status checkSchemas(const QStringList& depots) {
    std::map<QString, QString> seen;
    for (const QString& depot : depots) {
        const QString schema = depotSchemaName(depot);
        if (schema == QLatin1String("depot_"))
            return Status::invalid(QStringLiteral("Das Depot %1 hat keinen Ordnernamen, nach dem sein Schema auf dem Server heißen kann").arg(depot));
        if (auto it = seen.find(schema); it != seen.end())
            return Status::invalid(QStringLiteral("Die Depots %1 und %2 bekämen auf dem Server dasselbe Schema %3; benennen Sie einen der Ordner um")
                                       .arg(it->second, depot, schema));
        seen[schema] = depot;
    }
    return Status::ok();
}

MigratedTable line(const Placement& p, const TableCounts& c) { return {p.path, p.schema, c.table, c.file, c.server}; }

// Whether the file holds anything of the user's: more rows than the seed it is
// created with (a start on an empty directory makes such files).
Result<bool> holdsData(const Placement& p, const Directories& dirs) {
    auto tables = fileTables(p.path);
    if (!tables) return tables.status();
    if (tables->size() > 1) return true;  // a depot's password
    if (tables->isEmpty()) return false;
    const CatalogueEntry* e = catalogueEntry(p.file);
    auto db = Store::openFile(p.path, layoutForFile(p.file));
    if (!db) return db.status();
    auto n = (*db)->count(Query());
    if (!n) return n.status();
    return *n > static_cast<qint64>(seedRows(e->kind, p.file, dirs.data).size());
}

// The server, after the depots' schema names are checked.
Result<std::unique_ptr<ServerConnection>> connect(const QStringList& depots, const QString& uri, MigrationReport& report) {
    Q_TRY(checkSchemas(depots));
    auto server = ServerConnection::open(uri);
    if (!server) return server.status();
    report.server = (*server)->server();
    return std::move(*server);
}

}  // namespace

QStringList knownDepots(const QString& currentDepot, const QStringList& recent) {
    QStringList out;
    auto add = [&](const QString& dir) {
        if (dir.isEmpty()) return;
        const QString d = withSlash(QDir::cleanPath(dir));
        for (const QString& o : out)
            if (QFileInfo(o).canonicalFilePath() == QFileInfo(d).canonicalFilePath()) return;
        if (QFileInfo::exists(fileIn(d, QStringLiteral("Transaktionen.db")))) out << d;
    };
    add(currentDepot);
    for (const QString& r : recent) add(r);
    return out;
}

Result<MigrationReport> migrateToServer(const Directories& dirs, const QStringList& depots, const QString& uri, bool replace,
                                        Progress& progress) {
    MigrationReport report;
    auto server = connect(depots, uri, report);
    if (!server) return server.status();
    std::vector<std::pair<Placement, QString>> work;  // file and table
    for (const Placement& p : placements(dirs, depots)) {
        if (!QFileInfo::exists(p.path)) continue;
        auto tables = fileTables(p.path);
        if (!tables) return tables.status();
        for (const QString& t : *tables) work.push_back({p, t});
    }
    if (!replace) {
        std::map<QString, QStringList> present;
        QStringList clashes;
        for (const auto& [p, table] : work) {
            if (!present.count(p.schema)) {
                auto names = serverTables(**server, p.schema);
                if (!names) return names.status();
                present[p.schema] = *names;
            }
            if (present[p.schema].contains(table)) clashes << qualified(p.schema, table);
        }
        if (!clashes.isEmpty())
            return Status::invalid(QStringLiteral("Der Datenbankserver %1 enthält schon die Tabellen %2; nichts wurde kopiert (--replace ersetzt sie)")
                                       .arg(report.server, clashes.join(QStringLiteral(", "))));
    }
    auto amcheck = serverHasAmcheck(**server);
    if (!amcheck) return amcheck.status();
    report.amcheck = *amcheck;
    int done = 0;
    for (const auto& [p, table] : work) {
        progress.step(QStringLiteral("%1 (%2/%3)").arg(QFileInfo(p.path).fileName()).arg(done).arg(work.size()), done, static_cast<qint64>(work.size()));
        auto counts = copyTableToServer(p.path, table, **server, p.schema, replace, &progress);
        if (!counts) return counts.status();
        auto layout = fileTableLayout(p.path, table);
        if (!layout) return layout.status();
        Q_TRY(checkServerTable(**server, p.schema, *layout, report.amcheck));
        report.tables.push_back(line(p, *counts));
        report.tables.back().checked = true;
        ++done;
    }
    return report;
}

Result<MigrationReport> migrateFromServer(const Directories& dirs, const QStringList& depots, const QString& uri, bool replace,
                                          Progress& progress) {
    MigrationReport report;
    auto server = connect(depots, uri, report);
    if (!server) return server.status();
    std::map<QString, QStringList> present;
    std::vector<std::pair<Placement, QStringList>> work;  // file and its tables on the server
    for (const Placement& p : placements(dirs, depots)) {
        if (!present.count(p.schema)) {
            auto names = serverTables(**server, p.schema);
            if (!names) return names.status();
            present[p.schema] = *names;
        }
        const QString table = tableNameOf(p.file);
        if (!present[p.schema].contains(table)) continue;
        QStringList tables{table};
        if (catalogueEntry(p.file)->kind == TableKind::Transaktionen && present[p.schema].contains(kPasswordTable)) tables << kPasswordTable;
        work.push_back({p, tables});
    }
    QStringList known;
    for (const QString& depot : depots) known << depotSchemaName(depot);
    auto schemas = serverDepotSchemas(**server);
    if (!schemas) return schemas.status();
    for (const QString& schema : *schemas)
        if (!known.contains(schema)) report.otherDepotSchemas << schema;
    if (work.empty())
        return Status::notFound(QStringLiteral("Der Datenbankserver %1 enthält keine Tabellen von Quintara").arg(report.server));
    QStringList occupied;
    std::vector<const Placement*> toSave;
    for (const auto& [p, tables] : work) {
        if (!QFileInfo::exists(p.path)) continue;
        auto data = holdsData(p, dirs);
        if (!data) return data.status();
        if (*data) {
            occupied << p.path;
            toSave.push_back(&p);
        }
    }
    if (!occupied.isEmpty() && !replace)
        return Status::invalid(QStringLiteral("Es gibt schon die Tabellen %1; nichts wurde geschrieben (--replace ersetzt sie nach einer Sicherungskopie)")
                                   .arg(occupied.join(QStringLiteral(", "))));
    // Every safety copy first: a failure leaves every table as it was.
    for (const Placement* p : toSave) {
        const QString copy = p->copyDir + QFileInfo(p->path).fileName() + QLatin1Char('~');
        QDir().mkpath(p->copyDir);
        auto layout = fileTableLayout(p->path, tableNameOf(p->file));
        if (!layout) return layout.status();
        Q_TRY(makeSafetyCopy(p->path, copy, *layout, {}, &progress));
        report.safetyCopies << copy;
    }
    int done = 0;
    for (const auto& [p, tables] : work) {
        progress.step(QStringLiteral("%1 (%2/%3)").arg(QFileInfo(p.path).fileName()).arg(done).arg(work.size()), done, static_cast<qint64>(work.size()));
        QDir().mkpath(p.dir);
        auto counts = copyFileFromServer(**server, p.schema, tables, p.path, &progress);
        if (!counts) return counts.status();
        for (const TableCounts& c : *counts) report.tables.push_back(line(p, c));
        ++done;
    }
    return report;
}

}  // namespace q
