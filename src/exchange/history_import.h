// The price history of one security from a file ("Import &Wertpapiere "): a table
// file (dBASE .DBF, Paradox .DB, or SQLite .db), a comma-separated web export, or a
// text file with quoted fields. One engine: the file is read into dated rows
// (readHistory), then the rows are booked for the security (bookHistory), so the
// single-security import can feed its own rows through the same booking.
//
// Design notes. The format is the letter after the dot of the upper-cased
// extension: "D" table (".DB", ".DBF"), "C" web export, "T" text; anything else
// reads nothing. Invariants: (1) a
// day that has a price keeps it (the row is counted as already there), so a second
// run books nothing; (2) a volume of 0 is no volume and writes no row; (3) the
// prices are one transaction and the volumes another: a failure leaves either all
// or none of each; (4) rows dated before the start date are left out.
#pragma once

#include "base/interaction.h"
#include "store/store.h"

#include <QDate>
#include <optional>
#include <vector>

namespace q {

enum class HistoryFormat { None, Table, WebExport, Text };

// The format the file name's extension chooses.
HistoryFormat historyFormatOf(const QString& file);

struct HistoryRow {
    QDate datum;
    double kurs = 0;
    qint64 volumen = 0;
};

// Column positions (from 0) of date, price and volume in a web export or text file;
// -1: no such column (volume only).
struct HistoryColumns {
    int datum = 0;
    int kurs = 1;
    int volumen = 2;
    // Where a web export names its security (-1: no such column). They are shown in
    // the column window; the import books every row for the security chosen.
    int name = -1;
    int wkn = -1;
    int isin = -1;
    int ticker = -1;
};

struct HistoryOptions {
    QDate from;                              // rows before it are left out; invalid: none
    std::optional<QChar> separator;          // text files: ";" when unset; web exports: from the header
    std::optional<HistoryColumns> columns;   // unset: from the header, or date, price, volume
    bool backup = true;                      // web export: write the ".bak" copy (false: a look at the header only)
};

struct HistoryRead {
    std::vector<HistoryRow> rows;
    int skipped = 0;          // lines or records without a date or price
    QStringList header;       // web export: the header fields, entities replaced
    HistoryColumns columns;   // the positions used
    QString backup;           // web export: the ".bak" copy written
};

// Reads the file's rows. Fails NotFound or Io naming the file, Invalid "Das Format
// der Datei … ist unbekannt (erwartet .DB, .DBF, .CSV oder .TXT)" for another
// extension, Invalid "Die Tabelle … hat keine Felder Datum und Kurs" for a table
// without them, Corrupt for a damaged table file.
Result<HistoryRead> readHistory(const QString& file, const HistoryOptions& options);

struct HistoryReport {
    qint64 read = 0;       // rows read from the file
    qint64 booked = 0;     // prices written
    qint64 volumes = 0;    // volumes written
    qint64 already = 0;    // rows whose day had a price
    qint64 before = 0;     // rows dated before the start date
    qint64 skipped = 0;    // lines without a date or price
    qint64 refused = 0;    // rows whose price or day no price may have (priceRefusal()), listed
    QString refusedFile;   // where they are listed ("PExtrem.txt" in the work directory)
    QString backup;
};

// Books `rows` for `firma`: a price for each day from `from` on that has none, a
// volume other than 0 for each day that has none. A row outside the bounds of
// priceRefusal() books nothing; such rows are counted and listed with the reason in
// "PExtrem.txt" in the work directory. Fails NotFound "Wertpapier …
// nicht gefunden", or with the store's message (nothing of that table written).
Result<HistoryReport> bookHistory(Store& store, int firma, const std::vector<HistoryRow>& rows, const QDate& from, Progress& progress);

// readHistory() and bookHistory() in one.
Result<HistoryReport> importHistory(Store& store, int firma, const QString& file, const HistoryOptions& options, Progress& progress);

}  // namespace q
