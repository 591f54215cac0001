// The cash balance beside the securities: a security named "Bargeldbestand" whose
// price is always 1 and whose lots are amounts of money. Deposits and withdrawals
// are lots named "Bargeldbestand" that the user books by hand; every other cash lot
// is made by the rebuild from the depot's purchases and sales.
//
// Design notes (planCashRebuild).
// 1. Each lot of another security gives, in table order: a purchase entry
//    −(price × shares), `Ankauf` 1, "AK .. " + text, on the purchase day; for a
//    savings plan ("Sparplan" or "SP .." in the text) an entry +(price × shares),
//    "EZ .. " + text, always a lot of its own; for a sold lot a cost return
//    +(price × shares), `Ankauf` 1, "VK .. " + text, and the result
//    (sale − purchase price) × shares, `Ankauf` 0, "Gewinn .. " or "Verlust .. " +
//    text, on the sale day. Special lots count with purchase price 0, so a
//    reinvested distribution moves no money until it is sold.
// 2. A purchase or cost return joins the first generated lot of its day with
//    `Ankauf` 1 ("AK .. Zusammengefasst" / "VK .. Zusammengefasst"), a result the
//    first one with `Ankauf` 0 ("Erlöse .. Zusammengefasst"). Lots named
//    "Bargeldbestand" are never joined: the next rebuild would delete them.
// 3. The rebuild replaces every generated lot in one transaction, so running it
//    twice gives the same lots, and a failure leaves the old ones.
#pragma once

#include "base/interaction.h"
#include "portfolio/lot.h"
#include "store/store.h"

namespace q {

inline const QString kCashName = QStringLiteral("Bargeldbestand");

// The cash security: its price is 1 on every day.
bool isCashSecurity(const QString& firmenName);

// The changes of a rebuild over every lot of the depot (table order): the
// generated lots of `cash` removed, the new ones appended (design notes 1 and 2).
LotChanges planCashRebuild(const std::vector<Lot>& lots, int cash);

struct CashRebuild {
    int cash = 0;         // the cash security's number
    bool created = false; // it was added to the securities master
    int prices = 0;       // price rows of 1 appended
    int removed = 0;
    int appended = 0;
    double balance = 0;   // the sum of every cash lot after the rebuild
};

// "&Bargeldbestand berechnen": asks "Soll der Barbestand neu Berechnet werden? …"
// (title "Neu Berechnen !!!"); on yes makes the security "Bargeldbestand" when it is
// missing, appends price rows of 1 up to today (one transaction) and replaces the
// generated cash lots (one transaction). Fails Cancelled on no, or with the store's
// message.
Result<CashRebuild> rebuildCash(Store& store, Interaction& ui, const QString& homeSymbol);

}  // namespace q
