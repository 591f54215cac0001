// Keeping the currency table: the records the currency dialog lists, adds and
// deletes, the refresh of the stored factors from the securities that quote the
// rates, and the record of the second currency the regional settings keep.
#pragma once

#include "portfolio/currency.h"

namespace q {

// Adds a currency record. Fails Invalid naming the value: a symbol longer than 5
// characters, an empty name or one longer than 40, a factor or unit not above 0, a
// symbol the table has already ("Die Währung … gibt es schon").
Status addCurrency(Store& store, const CurrencyRecord& record);

// Deletes the record of `symbol` and returns it (the dialog copies it into its
// fields). Fails NotFound "Die Währung … gibt es nicht".
Result<CurrencyRecord> deleteCurrency(Store& store, const QString& symbol);

struct FactorChange {
    QString symbol;
    double before = 0;
    double after = 0;
};

// The factor refresh: each currency whose `Name` is a security's name takes that
// security's newest price as `Faktor` (one transaction); a security without a price
// leaves the factor alone. When the second currency is among them, `settings`'s
// rate in use becomes that price (the setting `Wechselkurs` is not rewritten).
// Returns the factors changed. Fails with the store's message.
Result<std::vector<FactorChange>> refreshFactors(Store& store, PortfolioSettings& settings);

// Writes the second currency's record (`Name` home + ">>" + second, `Faktor` the
// rate, `Multiplikator` true, `Einheit` 1), replacing the record of `oldSymbol` when
// that was the second currency before; one transaction. Nothing is written for an
// empty symbol. Fails Invalid for a rate not above 0, or with the store's message.
Status writeSecondCurrency(Store& store, const QString& oldSymbol, const QString& symbol, const QString& homeSymbol,
                           double rate);

// The ten currencies of the euro area the regional settings offer, with their
// irrevocable conversion rates to the euro.
struct EuroRate {
    QString land;    // as listed ("Deutschland            DEM")
    QString symbol;  // the second currency's symbol it sets ("DM", "NLG", …)
    double rate = 0;
};
const std::vector<EuroRate>& euroRates();

}  // namespace q
