#include "portfolio/valuation.h"

#include "base/formats.h"
#include "portfolio/cash.h"

#include <map>

namespace q {

namespace {

struct ListEntry {
    int index = 0;
    QString name;
};

// The rows of a list table (Gruppen.db, Branchen.db) in their stored order.
Result<std::vector<ListEntry>> readList(Store& store, const QString& file) {
    std::vector<ListEntry> rows;
    if (!store.exists(file)) return rows;
    auto table = store.table(file);
    if (!table) return table.status();
    Q_TRY((*table)->forEach(Query(), [&rows](const Record& r) {
        rows.push_back({r.value(QStringLiteral("GruppenIndex")).toInt(), r.value(QStringLiteral("GruppenName")).toString()});
        return true;
    }));
    return rows;
}

// Adds a security to the bar of its list entry. A number the list lacks goes to the
// list's last entry, where a scan for it ends.
void addToList(std::map<int, ListBar>& bars, const std::vector<ListEntry>& list, int number, const SecurityValue& s) {
    if (list.empty()) return;
    const ListEntry* entry = &list.back();
    for (const ListEntry& e : list)
        if (e.index == number) {
            entry = &e;
            break;
        }
    ListBar& bar = bars[entry->index];
    bar.index = entry->index;
    if (bar.text.isEmpty()) bar.text = entry->name + QLatin1Char('\n');
    bar.invested += s.sums.invested;
    bar.value += s.sums.value;
    bar.text += QStringLiteral("%1 (%2%)\n").arg(s.name).arg(roundHalfEven(percentOf(s.sums.gain(), s.sums.invested), 0));
}

std::vector<ListBar> barsAbove0(const std::map<int, ListBar>& bars) {
    std::vector<ListBar> out;
    for (const auto& [index, bar] : bars)
        if (bar.value > 0) out.push_back(bar);
    return out;
}

SecurityInfo infoOf(const Record& r) {
    SecurityInfo info;
    info.found = true;
    info.name = r.value(QStringLiteral("FirmenName")).toString();
    info.kennung = r.value(QStringLiteral("Kennung")).toString();
    info.waehrung = r.value(QStringLiteral("Waehrung")).toString();
    info.dividende = r.value(QStringLiteral("Dividende")).toDouble();
    info.gruppe = r.value(QStringLiteral("Gruppe")).toInt();
    info.branche = r.value(QStringLiteral("Branche")).toInt();
    return info;
}

}  // namespace

Result<SecurityInfo> readSecurityInfo(Table& firma, int number) {
    auto found = firma.findKey({number});
    if (!found) return found.status();
    return found->has_value() ? infoOf(**found) : SecurityInfo();
}

Result<QHash<int, SecurityInfo>> readSecurityInfos(Table& firma, const QList<int>& numbers) {
    QHash<int, SecurityInfo> out;
    if (numbers.isEmpty()) return out;
    Query q;
    q.amongField = QStringLiteral("Firma");
    for (int n : numbers) q.among << n;
    Q_TRY(firma.forEach(q, [&out](const Record& r) {
        out.insert(r.value(QStringLiteral("Firma")).toInt(), infoOf(r));
        return true;
    }));
    return out;
}

double percentOf(double part, double whole) { return whole == 0.0 ? 0.0 : part / whole * 100.0; }

double Sums::percent() const { return value == invested ? 0.0 : percentOf(value - invested, invested); }

Sums Sums::minus(const Sums& o) const { return {invested - o.invested, value - o.value, shares - o.shares, lots - o.lots}; }

QString ListBar::label() const {
    return text + QStringLiteral("%1  %2 %3%")
                      .arg(roundHalfEven(value, 0))
                      .arg(roundHalfEven(value - invested, 0))
                      .arg(roundHalfEven(percentOf(value - invested, invested), 0));
}

QString Valuation::estimate() const {
    return QStringLiteral("(27% wären %1 EUR)").arg(formatGeneral(roundHalfEven(taxable.gain() * 27.0, 0) / 100.0));
}

Result<Valuation> AnlagenBerechnung(Store& store, CurrencyConverter& converter, const SpeculationRule& rule,
                                    const ValuationOptions& options) {
    Q_ASSERT(options.stichtag.isValid());
    Valuation v;
    v.stichtag = options.stichtag;
    v.symbol = converter.displaySymbol(options.second);
    v.second = options.second;

    auto lotsTable = store.table(kLots);
    if (!lotsTable) return lotsTable.status();
    Query open;
    open.order = kLotOrder;
    open.rangeField = QStringLiteral("Datum");
    open.to = dayNumber(options.stichtag);
    auto lots = readLots(**lotsTable, open);
    if (!lots) return lots.status();
    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    auto groups = readList(store, QStringLiteral("Gruppen.db"));
    if (!groups) return groups.status();
    auto branches = readList(store, QStringLiteral("Branchen.db"));
    if (!branches) return branches.status();
    std::map<int, ListBar> groupBars, branchBars;

    // The records and prices of the held securities, each read in one query.
    QList<int> held;
    for (const Lot& lot : *lots)
        if (lot.isOpenAt(options.stichtag) && (held.isEmpty() || held.back() != lot.Firma)) held << lot.Firma;
    auto infos = readSecurityInfos(**firma, held);
    if (!infos) return infos.status();
    auto prices = pricesOnOrBefore(**aktien, held, options.stichtag);
    if (!prices) return prices.status();

    SecurityValue* current = nullptr;
    double fc = 1.0;
    for (const Lot& lot : *lots) {
        if (!lot.isOpenAt(options.stichtag)) continue;
        if (!current || current->firma != lot.Firma) {
            const SecurityInfo info = infos->value(lot.Firma);
            SecurityValue s;
            s.firma = lot.Firma;
            s.name = info.found ? info.name : lot.FirmenName;
            s.kennung = info.kennung;
            s.waehrung = info.waehrung;
            s.dividende = info.dividende;
            s.gruppe = info.gruppe;
            s.branche = info.branche;
            s.firstDate = lot.Datum;
            if (info.found && isCashSecurity(info.name)) {
                s.last = 1.0;
                s.priceDate = options.stichtag;
            } else if (auto price = prices->constFind(lot.Firma); price != prices->cend()) {
                s.last = price->kurs;
                s.priceDate = price->datum;
            } else {
                s.noPrice = true;
            }
            // The factor of the report date is the security's, whatever the lot.
            auto reportFactor = converter.factor(s.waehrung, options.stichtag, options.second);
            if (!reportFactor) return reportFactor.status();
            fc = *reportFactor;
            v.securities.push_back(s);
            current = &v.securities.back();
        }
        LotValue lv;
        lv.lot = lot;
        lv.buy = lot.buyPrice();
        auto fp = converter.factor(current->waehrung, lot.Datum, options.second);
        if (!fp) return fp.status();
        lv.fc = fc;
        lv.fp = *fp;
        lv.held = lot.Datum.daysTo(options.stichtag);
        lv.taxable = rule.isTaxable(lot.Datum, lv.held);
        const double invested = lv.buy * lv.fp * lot.Anteile;
        const double value = current->last * lv.fc * lot.Anteile;
        current->sums.add(invested, value, lot.Anteile);
        v.total.add(invested, value, lot.Anteile);
        if (lv.taxable) v.taxable.add(invested, value, lot.Anteile);
        if (options.second) {
            auto hc = converter.factor(current->waehrung, options.stichtag, false);
            if (!hc) return hc.status();
            auto hp = converter.factor(current->waehrung, lot.Datum, false);
            if (!hp) return hp.status();
            v.homeTotal.add(lv.buy * *hp * lot.Anteile, current->last * *hc * lot.Anteile, lot.Anteile);
        } else {
            v.homeTotal.add(invested, value, lot.Anteile);
        }
        lv.sharesSoFar = current->sums.shares;
        current->lastTaxable = lv.taxable;
        current->lots.push_back(lv);
    }
    for (const SecurityValue& s : v.securities) {
        if (isZeroShares(s.sums.shares)) continue;
        v.dividendSum += s.sums.shares * s.dividende;
        addToList(groupBars, *groups, s.gruppe, s);
        addToList(branchBars, *branches, s.branche, s);
    }
    v.groups = barsAbove0(groupBars);
    v.branches = barsAbove0(branchBars);
    return v;
}

}  // namespace q
