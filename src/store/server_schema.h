// The catalogue's tables on the PostgreSQL server: the data directory's tables in
// schema "quintara", each depot's in a schema of its own ("depot_<folder>"). Every
// table keeps its name, fields (names, order), primary key and secondary indexes;
// the field types are mapped once:
//   Long bigint · Short integer · Alpha varchar(n) · Number double precision ·
//   Money quintara.betrag · Logical boolean · Date quintara.tag (day number) ·
//   Timestamp quintara.zeitpunkt (day number with fraction) · Memo text
// The three domains keep the field type that the plain server type would lose, so a
// table written back as a file gets the declared types it had. A case-insensitive
// index is an index on the same fold as in the files (store/text_fold.h) in byte
// order; an index name is unique per schema on the server, so it is stored as
// "<table>_<index>". A table that a file keeps in rowid order (every table not
// stored in key order) gets a last column "rowid" on the server: the key itself
// for the securities master, else a number counting up. It identifies a row as the
// file's rowid does and is never copied into a file.
#pragma once

#include "store/layout.h"
#include "store/server_connection.h"

#include <vector>

namespace q {

inline const QString kServerSchema = QStringLiteral("quintara");

// The schema of the depot in folder `depotDir`: "depot_" and the folder's name folded
// to lower case, every character but a-z, 0-9 and "_" replaced by "_" (umlauts by
// their base letters), at most 63 bytes.
QString depotSchemaName(const QString& depotDir);
// Removes a depot's schema with its tables (lots, value history, password), in one
// statement; a missing one is no failure. Refuses every schema not made for a depot.
Status dropDepotSchema(ServerConnection& server, const QString& schema);

// The server's column type of a field.
QString serverType(const Field& field);
// The field type of a server column: its type name (format_type) and domain.
Field fieldFromServer(const QString& name, const QString& type, bool notNull);

// The fold of the case-insensitive indexes as a server expression over `column`.
QString serverFoldExpression(const QString& column);

// Creates schema "quintara" and its domains when missing (and `schema` besides).
Status ensureServerSchema(ServerConnection& server, const QString& schema);

// CREATE TABLE and CREATE INDEX for `layout` in `schema`. With
// `autoNumberKey` the key counts up on the server (an identity column).
QStringList serverCreateStatements(const QString& schema, const Layout& layout);
QString serverIndexName(const QString& table, const QString& index);
// CREATE INDEX IF NOT EXISTS for one secondary index of `layout`.
QString serverIndexStatement(const QString& schema, const Layout& layout, const Index& index);
// Whether the files keep the layout's rows in rowid order (the server adds "rowid").
bool hasRowidOrder(const Layout& layout);
inline const QString kRowidColumn = QStringLiteral("rowid");

// The depot schemas on the server ("depot_…"), in name order.
Result<QStringList> serverDepotSchemas(ServerConnection& server);
// The tables of `schema` on the server, in name order.
Result<QStringList> serverTables(ServerConnection& server, const QString& schema);
// The columns of the table in column order, types mapped back ("rowid" left out:
// `hasRowid` tells whether it is there); NotFound naming the table when it is missing.
Result<std::vector<Field>> serverTableFields(ServerConnection& server, const QString& schema, const QString& table,
                                             bool* hasRowid = nullptr);
// The table's primary key fields in key order; empty when it has none ("rowid"
// left out).
Result<QStringList> serverPrimaryKey(ServerConnection& server, const QString& schema, const QString& table);
// The secondary index names of the table as the files name them (prefix removed).
Result<QStringList> serverIndexNames(ServerConnection& server, const QString& schema, const QString& table);
// The rows of the table.
Result<qint64> serverRowCount(ServerConnection& server, const QString& schema, const QString& table);

// Whether the server has the extension amcheck in this database (made by its
// administrator: CREATE EXTENSION amcheck).
Result<bool> serverHasAmcheck(ServerConnection& server);
// Checks the table on the server as the files' index check does: every index of
// `layout` is there (Corrupt naming the first missing one), and, where amcheck is
// installed, every B-tree index of the table agrees with itself and its rows
// (bt_index_check with heapallindexed; Corrupt with the server's finding).
Status checkServerTable(ServerConnection& server, const QString& schema, const Layout& layout, bool amcheck);

}  // namespace q
