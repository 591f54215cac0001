// The sets of safety copies in the backup directory: the newest copies under the
// tables' names with "~" appended ("aktuell"), and the dated generations kept in
// folders beside them ("Sicherung_2026-12-04_17-30-05"), each a whole backup of one
// moment, so that one bad day cannot spoil every good copy.
//
// Design notes.
// 1. A generation folder is made only after every copy of its backup passed its
//    check; it is built under a name ending in ".neu" and renamed when complete, so
//    a listed generation is always whole.
// 2. A generation holds hard links to the newest copies where the file system
//    allows (no second copy on disk), plain copies elsewhere. No copy is ever
//    written in place: a new copy is renamed over the old name, which leaves the
//    generation's link to the old file untouched.
// 3. "aktuell" is listed only while it differs from the newest generation (copies
//    made by an earlier release, or a backup that stopped half way).
#pragma once

#include "app/directories.h"
#include "base/status.h"

#include <QDateTime>
#include <QStringList>
#include <vector>

namespace q {

// The name of the set of copies under the tables' own names.
inline const QString kNewestSet = QStringLiteral("aktuell");

struct SafetyCopy {
    QString table;    // the table file it copies ("Aktien.db")
    QString path;     // the copy
    QDateTime date;   // when it was made
    qint64 rows = -1; // rows of its table; -1 when not counted or unreadable
};

struct BackupSet {
    QString name;    // kNewestSet or the generation's folder name
    QString dir;     // the directory holding the copies, ending with "/"
    QDateTime date;  // when the set was made (its securities master's copy)
    std::vector<SafetyCopy> copies;  // in backup order
    const SafetyCopy* copyOf(const QString& table) const;
};

// The sets in `dirs.backup`, newest first (the depot's copies belong to
// "aktuell" too); a set without a copy of the securities master is left out, as it
// cannot be restored. With `countRows`, each copy's rows are counted (a copy that
// cannot be read keeps -1). Reads only.
std::vector<BackupSet> Sicherungen(const Directories& dirs, bool countRows);

// The set named `name` (letter case ignored). NotFound "Es gibt keine Sicherung
// »…«" listing the names there are.
Result<BackupSet> findSet(const std::vector<BackupSet>& sets, const QString& name);

// Checks every copy of the set that a restore puts back (every page, table and
// fields; an earlier release's copy may lack the fields the structure upgrade adds).
// Fails Corrupt "Die Sicherungskopie … ist unbrauchbar: …" naming the first bad copy.
Status checkSet(const BackupSet& set);

// Makes the generation of a backup that just completed: a folder in the backup
// directory named after `when`, holding `copies` (paths of the new copies). Then
// removes the oldest generations beyond `keep`, and any folder a stopped backup
// left half made. `keep` 0: no generations. Returns the folder's name (empty with
// `keep` 0). Fails Io naming the folder; the copies stay either way.
Result<QString> makeGeneration(const Directories& dirs, const QStringList& copies, const QDateTime& when, int keep);

// "04.12.2026 17:30" for the listing and the restore's report.
QString formatCopyDate(const QDateTime& date);

}  // namespace q
