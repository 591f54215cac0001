// The table layer writes its statements for SQLite; this is what the PostgreSQL
// server is given instead. Parameters "?" and "?N" become "$N"; a transaction's
// BEGIN (IMMEDIATE, DEFERRED, EXCLUSIVE) becomes a SERIALIZABLE one; INSERT OR
// IGNORE becomes INSERT … ON CONFLICT DO NOTHING; NOT INDEXED is dropped and
// EXPLAIN QUERY PLAN is the server's EXPLAIN. Text in quotes is never touched.
// Statements on SQLite's own tables (sqlite_master, PRAGMA) have no translation:
// the callers that need them ask the server's catalogue instead.
#pragma once

#include <QString>

namespace q {

// The server's text of `sql`; `parameters` gets the highest parameter number.
QString serverSql(const QString& sql, int* parameters = nullptr);

}  // namespace q
