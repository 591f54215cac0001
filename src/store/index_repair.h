// The index test and repair of the main tables (checkindex) and the index reset of
// the start-up's error recovery.
#pragma once

#include "store/store.h"

namespace q {

struct IndexCheckEntry {
    QString file;        // as found on disk
    QStringList before;  // index names found
    QStringList after;   // index names after the repair
    bool rebuilt = false;
};

// Tests and repairs, in this order: the securities master (fewer than 7 index
// names: all nine indexes are made anew; 7 or 8, as older layouts have, are left
// alone), the daily prices, the volumes, the news and the depot's transactions (each
// missing index is made). Tables whose file is missing are passed over. Closes the
// store's tables first. On a failed rebuild fails with the message naming the table,
// e.g. "Fehler beim anlegen der Indizes für die Datei "Firma.db". Möglicherweise greift
// ein anderes Programm darauf zu!"; what was already repaired stays.
Result<std::vector<IndexCheckEntry>> checkindex(Store& store);

// Drops the secondary indexes of the securities master, the daily prices and the
// volumes, so that checkindex makes them anew (the start-up's answer to an index
// error). One transaction per file.
Status dropMainIndexes(Store& store);

}  // namespace q
