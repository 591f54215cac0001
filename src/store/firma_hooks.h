// The record rules of the securities master and the price table: a new security's
// number and defaults, the match texts filled on every post, the deletion of a
// security with its prices, volumes and bookings, and the date a new price row gets.
#pragma once

#include "store/store.h"

#include <QDate>

namespace q {

// A new securities-master record with the defaults of a new security: `Aktiv`
// true, `Gruppe`, `Branche`, `Merkmal` 0, `Waehrung` the home currency symbol,
// both limits 0. `Firma` stays empty: append() hands out the number.
Record newSecurityRecord(const Table& firma, const QString& homeCurrency);

// Fills each empty station match text (`ZDF`, `N-TV`, `SF1`, `Sender4`) with the
// first 12 characters of `Kennung`, or of `FirmenName` when `Kennung` is empty.
void fillMatchTexts(Record& record);

// Appends a security and returns its number: one more than the highest number ever
// handed out, so a deleted security's number (whose intraday prices, watch-list
// entries and news stay behind) never passes to another security. Match texts are
// filled first. Fails Invalid with the field's message.
Result<int> appendSecurity(Table& firma, Record record);
// Saves an edited security (match texts filled first).
Status postSecurity(Table& firma, const Record& before, Record after);

// Deletes the security with its daily prices, volumes and the current depot's
// bookings (those first, the security last, so an interrupted delete can simply be
// repeated). Its intraday prices, watch-list entries and news stay.
Status deleteSecurity(Store& store, int firma);

// The security a user names on the command line or in a dialog: its number, or its
// name (`FirmenName`) exactly; failing that, the one name equal to it with letter case
// and umlauts folded. Fails NotFound with "Wertpapier "…" nicht gefunden" and Invalid
// with "Der Name "…" passt auf mehrere Wertpapiere (…)" naming their numbers.
Result<int> findSecurity(Table& firma, const QString& text);

// The security's `FirmenName`. Fails NotFound "Wertpapier "<n>" nicht gefunden".
Result<QString> securityName(Store& store, int firma);

// The date of a new price or volume row of `firma`: the day after its last price,
// the Monday after when that was a Friday; with no price yet, counted from today.
Result<QDate> nextPriceDate(Table& aktien, int firma);

}  // namespace q

namespace q {

// The highest security number ever handed out by the securities master at `path`
// (0 when unknown or unreadable).
qint64 numberCounter(const QString& path);
// The same for the open securities master, in its file or on the server (where the
// key's sequence keeps the counter).
qint64 numberCounter(Table& firma);
// Raises that counter to at least `counter` (used after a restore from an older copy).
Status raiseNumberCounter(const QString& path, qint64 counter);

}  // namespace q
