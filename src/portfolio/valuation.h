// The holdings valuation (`AnlagenBerechnung`): every lot open at the report date,
// valued at the newest price on or before that day, converted into the display
// currency, summed per security, per group and branch, for the depot, and split
// into the tax-free and the taxable part by the speculation rule. The result is
// data; holdings_report.h writes it as the report and value_history.h stores its
// value of the day.
//
// Design notes.
// 1. A lot counts with `Anteile` × its buy price (0 for a special lot) × fp as
//    invested and `Anteile` × last × fc as value; fp is the currency factor of its
//    purchase day, fc that of the report date (currency.h). `last` is the newest
//    price on or before the report date; a security without one is valued at 0 and
//    marked (noPrice). The cash security is worth 1 on every day.
// 2. A percentage over an invested sum of 0 is 0, as is one where value and
//    invested sum are equal.
// 3. The totals stand whenever a lot is open, whatever the summed share count (cash
//    lots are amounts of money and may be negative).
#pragma once

#include "portfolio/currency.h"
#include "portfolio/lot.h"
#include "portfolio/portfolio_settings.h"

#include <QHash>
#include <QList>
#include <vector>

namespace q {

// Invested sum, value and shares of a set of lots.
struct Sums {
    double invested = 0;
    double value = 0;
    double shares = 0;
    int lots = 0;

    void add(double inv, double val, double sh) {
        invested += inv;
        value += val;
        shares += sh;
        ++lots;
    }
    double gain() const { return value - invested; }
    // (value − invested) ÷ invested × 100; 0 when invested is 0 or equals the value.
    double percent() const;
    Sums minus(const Sums& other) const;
};

// Percentage `part` ÷ `whole` × 100, 0 when `whole` is 0.
double percentOf(double part, double whole);

struct LotValue {
    Lot lot;
    double buy = 0;  // buy price in the security's currency (0 for a special lot)
    double fp = 1;   // currency factor of the purchase day
    double fc = 1;   // currency factor of the report date
    qint64 held = 0; // days from purchase to the report date
    bool taxable = false;
    double sharesSoFar = 0;  // the security's shares up to and including this lot
};

struct SecurityValue {
    int firma = 0;
    QString name;       // `FirmenName` of the securities master
    QString kennung;
    QString waehrung;   // the security's currency
    double dividende = 0;
    int gruppe = 0;
    int branche = 0;
    double last = 0;     // newest price on or before the report date (0: none)
    QDate priceDate;     // its date; invalid when there is none
    bool noPrice = false;
    std::vector<LotValue> lots;
    Sums sums;           // in the display currency
    QDate firstDate;     // purchase date of its first open lot
    bool lastTaxable = false;  // the taxable rule applied to its last lot
};

// What the valuation needs of a security from the securities master.
struct SecurityInfo {
    bool found = false;
    QString name, kennung, waehrung;
    double dividende = 0;
    int gruppe = 0, branche = 0;
};
// The security's record; `found` false when the master lacks it. Fails with the
// store's message.
Result<SecurityInfo> readSecurityInfo(Table& firma, int number);
// The records of many securities in one query, by number; a number the master
// lacks has no entry.
Result<QHash<int, SecurityInfo>> readSecurityInfos(Table& firma, const QList<int>& numbers);

// A bar of the group or branch chart.
struct ListBar {
    int index = 0;       // `GruppenIndex`
    QString text;        // the list's name, then one line per security
    double invested = 0;
    double value = 0;
    QString label() const;  // text + round(value) + "  " + round(gain) + " " + round(pct) + "%"
};

struct ValuationOptions {
    QDate stichtag;       // the report date
    bool second = false;  // amounts in the second currency ("in DM")
};

struct Valuation {
    QDate stichtag;
    QString symbol;  // the display currency's symbol
    bool second = false;  // amounts in the second currency
    std::vector<SecurityValue> securities;  // in security number order
    Sums total;
    Sums taxable;
    Sums homeTotal;  // the total in the home currency, what the value history keeps
    Sums taxFree() const { return total.minus(taxable); }
    double dividendSum = 0;  // shares × `Dividende`, over the securities
    std::vector<ListBar> groups;    // entries of Gruppen.db with a value above 0
    std::vector<ListBar> branches;  // entries of Branchen.db likewise
    bool empty() const { return total.lots == 0; }
    // "(27% wären 78,02 EUR)": 27 % of the taxable gain, in the general number format.
    QString estimate() const;
};

// Values the depot's lots open at `options.stichtag` (design notes). Reads
// Transaktionen.db, Firma.db, Aktien.db, Gruppen.db and Branchen.db; writes
// nothing. Fails with the store's message.
Result<Valuation> AnlagenBerechnung(Store& store, CurrencyConverter& converter, const SpeculationRule& rule,
                                    const ValuationOptions& options);

}  // namespace q
