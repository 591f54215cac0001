// The data directory command: moves the run to another data directory, keeps the
// list of recently used ones, and prepares the new directory's tables.
#pragma once

#include "app/session.h"
#include "base/interaction.h"

namespace q {

// The recently used data directories (`Datenpath0` … `Datenpath4`), oldest first,
// as stored; absent and empty values are passed over.
QStringList recentDataDirectories(const SettingsStore& settings);

// Makes `newDir` the data directory of `session` (the command "Daten-Verzeichnis"):
//  1. adds it to the recent list when not yet there (dropping the oldest entry when
//     the list holds five) and writes the list as `Datenpath0` …;
//  2. closes every table;
//  3. tells "Kann Firma.db nicht finden" / "Kann Aktien.db nicht finden" through `ui`
//     when those are missing, and goes on;
//  4. creates the missing Volumen.db, Intraday.db, Waehrung.db, Watch.db … Watch4.db,
//     Gruppen.db and Branchen.db there;
//  5. removes stale lock files, writes `Datenpath` and saves the settings file;
//  6. converts tables of earlier releases (convertOldTables; a file that cannot be
//     converted is told) and runs the index repair (checkindex).
// The depot directory follows as the start-up resolves it (`Depotpath`, else the
// data directory), and the caption with it. The caller reopens its views.
// Fails Io when the directory cannot be made or the settings file not written, or
// with the store's message for a table that cannot be created or repaired; the
// settings written up to then stay (the next start finds the same directory).
// Holds the new directory's lock alone while it works there (Busy when another
// job keeps it longer than the lock's wait), then the session's shared lock.
Status changeDataDirectory(Session& session, const QString& newDir, Interaction& ui);

}  // namespace q
