// The journal of a restore: which copies go back over which tables. A restore puts
// several table files back one after the other; a restore killed half-way would
// leave the securities of one day beside the prices of another. The journal is
// written before the first table is touched and removed after the last, so the
// next start that finds it knows the set is mixed and puts the rest back.
//
// Design notes. Putting a copy back is idempotent (the live file gets the copy's
// content whole), so finishing means putting every listed copy back again, in the
// order listed. Invariant: while the journal exists, the data directory's tables
// are treated as one unfinished restore; nothing else removes it.
#pragma once

#include "base/status.h"

#include <QString>
#include <vector>

namespace q {

inline const QString kRestoreJournal = QStringLiteral("Wiederherstellung.journal");

struct RestoreStep {
    QString copy;        // the safety copy
    QString live;        // the table file it replaces
    qint64 counter = 0;  // Firma.db: the number counter to keep (0: none)
};

// Writes the journal into `dataDir` (UTF-8, one step a line, made durable before it
// returns). Fails Io naming the file.
Status writeRestoreJournal(const QString& dataDir, const std::vector<RestoreStep>& steps);
// The steps of the journal in `dataDir`; empty when there is none. Fails Corrupt
// naming the file when it cannot be read as a journal.
Result<std::vector<RestoreStep>> readRestoreJournal(const QString& dataDir);
// Removes the journal; the restore is complete.
Status removeRestoreJournal(const QString& dataDir);

// Puts back every step of `steps` (putCopyBack(), then the number counter). Fails
// with the first failure; `done` (when given) tells how many steps were complete.
Status runRestoreSteps(const std::vector<RestoreStep>& steps, size_t* done = nullptr);

// The start's part: finishes a restore a journal in `dataDir` tells of, and
// removes the journal. Returns whether there was one. Fails NotFound "Die
// unterbrochene Wiederherstellung kann nicht abgeschlossen werden: …" when a copy
// is gone, or with the copy's failure.
Result<bool> finishRestore(const QString& dataDir);

}  // namespace q
