#include "portfolio/gains.h"

#include "base/formats.h"

#include <algorithm>

namespace q {

GainsPeriod GainsPeriod::year(int year) { return {QDate(year, 1, 1), QDate(year, 12, 31)}; }

GainsPeriod GainsPeriod::all() { return {QDate(1900, 1, 1), QDate(3000, 1, 1)}; }

double Gains::estimateAmount() const { return roundHalfEven(taxable.gain() * 27.0, 0) / 100.0; }

QString Gains::estimate() const { return QStringLiteral("(27% wären %1 EUR)").arg(formatGeneral(estimateAmount())); }

namespace {

// The name a lot of a deleted security is reported under: its booking text, or the
// name the user gives (stored in the lot, so that the question comes only once).
Result<QString> nameOfDeleted(Table& lots, Lot& lot, Interaction& ui) {
    if (!lot.FirmenName.isEmpty()) return lot.FirmenName;
    const QString prompt = QStringLiteral("%1  %2  %3=>%4  %5")
                               .arg(formatGeneral(lot.Anteile), formatGeneral(lot.Ankauf), formatDate(lot.Datum),
                                    formatDate(lot.Verkauf), formatGeneral(lot.Erloes));
    const std::optional<QString> answer = ui.input(QStringLiteral("Geben Sie den Namen des Wertpapiers ein!!"), prompt);
    if (!answer || answer->trimmed().isEmpty()) return QString();
    Lot named = lot;
    named.FirmenName = lotText(answer->trimmed());
    LotChanges change;
    change.updates.push_back({lot, named});
    auto written = writeLots(lots, change);
    if (!written) return written.status();
    lot = named;
    return lot.FirmenName;
}

}  // namespace

Result<Gains> Gewinnberechnung(Store& store, CurrencyConverter& converter, const SpeculationRule& rule,
                               const GainsOptions& options, Interaction& ui) {
    Gains g;
    g.period = options.period;
    g.symbol = converter.displaySymbol(options.second);
    g.second = options.second;

    auto lotsTable = store.table(kLots);
    if (!lotsTable) return lotsTable.status();
    // In the table's key order (security, purchase date, then as written); sorted here
    // rather than read along the index, which costs a look-up per row.
    auto lots = readLots(**lotsTable, Query());
    if (!lots) return lots.status();
    std::stable_sort(lots->begin(), lots->end(), [](const Lot& a, const Lot& b) {
        if (a.Firma != b.Firma) return a.Firma < b.Firma;
        if (a.Datum != b.Datum) return a.Datum < b.Datum;
        return a.id < b.id;
    });
    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();

    SoldSecurity* current = nullptr;
    for (Lot& lot : *lots) {
        if (!g.period.contains(lot.Verkauf) || lot.Firma <= 0) continue;
        if (!current || current->firma != lot.Firma) {
            auto info = readSecurityInfo(**firma, lot.Firma);
            if (!info) return info.status();
            SoldSecurity s;
            s.firma = lot.Firma;
            s.found = info->found;
            s.kennung = info->kennung;
            s.waehrung = info->waehrung;
            s.firstDate = lot.Datum;
            if (info->found) {
                s.name = info->name;
            } else {
                auto name = nameOfDeleted(**lotsTable, lot, ui);
                if (!name) return name.status();
                s.name = *name;
            }
            g.securities.push_back(s);
            current = &g.securities.back();
        }
        SoldLot sl;
        sl.lot = lot;
        sl.buy = lot.buyPrice();
        auto fb = converter.factor(current->waehrung, lot.Datum, options.second);
        if (!fb) return fb.status();
        auto fs = converter.factor(current->waehrung, lot.Verkauf, options.second);
        if (!fs) return fs.status();
        sl.fb = *fb;
        sl.fs = *fs;
        sl.held = lot.Datum.daysTo(lot.Verkauf);
        sl.taxable = rule.isTaxable(lot.Datum, sl.held);
        const double invested = sl.buy * sl.fb * lot.Anteile;
        const double proceeds = lot.Erloes * sl.fs * lot.Anteile;
        current->sums.add(invested, proceeds, lot.Anteile);
        g.total.add(invested, proceeds, lot.Anteile);
        if (sl.taxable) g.taxable.add(invested, proceeds, lot.Anteile);
        sl.sharesSoFar = current->sums.shares;
        current->lastSale = lot.Verkauf;
        current->lots.push_back(sl);
    }
    return g;
}

}  // namespace q
