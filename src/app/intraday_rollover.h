// The intraday day roll-over ("/N"): the day's intraday prices move into the
// intraday directory's archive tables, one per day ("02.12.2026.DB"), and
// `Intraday.db` starts the new day empty.
#pragma once

#include "app/directories.h"
#include "store/store.h"

namespace q {

struct RolloverReport {
    QStringList archives;  // archive files written to
    qint64 rows = 0;       // intraday rows archived
};

// Archives every row of `Intraday.db` into the archive table of its day (created
// when missing; a row already archived is kept once), then empties `Intraday.db`,
// or creates it when missing. Rows leave `Intraday.db` only after their archive is
// committed: when archiving fails, nothing is deleted and the failure is returned
// (Io naming the archive file). Closes the store's intraday table first.
Result<RolloverReport> intradayRollover(const Directories& dirs, Store& store);

}  // namespace q
