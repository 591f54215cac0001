// The price history of one security read back from a file ("&Import Einzelkurs"): a
// table file (dBase, Paradox or SQLite), a text file of date, price and volume, or a
// CSV file with a header line. The rows go through the booking of the history import
// (bookHistory()): only days without a price are added, nothing is changed.
//
// Design notes. The letter after the dot of the upper-cased extension chooses the
// reader: "D" table, "C" CSV, "T" text; anything else reads nothing. Invariants:
// (1) every line is read on its own: a date read year first leaves the next line's
// date order alone, and a line without a usable date is skipped and counted, never
// stored under another line's date; (2) a volume of 0 is no volume and writes no row;
// (3) a line that names a date that does not exist (a text date of 8 to 10
// characters, a CSV date with a month between "-") or a CSV volume that is no number
// ends the import there: the rows before it are booked, the message names the line.
#pragma once

#include "exchange/history_import.h"

namespace q {

struct SecurityImportOptions {
    QDate from;                          // rows before it are left out; invalid: every row
    QChar separator = QLatin1Char(';');  // text files ("Semikolon", "Tabstop", "Komma")
    // CSV columns from 0 as the column window shows them. Unset: the preset (date 2,
    // price 4, volume 9, counted from 1) with the header's names applied.
    std::optional<HistoryColumns> columns;
};

// The CSV columns the header names: a field "Datum" or "Date" sets the date column,
// "Kurs" or "Close" the price column, "Volumen" or "Volume" the volume column (exact
// names, a later field wins); the others keep `preset`.
HistoryColumns csvColumnsOf(const QStringList& header, const HistoryColumns& preset);
// The preset of the column window: date 2, price 4, volume 9 (counted from 1).
HistoryColumns csvColumnPreset();

// The header fields of a CSV file (entities "&ouml;" and "&szlig;" replaced, quotes
// removed), for the column window. Fails NotFound or Io naming the file.
Result<QStringList> csvHeader(const QString& file);

// The preset start date of the import: the day after the security's last price;
// invalid (every row) when it has none. Fails with the store's message.
Result<QDate> importStartPreset(Store& store, int firma);

struct SecurityImportRead {
    HistoryRead read;
    Status stopped;  // the line that ended the reading (invariant 3); OK when none
};

// Reads the file's rows without booking them. Fails NotFound or Io naming the file,
// Invalid "Das Format der Datei … ist unbekannt …" for another extension (".PRN"),
// Invalid or Corrupt for a table file without `Datum` and `Kurs` or a damaged one.
Result<SecurityImportRead> readSecurityFile(const QString& file, const SecurityImportOptions& options);

// Reads the file and books its rows for `firma` (bookHistory(): a day that has a
// price keeps it). Fails as readSecurityFile() and bookHistory() do; when a line
// ends the reading (invariant 3), the rows before it are booked and its message is
// returned (Invalid, naming file and line).
Result<HistoryReport> importSecurity(Store& store, int firma, const QString& file, const SecurityImportOptions& options, Progress& progress);

}  // namespace q
