// The open tables of a run. Knows the four table directories, finds each file
// whatever its letter case, creates missing tables from the catalogue, and keeps
// one open Table per file until it is closed. With a server (setServer) the data
// directory's and the depot's tables are the server's tables of the same names
// (schema "quintara" and the depot's schema, store/server_schema.h), each opened
// on a connection of its own; the work and installation tables stay files.
#pragma once

#include "store/catalogue.h"
#include "store/table.h"

#include <map>
#include <memory>

namespace q {

class ServerConnection;

struct StoreDirs {
    QString data;     // each ends with "/"
    QString depot;
    QString work;
    QString install;
};

class Store {
public:
    explicit Store(StoreDirs dirs = {}) : m_dirs(std::move(dirs)) {}

    const StoreDirs& dirs() const { return m_dirs; }
    // Closes every table and points the store at new directories.
    void setDirs(StoreDirs dirs);
    // Closes every table and keeps the data directory's and the depot's tables on
    // the PostgreSQL server `uri` from now on (empty: in files again).
    void setServer(const QString& uri);
    const QString& server() const { return m_server; }
    // Whether `file`'s table is on the server, and in which schema.
    bool onServer(const QString& file) const;
    QString schemaOf(const QString& file) const;

    // The directory the catalogue places `file` in (data directory for files it
    // does not list).
    QString dirOf(const QString& file) const;
    // The file's path: the existing file whatever its case, else the catalogue's
    // spelling. For a table on the server its name there ("quintara.Firma").
    QString path(const QString& file) const;
    bool exists(const QString& file) const;

    // Creates the table with its indexes and seed rows when its file is missing;
    // `created` tells whether it did. An existing file gets the cheap check
    // (quickCheck) and is never made anew: Corrupt naming the file when it is empty,
    // no database, cut short or without its table.
    Status ensure(const QString& file, bool* created = nullptr);
    // Replaces the table with a new, empty one (seed rows only), in one transaction.
    Status recreate(const QString& file);
    // Replaces the table with a new one holding its seed rows and then `rows` (values
    // in field order, checked by the caller), in one transaction: when anything fails
    // the old table stays as it was.
    Status recreate(const QString& file, const std::vector<Row>& rows);

    // The open table of a catalogued file, opened on first use and checked against
    // the catalogue (Corrupt naming a missing field). NotFound when the file is missing.
    Result<Table*> table(const QString& file);
    void close(const QString& file);
    void closeAll();

    // Opens a table file outside the cache (another depot, an upgrade); the caller owns it.
    static Result<std::unique_ptr<Table>> openFile(const QString& path, const Layout& layout);

private:
    // Creates the table of a catalogued file: when missing, or anew with `replace`.
    Status create(const QString& file, bool replace, bool* created, const std::vector<Row>& rows = {});

    // A connection for the store's own questions to the server (which tables exist).
    Result<ServerConnection*> serverConnection() const;

    StoreDirs m_dirs;
    QString m_server;
    mutable std::shared_ptr<ServerConnection> m_connection;
    std::map<QString, std::unique_ptr<Table>> m_open;  // by lower-case file name
};

}  // namespace q
