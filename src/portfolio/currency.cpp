#include "portfolio/currency.h"

namespace q {

namespace {

bool sameSymbol(const QString& a, const QString& b) { return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0; }

}  // namespace

Result<std::vector<CurrencyRecord>> readCurrencies(Table& waehrung) {
    std::vector<CurrencyRecord> out;
    const bool multi = waehrung.hasField(QStringLiteral("Multiplikator"));
    const bool unit = waehrung.hasField(QStringLiteral("Einheit"));
    Q_TRY(waehrung.forEach(Query(), [&](const Record& r) {
        CurrencyRecord c;
        c.Symbol = r.value(QStringLiteral("Symbol")).toString();
        c.Name = r.value(QStringLiteral("Name")).toString();
        c.Faktor = r.value(QStringLiteral("Faktor")).toDouble();
        c.Multiplikator = multi && !r.value(QStringLiteral("Multiplikator")).isNull() ? r.value(QStringLiteral("Multiplikator")).toBool() : true;
        c.Einheit = unit && !r.value(QStringLiteral("Einheit")).isNull() ? r.value(QStringLiteral("Einheit")).toDouble() : 1.0;
        out.push_back(c);
        return true;
    }));
    return out;
}

Result<std::optional<int>> securityNamed(Table& firma, const QString& name) {
    Query q;
    q.order = QStringLiteral("IFirma");
    q.equalNoCase.push_back({QStringLiteral("FirmenName"), name.trimmed()});
    auto found = firma.first(q);
    if (!found) return found.status();
    if (!found->has_value()) return std::optional<int>();
    return std::optional<int>((*found)->value(QStringLiteral("Firma")).toInt());
}

Result<CurrencyConverter> CurrencyConverter::load(Store& store, const PortfolioSettings& settings) {
    auto table = store.table(kCurrencies);
    if (!table) return table.status();
    auto records = readCurrencies(**table);
    if (!records) return records.status();
    CurrencyConverter c(store, settings);
    c.m_records = std::move(*records);
    return c;
}

const CurrencyRecord* CurrencyConverter::record(const QString& symbol) const {
    for (const CurrencyRecord& r : m_records)
        if (sameSymbol(r.Symbol, symbol)) return &r;
    return nullptr;
}

Result<const PriceSeries*> CurrencyConverter::rates(const QString& name) {
    if (auto it = m_rates.find(name); it != m_rates.end()) return &it->second;
    auto firma = m_store->table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    auto found = securityNamed(**firma, name);
    if (!found) return found.status();
    PriceSeries series;
    if (found->has_value()) {
        auto aktien = m_store->table(QStringLiteral("Aktien.db"));
        if (!aktien) return aktien.status();
        auto loaded = loadPriceSeries(**aktien, **found, QDate(), QDate());
        if (!loaded) return loaded.status();
        series = std::move(*loaded);
    }
    return &m_rates.emplace(name, std::move(series)).first->second;
}

Result<double> CurrencyConverter::wahrungskurs(const QString& name, const QDate& day) {
    auto series = rates(name);
    if (!series) return series.status();
    // A day without a rate (a weekend, a holiday) takes the next later one, as a bank
    // settles a weekend trade at the next business day's rate; only a day after the
    // last stored rate falls back to that last one.
    const std::optional<PricePoint> before = (*series)->onOrBefore(day);
    if (before && before->datum == day) return before->kurs;
    if (auto after = (*series)->firstAfter(day)) return after->kurs;
    return before ? before->kurs : 0.0;
}

Result<double> CurrencyConverter::toHome(const QString& symbol, const QDate& day) {
    if (symbol.trimmed().isEmpty() || sameSymbol(symbol, m_settings.homeSymbol)) return 1.0;
    if (!m_settings.secondSymbol.isEmpty() && sameSymbol(symbol, m_settings.secondSymbol))
        return m_settings.wechselkurs > 0 ? 1.0 / m_settings.wechselkurs : 1.0;
    const CurrencyRecord* c = record(symbol);
    if (!c) return 1.0;
    auto r = wahrungskurs(c->Name, day);
    if (!r) return r.status();
    const double rate = *r > 0 ? *r : c->Faktor;
    const double unit = c->Einheit > 0 ? c->Einheit : 1.0;
    if (!(rate > 0)) return 1.0;
    return c->Multiplikator ? rate * unit : 1.0 / (rate * unit);
}

Result<double> CurrencyConverter::factor(const QString& symbol, const QDate& day, bool second) {
    if (second && !m_settings.secondSymbol.isEmpty() && sameSymbol(symbol, m_settings.secondSymbol)) return 1.0;
    auto home = toHome(symbol, day);
    if (!home) return home.status();
    return second ? *home * m_settings.wechselkurs : *home;
}

QString CurrencyConverter::displaySymbol(bool second) const {
    return second ? m_settings.secondSymbol : m_settings.homeSymbol;
}

}  // namespace q
