// The portfolio settings of a run, taken from the settings in effect, and the
// settings the regional dialog and the booking assistants write at once.
#pragma once

#include "app/session.h"
#include "portfolio/portfolio_settings.h"

namespace q {

// Home and second currency, the rate in use (the factor the currency table holds
// for the second currency, else `Wechselkurs`, else 1), decimals, speculation
// periods and fee rates (each with its default when absent).
PortfolioSettings portfolioSettings(const Session& session);

// What the regional settings dialog ("&Ländereinstellung") sets.
struct RegionalSettings {
    QString homeSymbol;    // `WaehrungsSymbol`
    QString secondSymbol;  // `Waehrung`
    double wechselkurs = 1.95583;
    int decimals = 2;
    SpeculationRule rule;
};

// The regional settings in effect (the dialog's defaults where a value is absent).
RegionalSettings regionalSettings(const Session& session);

// Writes `Spekulation_ab`, `Spekulation_neu`, `WaehrungsSymbol`, `Waehrung`,
// `Wechselkurs`, `DezimalStellen` and `Spekulation` in effect and to the settings
// file, and the second currency's record of the currency table (replacing the old
// second currency's). Fails Invalid for a home symbol that is empty or longer than 5
// characters, a rate not above 0, decimals outside 0 … 6, a negative period; Io
// naming the settings file.
Status storeRegional(Session& session, const RegionalSettings& regional);

// Writes the fee rates `Bank`, `Makler`, `Clearing` in effect and to the settings
// file (the assistants do when they finish). Fails Io naming the file.
Status storeFeeRates(Session& session, const FeeRates& fees);

// The limit distances in percent, `LimitanPlus` (upper) and `LimitanMinus` (lower);
// 5 each where they are not set.
struct LimitPercents {
    int plus = 5;
    int minus = 5;
};
LimitPercents limitPercents(const Einstellungen& values);

}  // namespace q
