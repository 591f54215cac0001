// Opening SQLite connections, with the memory SQLite's page caches live in.
//
// A booking of a day's quotes reads and writes a page of each table for every
// security: thousands of blocks of one size (a page and its header), which the
// heap would hand out from memory the process has never touched. Each 4 KB of such
// memory costs a fault on first touch, and in a virtual machine a fault costs more
// than reading the table page itself. The blocks of page size therefore come from
// chunks of 2 MB on 2 MB boundaries, which the system may back with one large page
// each (transparent huge pages; from the second chunk of a size on); a freed block
// is kept for the next one of its size, and the chunks stay with the process.
// Every other request goes to the ordinary heap.
#pragma once

struct sqlite3;

namespace q {

// sqlite3_open_v2() of `path` (UTF-8) with `flags`; the first call of the process
// hands SQLite the memory above, unless SQLite was started by someone else first
// (then it keeps its own). Returns SQLite's result code; `db` as sqlite3_open_v2()
// leaves it (a handle to close even on failure).
int openSqlite(const char* path, sqlite3** db, int flags);

// Whether SQLite took that memory: false before the first openSqlite(), or when
// SQLite had been started elsewhere first.
bool sqliteUsesPageMemory();

}  // namespace q
