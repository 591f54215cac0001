// Creating a table from its layout, reading back what a file holds (fields, index
// names), and adding or rebuilding indexes. Each operation that writes runs in one
// transaction of its own unless it says it runs inside the caller's.
#pragma once

#include "store/database.h"
#include "store/layout.h"

#include <vector>

namespace q {

// The CREATE TABLE and CREATE INDEX statements for a layout.
QStringList createStatements(const Layout& layout);
// CREATE INDEX for one secondary index of `layout` ("IF NOT EXISTS").
QString createIndexStatement(const Layout& layout, const Index& index);
// CREATE INDEX for the index of a non-unique primary order (Layout::keyIndexName).
QString keyIndexStatement(const Layout& layout);

// Creates the table with its indexes and seed rows when the file holds no table
// yet; `created` tells whether it did. An existing table of that name is left as
// it is. One transaction: a second process creating the same table at the same
// moment waits and then finds it made. Fails Corrupt when the file holds other
// tables but not this one, or is not a database.
Status ensureTable(Database& db, const Layout& layout, const std::vector<Row>& seed, bool* created);
// Replaces the table (dropping one of that name) with a new one and its seed rows,
// in one transaction.
Status recreateTable(Database& db, const Layout& layout, const std::vector<Row>& seed);
// Creates table, indexes and seed rows inside the caller's transaction.
Status createTableIn(Database& db, const Layout& layout, const std::vector<Row>& seed);

// The fields the file's table has, in file order, with the types the declared SQL
// types map back to. NotFound when the table is missing.
Result<std::vector<Field>> tableFields(Database& db, const QString& table);
bool hasField(const std::vector<Field>& fields, const QString& name);
// The fields of the table's primary key in key order; empty when it has none.
Result<QStringList> primaryKeyFields(Database& db, const QString& table);

// The index names of the table: the primary key's logical name (when the table has
// a primary key and `layout` names one) first, then the secondary indexes.
Result<QStringList> indexNames(Database& db, const Layout& layout);

// Checks the file against the layout: every field present. Corrupt with a message
// naming the file and the first missing field otherwise. Fields in `mayLack` may be
// missing (an upgrade adds them).
Status checkFields(Database& db, const Layout& layout, const QStringList& mayLack = {});

}  // namespace q
