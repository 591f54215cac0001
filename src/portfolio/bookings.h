// Purchases and sales of the current depot: a purchase appends a lot; a sale closes
// lots, first in first out, or starting at the lot the user selected when it holds
// exactly the shares sold, and splits the last lot it consumes in part. The plans
// are pure functions over the lots; buy() and sell() write them in one transaction.
//
// Design notes (the sale walk, planSale).
// 1. With a selected lot L holding exactly the quantity q, the walk starts at L
//    (the exact-lot rule); otherwise it starts at the security's first lot.
// 2. The walk passes over sold lots and lots bought after the sale date. Each other
//    lot is sold whole, or, when it holds more than is left of q, cut to the rest:
//    the cut lot is sold and a new open lot with the remainder, the cut lot's date,
//    price and text, is appended.
// 3. More sold than held: every open lot is sold and the excess is reported; the
//    bookings stay. Nothing sellable at all: nothing is booked.
// 4. A lot whose text names another depot (a folder of the data directory holding
//    Transaktionen.db, not the current depot, and not merely the security's own
//    name) is linked: the same sale is booked there too, over its open lots of the
//    same security without the date test.
#pragma once

#include "portfolio/lot.h"
#include "store/firma_hooks.h"
#include "store/store.h"

namespace q {

struct Purchase {
    int firma = 0;
    QDate datum;
    double anteile = 0;
    double preis = 0;  // per share, costs included
    QString text;      // `FirmenName`; empty: the security's name
};

// Appends the purchase as a new lot and returns it with its id. Fails Invalid with
// "Die Anzahl der Anteile muss größer als 0 sein: …" for 0 or negative shares,
// "Der Preis darf nicht negativ sein: …", "Ungültiges Datum", NotFound for an
// unknown security; nothing is written then.
Result<Lot> buy(Store& store, const Purchase& purchase);

struct Sale {
    int firma = 0;
    double anteile = 0;
    QDate datum;
    double preis = 0;           // per share, costs deducted
    qint64 selectedLot = -1;    // the lot selected in the lot grid; -1: none
    bool assistant = false;     // the sale assistant's wording of the date message
};

struct SalePlan {
    LotChanges changes;
    double excess = 0;  // shares sold beyond those held (> 0 only with a message)
    Lot first;          // the first lot the walk consumed (L, with a selection)
};

// The sale over `lots` (the security's lots in table order). Fails Invalid, with
// nothing to book, for 0 or negative shares, a selected lot that is unknown or sold,
// "Sie können Nicht vor dem Kauf des Wertpapiere, das Wertpapier verkaufen!!"
// (assistant) or "Sie können nicht am <Kauf> kauf und schon am <Verkauf>
// verkaufen!!" when the selected lot of exactly that count was bought after the sale
// date. Shares no lot held on the sale date covers are the plan's `excess`; when no
// lot was held then (none open, or all bought later), the plan books nothing.
Result<SalePlan> planSale(const std::vector<Lot>& lots, const Sale& sale);

// "Sie haben mehr verkauft als Sie hatten!! Übrig sind noch <n> Anteile".
QString excessMessage(double excess);

struct SaleResult {
    SalePlan plan;
    QString warning;      // excessMessage() when more was sold than held
    QString linkedDepot;  // the other depot's table the sale was booked in too
};

// Plans and writes the sale (one transaction), then books it in a linked depot of
// `dataDir` (its own transaction). Failures as planSale(), or the store's message;
// a failure in the linked depot is returned after the sale in this depot stands.
Result<SaleResult> sell(Store& store, const Sale& sale);

// The linked depot of a lot: the path of Transaktionen.db in the folder of the data
// directory named `lotText`, when `lotText` differs from `securityName`, names a
// folder holding that table and that folder is not `depotDir`; empty otherwise.
QString linkedDepotTable(const QString& dataDir, const QString& depotDir, const QString& lotText, const QString& securityName);

// Opens a depot's Transaktionen.db outside the store (a linked depot), converting a
// table of an earlier release first. The caller owns the table.
Result<std::unique_ptr<Table>> openDepotTable(const QString& path);

// The lots of a lot's linked depot where the store keeps depots: the table file
// linkedDepotTable() names, or, with the tables on a server, the table
// `Transaktionen` in the schema of that folder. nullptr when the lot has no linked
// depot; `where` receives the file or the schema's table. The caller owns the table.
Result<std::unique_ptr<Table>> openLinkedDepot(const Store& store, const QString& lotText, const QString& securityName, QString* where);

// Moves every lot of `from` to the security `to` ("Depotwerte übertragen"), in one
// transaction; texts, dates and prices stay. Returns the number of lots moved.
// Fails NotFound for an unknown security, Invalid when both are the same.
Result<int> moveLots(Store& store, int from, int to);

// The shares of `firma` open at `day` (the default of the dividend dialogs).
double heldShares(const std::vector<Lot>& lots, int firma, const QDate& day);

}  // namespace q
