// Moving the data directory's tables and every known depot to a PostgreSQL server
// and back (quintara-cli migrate). The data directory's tables go into schema
// "quintara", each depot's tables into its own schema (depot_<folder>); the work
// directory's results and the installation's page tables stay with the computer.
// Every table is copied in one transaction on each side, and both sides' row
// counts are reported; the job fails when any pair differs.
#pragma once

#include "app/directories.h"
#include "base/interaction.h"
#include "base/status.h"

#include <vector>

namespace q {

struct MigratedTable {
    QString file;    // the table file's path
    QString schema;  // its schema on the server
    QString table;
    qint64 fileRows = -1;
    qint64 serverRows = -1;
    bool checked = false;  // the server's copy passed the index check (--to)
    bool matches() const { return fileRows >= 0 && fileRows == serverRows; }
};

struct MigrationReport {
    QString server;  // "host:port"
    bool amcheck = false;  // the index check used the server's amcheck
    std::vector<MigratedTable> tables;
    QStringList safetyCopies;  // made before tables were replaced (--from --replace)
    // Depot schemas on the server that no known depot's folder name gives (--from):
    // their tables stay on the server only.
    QStringList otherDepotSchemas;
};

// The depot directories a migration takes: the open depot and the recent ones that
// hold a depot table, each once, in that order.
QStringList knownDepots(const QString& currentDepot, const QStringList& recent);

// Copies every table file of the data directory and of `depots` into
// the server named by `uri`, and checks each copy there (checkServerTable). Refuses (Invalid, nothing written) when the server
// already holds any of these tables unless `replace`, which replaces them. Two
// depots whose folders give the same schema name are refused as well.
Result<MigrationReport> migrateToServer(const Directories& dirs, const QStringList& depots, const QString& uri, bool replace,
                                        Progress& progress);

// Writes the server's tables back as files into the data and depot
// directories (the depots whose schemas the server holds among `depots`).
// Refuses (Invalid, nothing written) over existing table files unless `replace`;
// with it the existing files get their safety copies first ("<file>~" in the backup
// directory, depot files beside themselves), as the backup makes them.
Result<MigrationReport> migrateFromServer(const Directories& dirs, const QStringList& depots, const QString& uri, bool replace,
                                          Progress& progress);

}  // namespace q
