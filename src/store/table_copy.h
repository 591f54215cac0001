// Consistent copies of table files with SQLite's online backup: a copy taken while
// another process writes holds the state of one committed moment, and putting a copy
// back replaces the live table in one step, so readers never see half of it.
#pragma once

#include "base/interaction.h"
#include "base/status.h"

namespace q {

enum class CopyJournal {
    Standalone,  // the copy is one self-contained file (a "~" safety copy)
    Shared,      // the copy is a live table, shared in WAL mode
};

// Copies the database `source` onto `target`, replacing what `target` held. When
// `target` exists but is no database (damaged), the copy is written beside it and
// renamed over it. Reports progress by pages. Fails Io or Corrupt naming the file;
// on failure `target` keeps its old content.
Status copyDatabase(const QString& source, const QString& target, CopyJournal journal, Progress* progress = nullptr);

}  // namespace q
