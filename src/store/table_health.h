// Whether a table file is whole, and the repair of damaged indexes. Two depths: the
// cheap check that every start runs on each table (its cost does not grow with the
// rows, so a start stays quick on ten million prices) and the whole-file check run
// where a file is read in full anyway: before a copy of it is kept, and when SQLite
// reports damage while reading.
#pragma once

#include "store/layout.h"
#include "base/status.h"

namespace q {

// The cheap check: the file is not empty, starts with the SQLite header, is not
// shorter than its header says (a copy cut off by a full disk), and holds the table
// `table`. Fails Corrupt naming the file: "Die Datei … ist leer", "Die Datei … ist
// keine gültige Datenbank", "Die Datei … ist unvollständig (… von … Bytes)", "Die
// Datei … enthält nicht die Tabelle …"; NotFound when the file is missing; Busy
// while another process holds it exclusively.
Status quickCheck(const QString& path, const QString& table);

// How deep the whole-file check reads.
enum class CheckDepth {
    Pages,       // every page and row of every tree (SQLite's quick check): the damage a
                 // disk or a cut-off write leaves; about a second on ten million rows
    Everything,  // and every index entry against its row (the integrity check):
                 // about ten times as long
};

// The whole file: the cheap check, SQLite's check of every page (and at depth
// Everything every index against its table), and every field of `layout` (those
// named in `mayLack` may be missing: an upgrade adds them). Fails Corrupt with
// "Indexfehler in der Datei …: …" when only an index disagrees with its table by
// SQLite's words, "Die Datenbank … ist beschädigt (…)" for other damage, or "In der
// Tabelle … fehlt das Feld …". Reads only.
Status fullCheck(const QString& path, const Layout& layout, const QStringList& mayLack = {},
                 CheckDepth depth = CheckDepth::Everything);

enum class Damage {
    None,     // the file passes the whole-file check
    Indexes,  // every row reads through the table itself: rebuilding the indexes mends it
    Table,    // rows are lost to the damage: only a copy helps
};

// What is wrong with the file, by the whole-file check and a read of every row
// without any index. Fails only when the file cannot be opened.
Result<Damage> diagnose(const QString& path, const Layout& layout);

// Mends index damage: the file's secondary indexes are taken out of its schema
// without reading their damaged pages, the file is rebuilt from its rows (VACUUM),
// and the same indexes are made anew from the rows. Each step is a transaction of
// its own; a kill between them leaves every row, and running it again finishes the
// job. Fails Corrupt when the file still fails the whole-file check afterwards (the
// damage was not only in the indexes), Busy while another process writes.
Status rebuildIndexes(const QString& path, const Layout& layout);

}  // namespace q
