// The bookings page ("&Buchungen"): every lot of the depot in an order the user
// picks by clicking a column title, and the bookings text "Depot.txt" with the net
// money flow of all bookings.
#pragma once

#include "portfolio/lot.h"
#include "store/store.h"

namespace q {

inline const QString kBookingsText = QStringLiteral("Depot.txt");
// The page's order when it opens: purchase date, newest first.
inline const QString kBookingsOrder = QStringLiteral("Angekauft");

// The page's columns: `FirmenName` (titled "Bezeichnung"), `Anteile`, `Datum`,
// `Ankauf`, `Verkauf`, `Erloes`.
QStringList bookingsColumns();

// The index a click on the column titled `title` switches to: "I" + field
// (ascending), or "G" + field (descending) when "I" + field is `current`, so that
// clicks alternate. "Bezeichnung" stands for `FirmenName`.
QString nextSortIndex(const QString& current, const QString& title);

// Makes the sort index `name` ("IAnteile", "GDatum") in the bookings table when it
// is missing: ascending and case-insensitive for "I", descending for "G". Fails
// Invalid for a name of another form, or with the store's message.
Status ensureSortIndex(Table& lots, const QString& name);

// (Erloes − Ankauf) × Anteile over every lot, with the purchase price of special
// lots 0: an open lot counts with the money paid for it.
double bookingsSum(const std::vector<Lot>& lots);

struct BookingsText {
    QString path;
    double sum = 0;
    QString sumLine;  // "Summe: 0,00 EUR"
};

// Writes Depot.txt into `workDir` (Windows-1252, CRLF), replacing it: a header of the
// column names each followed by a tab, one line per lot in the index order `order`
// (each value followed by a tab), an empty line and the sum line. `columns` are the
// grid's fields in grid order; when they are as many as the table's fields or more,
// every field of the table is written. Fails Io naming the file, or with the store's
// message.
Result<BookingsText> writeBookingsText(Store& store, const QString& workDir, const QString& order, const QStringList& columns,
                                       const QString& homeSymbol);

}  // namespace q
