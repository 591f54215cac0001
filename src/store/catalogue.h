// The table catalogue: every table's file name, directory, layout and seed rows.
// File names, field names and orders, types, sizes and index names are shared with
// companion programs and hold exactly as written here.
#pragma once

#include "store/layout.h"

#include <vector>

namespace q {

// Which layout a table file has.
enum class TableKind {
    Firma, Aktien, Volumen, Intraday, Waehrung, Gruppen, Branchen, Merkmal,
    Watch, Nachrichten, Transaktionen, Anlagen, Analyse, Seiten
};

enum class DirKind { Data, Depot, Work, Install };

struct CatalogueEntry {
    QString file;  // spelling used when the file is created
    DirKind dir;
    TableKind kind;
};

// Every table file the program creates, in catalogue order.
const std::vector<CatalogueEntry>& catalogue();
// The entry for a file name (case-insensitive); nullptr when it is not catalogued.
const CatalogueEntry* catalogueEntry(const QString& file);

// The layout of `kind`, for the table named `table` (the file's stem: "Watch2",
// "Firmaup"). The primary key of a watch list is named "Watch" in every list.
Layout layoutFor(TableKind kind, const QString& table);
// The layout of a catalogued file ("Firma.db" -> Firma layout, table "Firma").
Layout layoutForFile(const QString& file);
// A file's table name: its stem ("Anlagen.DB" -> "Anlagen").
QString tableNameOf(const QString& file);

// The archive file of a day's intraday prices in the intraday directory: "dd.mm.yyyy.DB".
QString intradayArchiveName(const QDate& day);

// The seed rows written when `file` is created. Gruppen.db takes the lines of
// Gruppen.txt in `dataDir` (numbered 0, 1, 2, …) when that file exists.
std::vector<Row> seedRows(TableKind kind, const QString& file, const QString& dataDir);

// The order in which start-up creates the missing tables of the data and depot
// directories (Nachrichten.db is created separately, before these).
QStringList startupTableOrder();

}  // namespace q
