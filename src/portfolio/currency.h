// The one currency converter of the portfolio. A security names its currency in
// `Waehrung`; the currency table `Waehrung.db` says how an amount in that currency
// becomes an amount in the home currency, and the second currency (settings
// `Waehrung`, `Wechselkurs`) is the other way of showing every amount.
//
// Design notes.
// 1. toHome(c, d) turns an amount in currency c on day d into the home currency:
//    1 for the home currency or no currency; 1 ÷ Wechselkurs for the second
//    currency (its rate says how much of it one home unit is); for a currency of
//    the table with rate r (wahrungskurs of its `Name` on d, else its stored
//    `Faktor`): r × `Einheit` when `Multiplikator`, else 1 ÷ (r × `Einheit`); 1 for a
//    currency the table does not know or whose rate and factor are not above 0.
// 2. factor(c, d, second) is what an amount is multiplied by for display: toHome
//    in the home currency; toHome × Wechselkurs in the second currency, except that
//    an amount already in the second currency stays as it is. Holdings, sales, cash
//    and history all convert through here, so one amount never shows two ways.
// 3. Exchange rates are the prices of the security named like the currency: the
//    price of the day, else the next later price (a Saturday takes Monday's rate),
//    and only for a day after the last stored rate, that last rate.
#pragma once

#include "portfolio/portfolio_settings.h"
#include "portfolio/prices.h"
#include "store/store.h"

#include <map>

namespace q {

struct CurrencyRecord {
    QString Symbol;
    QString Name;
    double Faktor = 1.0;
    bool Multiplikator = true;
    double Einheit = 1.0;
};

inline const QString kCurrencies = QStringLiteral("Waehrung.db");

// Every record of the currency table in key order; a table without `Multiplikator`
// or `Einheit` reads them as true and 1. Fails with the store's message.
Result<std::vector<CurrencyRecord>> readCurrencies(Table& waehrung);

// Used on one thread; it reads Firma.db and Aktien.db of `store` as rates are asked.
class CurrencyConverter {
public:
    // Reads the currency table. Fails with the store's message.
    static Result<CurrencyConverter> load(Store& store, const PortfolioSettings& settings);

    // Design note 1. Fails with the store's message.
    Result<double> toHome(const QString& symbol, const QDate& day);
    // Design note 2.
    Result<double> factor(const QString& symbol, const QDate& day, bool second);
    // The symbol amounts are shown with: the home or the second currency's.
    QString displaySymbol(bool second) const;
    const PortfolioSettings& settings() const { return m_settings; }

    // `wahrungskurs`: the rate of the currency named `name` on `day` (design note 3);
    // 0 when no security has that name or it has no price.
    Result<double> wahrungskurs(const QString& name, const QDate& day);

private:
    CurrencyConverter(Store& store, PortfolioSettings settings) : m_store(&store), m_settings(std::move(settings)) {}
    const CurrencyRecord* record(const QString& symbol) const;
    Result<const PriceSeries*> rates(const QString& name);

    Store* m_store;
    PortfolioSettings m_settings;
    std::vector<CurrencyRecord> m_records;
    std::map<QString, PriceSeries> m_rates;  // by currency name, read once
};

// The security whose `FirmenName` equals `name` (letter case and umlauts folded);
// nullopt when there is none. Fails with the store's message.
Result<std::optional<int>> securityNamed(Table& firma, const QString& name);

}  // namespace q
