// The two text reports of the daily routine: the securities still lacking today's
// price (`Wasfehlt.txt`, "&Fehlende Kurswerte") and the price table of all groups
// over a date range (`Uebersicht.txt`, "&Kursübersicht"). Both Windows-1252 with CRLF.
#pragma once

#include "overview/fill_input.h"

#include <QDate>

namespace q {

inline const QString kMissingPricesFile = QStringLiteral("Wasfehlt.txt");
inline const QString kPriceTableFile = QStringLiteral("Uebersicht.txt");

struct MissingPrices {
    QStringList lines;    // as written
    int missing = 0;      // securities listed
    int unmappable = 0;   // characters written as "?"
};

// Writes `path` anew: for each security of `list` whose newest price is dated before
// `today`, `FirmenName` + " (" + `Kennung` + ")" + tab + date + tab + price; a
// security without any price is listed too, with both cells empty. The last line
// reads "Insgesamt fehlen heute noch " + count + " Kurse". Fails Io naming the file.
Result<MissingPrices> writeMissingPrices(Store& store, const std::vector<SecurityRecord>& list, const QDate& today,
                                         const QString& path);

struct PriceTable {
    int securities = 0;
    int dates = 0;        // columns of the header
    int unmappable = 0;
};

// Writes `path` anew: a header of three empty cells and every date from `from` to
// `to` on which any security has a price, then per group (the existing group
// numbers in the table's order, and last the securities whose group is not in the
// table) one line per security in name order: `ZDF`, `Kennung`, `FirmenName`, then
// its price of each header date, an empty cell where it has none; every cell
// followed by a tab. Fails Invalid when `to` is before `from`, Io naming the file.
Result<PriceTable> writePriceTable(Store& store, const QDate& from, const QDate& to, const QString& path);

}  // namespace q
