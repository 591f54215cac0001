// Copies of table files. A safety copy holds the table as it stood at one committed
// moment, however busy other writers are, and is written beside its target,
// checked, and only then renamed into place: a full disk or a kill never leaves a
// half copy under the copy's name. Putting a copy back replaces the live table in
// one transaction, so readers never see half of it and a kill leaves the old table.
#pragma once

#include "base/interaction.h"
#include "base/status.h"
#include "store/layout.h"

namespace q {

// Copies the table file `source` to `target` (a standalone file in rollback-journal
// mode) from one read snapshot of the source: a writer committing meanwhile neither
// restarts nor prolongs the copy. The copy is written to `target` + ".neu", must
// pass the whole-file check of every page against `layout` (fields in `mayLack` may
// be missing),
// is flushed and renamed over `target`. Reports progress by pages and stops on
// `progress->cancelRequested()` (Cancelled). Fails with the check's message when the
// source is damaged, Io naming the file when the disk is full or not writable;
// `target` keeps its old content on every failure.
Status makeSafetyCopy(const QString& source, const QString& target, const Layout& layout, const QStringList& mayLack,
                      Progress* progress = nullptr);

// Puts the copy `copy` back as the live table `live`, replacing its content in one
// transaction of the live file (which other processes may hold open). A live file
// that is no database at all (damaged beyond opening) is replaced by a new file
// built beside it. The live file keeps the journal mode its directory calls for.
// Fails Io or Corrupt naming the file, Busy while another process writes; `live`
// keeps its old content then.
Status putCopyBack(const QString& copy, const QString& live, Progress* progress = nullptr);

}  // namespace q
