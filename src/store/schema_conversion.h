// Converts table files written by earlier releases to the open form every SQLite
// tool can use: the case-insensitive indexes of those releases were built on the
// program's own collation QNOCASE, which no other tool has (any insert, VACUUM,
// integrity check or reloaded dump failed there), and a key field could be NULL
// where the catalogue makes it the key (`Waehrung.Symbol`); the bookings
// (`Transaktionen`) had a unique key over all their fields, where each row now
// stands on its own. Each file is converted in one transaction of its own; a file
// that cannot be converted keeps its old form whole, with every row.
#pragma once

#include "store/store.h"

struct sqlite3;

namespace q {

// Registers the earlier releases' collation QNOCASE on a connection, so that it can
// read, check and drop the indexes built on it.
void registerLegacyCollation(sqlite3* db);

// Converts the table file at `path` (holding the table `layout.table`) when it needs
// it: the indexes on the old collation are made anew on the fold expression (the
// rows stay untouched), and a table whose key field allows NULL, or whose key is not
// the catalogue's, is rebuilt with the catalogue's key (a blank empty key written as
// ""), every row copied. `converted` tells whether anything changed. Fails with the
// store's message (Busy while another program writes); Invalid naming the file when
// a row would not fit the new key (a blank key beside an empty one): the file is
// then left as it was.
Status convertTableFile(const QString& path, const Layout& layout, bool* converted = nullptr);

struct ConversionReport {
    QStringList converted;  // paths of the files converted
    QStringList failures;   // the message of each file that kept its old form
};

// Converts every catalogued table file present in the store's directories. Closes
// the store's tables first. A file that fails is reported and the others go on.
ConversionReport convertOldTables(Store& store);

}  // namespace q
