// The realised gains ("&Verkauft", gewinn.rtf): every lot of the depot sold within a
// period, per security, with purchase and sale sums in the display currency, the
// holding time and the split into tax-free and taxable gains. The result is data;
// gains_report.h writes it as the report, and the return planner takes the totals.
//
// Design notes.
// 1. A lot is in the period when from ≤ `Verkauf` ≤ to, both days included; open
//    lots belong to no period. Lots are taken in the table's key order (security,
//    purchase date).
// 2. Per lot: invested = buy × fb × shares, proceeds = `Erloes` × fs × shares, with
//    buy 0 for a special lot (distribution, depot fee); fb is the currency factor of
//    the purchase day, fs that of the sale day, both from the one converter
//    (currency.h), so a gain shows in the home or the second currency as every other
//    amount does.
// 3. held = `Verkauf` − `Datum` in days; the lot is taxable by the speculation rule
//    with that holding time.
// 4. A lot whose security is no longer in the securities master is still counted,
//    under its booking text; where that is empty, the user is asked once for a name
//    ("Geben Sie den Namen des Wertpapiers ein!!"), which is stored in the lot.
// 5. A percentage whose purchase sum is 0 is 0.
#pragma once

#include "base/interaction.h"
#include "portfolio/valuation.h"

namespace q {

// A period of sale dates, both days included.
struct GainsPeriod {
    QDate from;
    QDate to;
    // 1 January to 31 December of `year` ("JAHR").
    static GainsPeriod year(int year);
    // 1 January 1900 to 1 January 3000 ("ALLES").
    static GainsPeriod all();
    bool contains(const QDate& day) const { return day.isValid() && day >= from && day <= to; }
};

struct SoldLot {
    Lot lot;
    double buy = 0;  // buy price in the security's currency (0 for a special lot)
    double fb = 1;   // currency factor of the purchase day
    double fs = 1;   // currency factor of the sale day
    qint64 held = 0; // days from purchase to sale
    bool taxable = false;
    double sharesSoFar = 0;  // the security's shares up to and including this lot
};

struct SoldSecurity {
    int firma = 0;
    bool found = false;  // the securities master has it
    QString name;        // `FirmenName` of the master, else the lot's booking text
    QString kennung;
    QString waehrung;
    std::vector<SoldLot> lots;
    Sums sums;           // invested and proceeds (as value) in the display currency
    QDate firstDate;     // purchase date of its first lot in the period
    QDate lastSale;      // sale date of its last lot
};

struct GainsOptions {
    GainsPeriod period;
    bool second = false;  // amounts in the second currency ("in DM")
};

struct Gains {
    GainsPeriod period;
    QString symbol;       // the display currency's symbol
    bool second = false;
    std::vector<SoldSecurity> securities;
    Sums total;           // value = proceeds
    Sums taxable;
    Sums taxFree() const { return total.minus(taxable); }
    bool empty() const { return total.lots == 0; }
    double proceeds() const { return total.value; }
    double invested() const { return total.invested; }
    // 27 % of the taxable gain, rounded to the cent.
    double estimateAmount() const;
    // "(27% wären 52,01 EUR)", in the general number format; "EUR" whatever the
    // display currency.
    QString estimate() const;
};

// The lots sold within `options.period` (design notes). Reads Transaktionen.db,
// Firma.db and the rates; writes only a name the user gave for a lot of a deleted
// security. Fails with the store's message.
Result<Gains> Gewinnberechnung(Store& store, CurrencyConverter& converter, const SpeculationRule& rule,
                               const GainsOptions& options, Interaction& ui);

}  // namespace q
