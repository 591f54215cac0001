// What the program does about a damaged table file: index damage is mended by
// rebuilding the indexes, other damage by the restore from the backup, each after
// the user's yes (an unattended job: only with --yes).
#pragma once

#include "app/session.h"
#include "base/interaction.h"

namespace q {

// The answer to a damaged table file `path` (failure: what was reported): when
// every row still reads, the index question "Indexfehler: Soll Quintara versuchen
// die Indizes neu zu erstellen?" and the rebuild of the indexes; otherwise, for a
// table the backup holds, the restore of the newest good backup after its question
// (recorded in `session.restored`). Returns OK when the table was mended and the
// tables should be opened again; otherwise `failure` or what the repair reported,
// after telling the user. A failed index repair sets `session.quitRequested`.
Status recoverTable(Session& session, const QString& path, const Status& failure, bool offerRestore, Interaction& ui);

}  // namespace q
