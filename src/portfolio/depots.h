// Depots: a depot is a directory holding the lots `Transaktionen.db`, the value
// history `Anlagen.DB` and the planner's `Depot.ini`. Its name is the directory's
// last component; further depots are usually folders of the data directory. This
// file holds the rules that need no session: the list of recent depots, where a
// name or a picked file puts a depot, deleting a depot's files, and importing the
// lots of another depot as linked lots. Switching the session's depot is
// app/depot_switch.h.
#pragma once

#include "store/store.h"

#include <QStringList>

namespace q {

inline constexpr int kRecentDepots = 10;

// Two directory texts name the same directory (canonical paths; a directory that
// does not exist yet compares by its cleaned absolute path).
bool sameDirectory(const QString& a, const QString& b);

// The recent list after using `dir`: appended at the end when not yet there, the
// oldest dropped when the list already holds ten.
QStringList withRecentDepot(QStringList recent, const QString& dir);
// The recent list without `dir`.
QStringList withoutRecentDepot(QStringList recent, const QString& dir);

// The directory a depot name or path gives: a name without "/" is a folder of the
// data directory; a name with "/" is taken as a path (relative ones against the
// data directory). The result ends with "/". Invalid "Fehler in Verzeichnisname" for
// an empty name or a path without a directory part.
Result<QString> depotDirFor(const QString& dataDir, const QString& nameOrPath);
// The directory of a chooser's answer: a picked `…/Transaktionen.db` (any case)
// stands for its folder; anything else is the directory itself. Ends with "/".
QString depotDirOfChoice(const QString& chosen);
// The depot's name: the last component of its directory.
QString depotName(const QString& depotDir);

// Deletes the depot's files in `dir`, each when present: the lots, the value history
// and Depot.ini with SQLite's `-wal`/`-shm` beside them and the copies and files of
// the Windows version; then removes the directory when it is empty. Fails Io naming
// a file that cannot be deleted (the files before it are gone).
Status deleteDepotFiles(const QString& dir);

struct DepotImport {
    QString depot;       // the source depot's name
    int added = 0;       // lots appended
    int linked = 0;      // of them: lots of a known security, now linked to the source depot
    int duplicates = 0;  // lots equal in every field to one already here (skipped)
    int refused = 0;     // lots the table refused
};

// Imports every lot of the depot table `sourceFile` into the store's depot, in one
// transaction: a lot whose booking text is the name of a known security gets that
// security's number and, as its text, the source depot's name (a linked lot);
// others keep number and text. `Verkauf` and `Erloes` are copied only when above 0.
// A lot equal in every field to one already here is skipped, so a second import
// adds nothing. Fails Invalid "Das Depot kann nicht in sich selbst eingelesen werden"
// for the store's own depot table, NotFound for a missing file, or with the store's
// message.
Result<DepotImport> importDepot(Store& store, const QString& sourceFile);

}  // namespace q
