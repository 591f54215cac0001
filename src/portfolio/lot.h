// The lot: one row of `Transaktionen`, the unit every portfolio calculation works
// on. Reading lots from the table, writing them back, and the rules that hold for
// any lot: when it is open, when it counts without purchase price, and how share
// counts are compared.
//
// Design notes.
// 1. A lot is `Anteile` shares of `Firma` bought on `Datum` at `Ankauf` per share.
//    A sale never makes a row of its own: it writes `Verkauf` (sale date) and
//    `Erloes` (sale price per share) into the lots it consumes.
// 2. Each row has its own identity (the rowid, Lot::id): two equal purchases on one
//    day are two lots. Writes find a lot by that identity, never by its values.
// 3. Share counts are doubles. They are compared with a tolerance (sharesEqual,
//    isZeroShares), so that a sale of 0.3 + 0.3 + 0.4 shares never leaves a lot of
//    1e-16 shares behind.
// 4. Optional fields may be NULL in a table another program wrote: an empty
//    `Verkauf` means open, an empty number counts as 0, an empty text as "".
#pragma once

#include "store/store.h"

#include <QDate>
#include <functional>
#include <vector>

namespace q {

inline const QString kLots = QStringLiteral("Transaktionen.db");
// The order of the table's named index: by security, then purchase date.
inline const QString kLotOrder = QStringLiteral("Transaktionen");

struct Lot {
    qint64 id = -1;  // the row's identity; -1 for a lot not written yet
    int Firma = 0;
    QDate Datum;     // purchase date
    double Anteile = 0;
    double Ankauf = 0;   // purchase price per share
    QDate Verkauf;   // sale date; invalid while the lot is open
    double Erloes = 0;   // sale price per share
    QString FirmenName;  // the security's name at booking time, or a booking text

    bool isSold() const { return Verkauf.isValid(); }
    // Open at `day`: a security (`Firma` > 0) bought on or before the day and not
    // sold by then.
    bool isOpenAt(const QDate& day) const;
    // A reinvested distribution ("schüttung") or a depot fee paid in shares
    // ("epotgebühr"): counts with purchase price 0 in every sum.
    bool isSpecial() const;
    // The purchase price every sum uses: 0 for a special lot.
    double buyPrice() const { return isSpecial() ? 0.0 : Ankauf; }
};

// Two share counts that differ by less than rounding noise are equal.
bool sharesEqual(double a, double b);
bool isZeroShares(double a);
// OK for a share count above 0; Invalid "Die Anzahl der Anteile muss größer als 0
// sein: <n>" otherwise (0, negative, or rounding noise).
Status checkShares(double anteile);
// OK for a valid date; Invalid "Ungültiges Datum" otherwise.
Status checkDate(const QDate& day);

// The lot of a table row; NULLs read as 0 and "" (a date 0 or NULL as no date).
Lot lotFromRecord(const Record& record);
// The row for the lot in `table`'s layout (an open lot has `Verkauf` and `Erloes`
// empty); the rowid is the lot's id.
Record recordOfLot(const Table& table, const Lot& lot);

// The lots `query` finds. Fails with the store's message.
Result<std::vector<Lot>> readLots(Table& table, const Query& query);
// The lots of one security in the table's order (purchase date, then as written).
Result<std::vector<Lot>> lotsOf(Table& table, int firma);

// A `FirmenName` text cut to the field's 30 characters.
QString lotText(const QString& text);

// Lots to write together: rows changed, rows appended and rows removed, applied by
// writeLots() in one transaction.
struct LotChanges {
    std::vector<std::pair<Lot, Lot>> updates;  // before (as read), after
    std::vector<Lot> appends;
    std::vector<Lot> removals;
    bool empty() const { return updates.empty() && appends.empty() && removals.empty(); }
};

// Appends one lot (its text cut to 30 characters) in a transaction of its own and
// returns it with its id. Fails with the store's message.
Result<Lot> appendLot(Store& store, Lot lot);

// Writes the changes in one transaction of their own: on failure nothing is
// written. Returns the ids of the appended lots in order. Fails with the store's
// message (Invalid naming the field for a text too long), or Busy "Die Posten von …
// wurden inzwischen von einem anderen Programm geändert" when a row to change or
// remove is no longer as it was read: the caller reads and plans again.
Result<std::vector<qint64>> writeLots(Table& table, const LotChanges& changes);

// Reads the lots of `firma`, lets `plan` make the changes from them and writes them
// (writeLots). When another program changed those lots meanwhile (Busy), they are
// read and planned again, a few times, before the Busy message is the answer. A
// failing `plan` ends it with its message. Returns the ids of the appended lots.
using LotPlanner = std::function<Result<LotChanges>(const std::vector<Lot>& lots)>;
Result<std::vector<qint64>> planAndWriteLots(Table& table, int firma, const LotPlanner& plan);

}  // namespace q
