// Income and payments booked as lots that count as realised results: a dividend (a
// lot bought at 0 and sold on the payment day at the dividend per share), the
// reinvestment of a fund distribution (a new lot whose purchase price counts as 0)
// and a payment into or out of the depot (a dividend of the pseudo-security 0,
// "Zahlungen"). Each appends one lot in one transaction.
#pragma once

#include "portfolio/lot.h"
#include "store/store.h"

#include <optional>

namespace q {

struct Dividend {
    int firma = 0;
    double anteile = 0;
    std::optional<double> proAnteil;  // dividend per share
    std::optional<double> betrag;     // or the total amount: per share = amount ÷ shares
    QDate datum;
    QString text;  // empty: "Dividende " + the security's name
};

// Appends the dividend lot (`Datum` = `Verkauf` = the payment day, `Ankauf` 0,
// `Erloes` the dividend per share). Fails Invalid for shares not above 0 (nothing
// to divide a total by), neither per-share value nor amount given, an invalid date;
// NotFound for an unknown security.
Result<Lot> bookDividend(Store& store, const Dividend& dividend);

struct Reinvestment {
    int firma = 0;
    double betrag = 0;  // the distribution reinvested
    double preis = 0;   // price per new share
    QDate datum;
    QString text;  // empty: "Ausschüttung " + the security's name
};

// Appends the reinvestment lot: betrag ÷ preis new shares at `preis`. Fails Invalid
// for an amount or price not above 0, an invalid date; NotFound for an unknown
// security.
Result<Lot> bookReinvestment(Store& store, const Reinvestment& reinvestment);

// The pseudo-security of payments.
inline constexpr int kPaymentFirma = 0;

// Appends a payment lot of the pseudo-security 0 (one share, `Erloes` the amount,
// bought and sold on the day; a negative amount is an outgoing payment), after
// adding "Zahlungen" to the securities master when it lacks number 0. Fails
// Invalid for an amount of 0 or an invalid date.
Result<Lot> bookPayment(Store& store, double betrag, const QDate& datum, const QString& text = QString());

}  // namespace q
