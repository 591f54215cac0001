// Moving one table between its file and the PostgreSQL server, whole and in one
// transaction on each side: COPY streams the rows, the row counts of both sides are
// read inside the same transactions, and the key counter of the securities master
// (the highest number ever handed out) travels with the table.
#pragma once

#include "base/interaction.h"
#include "store/layout.h"
#include "store/server_connection.h"

namespace q {

struct TableCounts {
    QString table;
    qint64 file = -1;    // rows in the file
    qint64 server = -1;  // rows on the server
};

// The layout of a table as the file `path` holds it: the catalogue's keys and
// indexes for a catalogued file (fields as the file has them), the depot's password
// table by its own. Fails with the store's message.
Result<Layout> fileTableLayout(const QString& path, const QString& table);

// The highest number the sequence of the key of `layout`'s table in `schema`
// handed out; nullopt when it handed out none yet. Corrupt when the table on the
// server has no such sequence.
Result<std::optional<qint64>> serverKeyCounter(ServerConnection& server, const QString& schema, const Layout& layout);

// The table names in the file: the catalogue's table first, then the others (the
// depot's password table).
Result<QStringList> fileTables(const QString& path);

// Copies table `table` of the file `path` into `schema` on the server. The table is
// made anew there: with `replace` an existing one is dropped in the same
// transaction (the key counter of the securities master keeps the higher of the
// two), else an existing one fails Invalid naming it. Everything (table, rows,
// indexes, counter) commits at once or not at all.
Result<TableCounts> copyTableToServer(const QString& path, const QString& table, ServerConnection& server,
                                      const QString& schema, bool replace, Progress* progress = nullptr);

// Writes the server's tables `tables` of `schema` (the catalogue's table first)
// into the file `path`, as the program creates its tables (declared types, key,
// indexes, counter), all read in one snapshot of the server. The new file is built
// beside `path` and checked; an existing `path` gets the new content in one
// transaction (a program holding it open sees the old or the new tables), a missing
// one the new file. `path` keeps its old content on every failure.
Result<std::vector<TableCounts>> copyFileFromServer(ServerConnection& server, const QString& schema, const QStringList& tables,
                                                    const QString& path, Progress* progress = nullptr);

}  // namespace q
