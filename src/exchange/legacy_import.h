// import-legacy: takes over the data directory of the Windows version, a folder of
// Paradox tables (Firma.DB, Aktien.DB, Volumen.DB, Transaktionen.DB, Waehrung.DB,
// Gruppen.DB, … with their .PX indexes and .MB memo files). Every table of the
// catalogue found there is read field by field and merged into the store's tables
// (see legacy_merge.h for how rows are matched). Files that are damaged, encrypted
// or no table of the catalogue are reported by name and left out.
#pragma once

#include "base/interaction.h"
#include "store/store.h"

namespace q {

// What happened to one old table.
struct LegacyTableReport {
    QString source;        // the Paradox file as found ("FIRMA.DB")
    QString target;        // our table file ("Firma.db")
    qint64 read = 0;       // records read
    qint64 added = 0;      // rows (securities) written
    qint64 existing = 0;   // rows already there, securities matched by name
    qint64 skipped = 0;    // rows left out
    QStringList notes;     // why rows or fields were left out, one line each
};

struct LegacySkippedFile {
    QString file;
    QString reason;
};

struct LegacyReport {
    QString dir;
    bool dryRun = false;
    std::vector<LegacyTableReport> tables;     // in the order they were read
    std::vector<LegacySkippedFile> skipped;    // files left out whole
};

// Fails NotFound with "Das Verzeichnis … gibt es nicht" when `dir` is no directory;
// lets a caller refuse a mistyped directory before it opens its tables.
Status checkLegacyDir(const QString& dir);

// Reads every table of the catalogue found in `dir` and counts its records, the
// rows that would be left out for a security missing from the old securities
// master, and the fields that have no place here; writes nothing (--dry-run).
// Fails NotFound with "Im Verzeichnis … gibt es keine Tabellen der Windows-Version
// (Firma.DB, Aktien.DB, …)" when there is none, or when `dir` does not exist
// ("Das Verzeichnis … gibt es nicht"); Cancelled when `progress` asks to stop.
Result<LegacyReport> readLegacy(const QString& dir, Progress& progress);

// Imports every table of the catalogue found in `dir` into the store's tables
// (making a missing table first), the securities master first. One transaction per
// table: a table is imported whole or not at all; tables imported before a failure
// stay. Fails as readLegacy, or with the store's message (Busy while another
// program writes) for the table that failed.
Result<LegacyReport> importLegacy(Store& store, const QString& dir, Progress& progress);

// The report as German lines for the user: one per table ("FIRMA.DB -> Firma.db:
// 3 gelesen, 2 neu, 1 vorhanden, 0 ausgelassen"), its notes indented below it, then
// one per file left out ("Ausgelassen: Analyse.DB: Die Datei … ist verschlüsselt").
QStringList describeLegacyReport(const LegacyReport& report);

}  // namespace q
