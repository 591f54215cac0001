#include "portfolio/currencies.h"

#include "base/formats.h"

#include <cmath>

namespace q {

namespace {

Record currencyRecord(const Table& table, const CurrencyRecord& c) {
    Record r = table.newRecord();
    r.set(QStringLiteral("Symbol"), c.Symbol);
    r.set(QStringLiteral("Name"), c.Name);
    r.set(QStringLiteral("Faktor"), c.Faktor);
    if (r.has(QStringLiteral("Multiplikator"))) r.set(QStringLiteral("Multiplikator"), c.Multiplikator);
    if (r.has(QStringLiteral("Einheit"))) r.set(QStringLiteral("Einheit"), c.Einheit);
    return r;
}

bool positive(double x) { return x > 0 && std::isfinite(x); }

}  // namespace

Status addCurrency(Store& store, const CurrencyRecord& c) {
    if (c.Symbol.trimmed().size() > 5)
        return Status::invalid(QStringLiteral("Das Währungssymbol darf höchstens 5 Zeichen haben: %1").arg(c.Symbol));
    if (c.Name.trimmed().isEmpty()) return Status::invalid(QStringLiteral("Geben Sie eine Bezeichnung der Währung ein"));
    if (c.Name.size() > 40)
        return Status::invalid(QStringLiteral("Die Bezeichnung darf höchstens 40 Zeichen haben: %1").arg(c.Name));
    if (!positive(c.Faktor))
        return Status::invalid(QStringLiteral("Der Wechselkurs muss größer als 0 sein: %1").arg(formatGeneral(c.Faktor)));
    if (!positive(c.Einheit))
        return Status::invalid(QStringLiteral("Der Faktor für die Umrechnung muss größer als 0 sein: %1").arg(formatGeneral(c.Einheit)));
    auto table = store.table(kCurrencies);
    if (!table) return table.status();
    CurrencyRecord clean = c;
    clean.Symbol = c.Symbol.trimmed();
    auto exists = (*table)->findKey({clean.Symbol});
    if (!exists) return exists.status();
    if (exists->has_value()) return Status::invalid(QStringLiteral("Die Währung %1 gibt es schon").arg(clean.Symbol));
    auto added = (*table)->append(currencyRecord(**table, clean));
    return added ? Status::ok() : added.status();
}

Result<CurrencyRecord> deleteCurrency(Store& store, const QString& symbol) {
    auto table = store.table(kCurrencies);
    if (!table) return table.status();
    auto records = readCurrencies(**table);
    if (!records) return records.status();
    for (const CurrencyRecord& c : *records) {
        if (c.Symbol != symbol.trimmed()) continue;
        auto found = (*table)->findKey({c.Symbol});
        if (!found) return found.status();
        if (found->has_value()) Q_TRY((*table)->remove(**found));
        return c;
    }
    return Status::notFound(QStringLiteral("Die Währung %1 gibt es nicht").arg(symbol));
}

Result<std::vector<FactorChange>> refreshFactors(Store& store, PortfolioSettings& settings) {
    auto table = store.table(kCurrencies);
    if (!table) return table.status();
    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    auto rows = (*table)->rows(Query());
    if (!rows) return rows.status();
    std::vector<FactorChange> changes;
    Transaction tx((*table)->db());
    Q_TRY(tx.begin());
    for (const Record& before : *rows) {
        const QString name = before.value(QStringLiteral("Name")).toString();
        auto security = securityNamed(**firma, name);
        if (!security) return security.status();
        if (!security->has_value()) continue;
        Query newest = Query::detailOf(**security);
        newest.reverse = true;
        auto price = (*aktien)->first(newest);
        if (!price) return price.status();
        // A security without a price says nothing about the rate.
        if (!price->has_value()) continue;
        const double kurs = (*price)->value(QStringLiteral("Kurs")).toDouble();
        if (!positive(kurs)) continue;
        const QString symbol = before.value(QStringLiteral("Symbol")).toString();
        if (!settings.secondSymbol.isEmpty() && symbol == settings.secondSymbol) settings.wechselkurs = kurs;
        const double faktor = before.value(QStringLiteral("Faktor")).toDouble();
        if (kurs == faktor) continue;
        Record after = before;
        after.set(QStringLiteral("Faktor"), kurs);
        Q_TRY((*table)->update(before, after));
        changes.push_back({symbol, faktor, kurs});
    }
    Q_TRY(tx.commit());
    return changes;
}

Status writeSecondCurrency(Store& store, const QString& oldSymbol, const QString& symbol, const QString& homeSymbol, double rate) {
    if (symbol.trimmed().isEmpty()) return Status::ok();
    if (!positive(rate)) return Status::invalid(QStringLiteral("Der Wechselkurs muss größer als 0 sein: %1").arg(formatGeneral(rate)));
    if (symbol.trimmed().size() > 5)
        return Status::invalid(QStringLiteral("Das Währungssymbol darf höchstens 5 Zeichen haben: %1").arg(symbol));
    auto table = store.table(kCurrencies);
    if (!table) return table.status();
    Transaction tx((*table)->db());
    Q_TRY(tx.begin());
    for (const QString& s : {oldSymbol.trimmed(), symbol.trimmed()}) {
        if (s.isEmpty()) continue;
        auto found = (*table)->findKey({s});
        if (!found) return found.status();
        if (found->has_value()) Q_TRY((*table)->remove(**found));
    }
    CurrencyRecord c{symbol.trimmed(), (homeSymbol + QStringLiteral(">>") + symbol.trimmed()).left(40), rate, true, 1.0};
    auto added = (*table)->append(currencyRecord(**table, c));
    if (!added) return added.status();
    return tx.commit();
}

const std::vector<EuroRate>& euroRates() {
    static const std::vector<EuroRate> rates = {
        {QStringLiteral("Deutschland            DEM"), QStringLiteral("DM"), 1.95583},
        {QStringLiteral("Niederlande             NLG"), QStringLiteral("NLG"), 2.20371},
        {QStringLiteral("Österreich                ATS"), QStringLiteral("ATS"), 13.7603},
        {QStringLiteral("Belgien/Luxemb.     BEF"), QStringLiteral("BEF"), 40.3399},
        {QStringLiteral("Spanien                   ESP"), QStringLiteral("ESP"), 166.386},
        {QStringLiteral("Frankreich                FRF"), QStringLiteral("FRF"), 6.55957},
        {QStringLiteral("Irland                        IEP"), QStringLiteral("IEP"), 0.787564},
        {QStringLiteral("Italien                       ITL"), QStringLiteral("ITL"), 1936.27},
        {QStringLiteral("Portugal                   PTE"), QStringLiteral("PTE"), 200.482},
        {QStringLiteral("Finnland                   FIM"), QStringLiteral("FIM"), 5.94573},
    };
    return rates;
}

}  // namespace q
