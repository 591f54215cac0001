// The settings the portfolio works with, taken from the settings in effect when a
// calculation starts (app/portfolio_binding.h fills them): currencies, the
// speculation period and the fee rates of the booking assistants.
#pragma once

#include <QDate>
#include <QString>

namespace q {

// The holding period of the taxable-gain rule. A lot bought before `ab` is taxable
// while held fewer than `tage` days; one bought on or after `ab` while held fewer than
// `tageNeu` days. A period of 0 means always taxable; the comparison is strict, so a
// lot held exactly `tage` days is tax-free.
struct SpeculationRule {
    int tage = 365;                   // `Spekulation`
    int tageNeu = 0;                  // `Spekulation_neu`
    QDate ab = QDate(2009, 1, 1);     // `Spekulation_ab`

    bool isTaxable(const QDate& bought, qint64 heldDays) const;
};

// The fee rates of the purchase and sale assistants.
struct FeeRates {
    double bank = 1.0;            // `Bank`: bank commission in percent of the gross value
    double makler = 0.4;          // `Makler`: broker's fee in per mille
    double clearing = 2.8121053;  // `Clearing`: fixed exchange fee in the home currency
};

struct PortfolioSettings {
    QString homeSymbol = QStringLiteral("EUR");  // `WaehrungsSymbol`
    QString secondSymbol;                         // `Waehrung`; empty: no second currency
    // The rate of the second currency in use: home amount × rate = second amount.
    // The setting `Wechselkurs`, or the newest price of the security that quotes it
    // (the factor refresh); 1 when neither is known.
    double wechselkurs = 1.0;
    int decimals = 2;  // `DezimalStellen`
    SpeculationRule rule;
    FeeRates fees;
};

}  // namespace q
