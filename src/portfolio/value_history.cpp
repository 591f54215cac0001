#include "portfolio/value_history.h"

#include "base/clock.h"
#include "base/formats.h"
#include "portfolio/cash.h"
#include "store/bulk_insert.h"

#include <limits>
#include <map>

namespace q {

namespace {

Record recordOf(const Table& table, const HistoryRecord& h) {
    Record r = table.newRecord();
    r.set(QStringLiteral("DATUM"), dayNumber(h.DATUM));
    r.set(QStringLiteral("Anteile"), h.Anteile);
    r.set(QStringLiteral("KursKauf"), h.KursKauf);
    r.set(QStringLiteral("KursIst"), h.KursIst);
    return r;
}

Status upsert(Table& table, const HistoryRecord& h) {
    auto found = table.findKey({dayNumber(h.DATUM)});
    if (!found) return found.status();
    if (found->has_value()) return table.update(**found, recordOf(table, h));
    auto added = table.append(recordOf(table, h));
    return added ? Status::ok() : added.status();
}

// One security of the backfill: its prices over the span, its currency (an index
// into the currencies of the run) and where the walk over the days stands.
struct Held {
    bool cash = false;
    int currency = 0;
    PriceSeries prices;
    size_t cursor = 0;
    std::optional<double> kurs;  // the day's price
};

// A lot of the backfill: open from `from` up to (not including) `to`, day numbers.
struct Position {
    int from = 0;
    int to = 0;
    double shares = 0;
    double buy = 0;
    double fp = 1;
    Held* held = nullptr;
};

}  // namespace

HistoryRecord historyRecord(const QDate& day, const Sums& sums) {
    HistoryRecord h;
    h.DATUM = day;
    h.Anteile = isZeroShares(sums.shares) ? 1.0 : sums.shares;
    h.KursKauf = sums.invested / h.Anteile;
    h.KursIst = sums.value / h.Anteile;
    return h;
}

Status writeHistoryRecord(Store& store, const HistoryRecord& record) {
    Q_TRY(store.ensure(kHistory));
    auto table = store.table(kHistory);
    if (!table) return table.status();
    return upsert(**table, record);
}

Result<std::vector<HistoryRecord>> readHistory(Store& store, const QDate& from) {
    std::vector<HistoryRecord> out;
    if (!store.exists(kHistory)) return out;
    auto table = store.table(kHistory);
    if (!table) return table.status();
    Query q;
    if (from.isValid()) {
        q.rangeField = QStringLiteral("DATUM");
        q.from = dayNumber(from);
    }
    Q_TRY((*table)->forEach(q, [&out](const Record& r) {
        HistoryRecord h;
        h.DATUM = dateFromDayNumber(r.value(QStringLiteral("DATUM")).toDouble());
        h.Anteile = r.value(QStringLiteral("Anteile")).toDouble();
        h.KursKauf = r.value(QStringLiteral("KursKauf")).toDouble();
        h.KursIst = r.value(QStringLiteral("KursIst")).toDouble();
        out.push_back(h);
        return true;
    }));
    return out;
}

Result<Backfill> BerechnungAnlagen(Store& store, CurrencyConverter& converter, const std::optional<QDate>& startWhenMissing,
                                   Progress& progress) {
    const QDate until = today();
    Backfill result;
    if (!store.exists(kHistory)) {
        if (!startWhenMissing || !startWhenMissing->isValid()) return Status::cancelled(QStringLiteral("Keine Depotberechnung"));
        Q_TRY(store.ensure(kHistory));
        result.start = *startWhenMissing;
    }
    auto history = store.table(kHistory);
    if (!history) return history.status();
    if (!result.start.isValid()) {
        Query newest;
        newest.reverse = true;
        auto last = (*history)->first(newest);
        if (!last) return last.status();
        result.start = last->has_value() ? dateFromDayNumber((*last)->value(QStringLiteral("DATUM")).toDouble()).addDays(1) : until;
    }
    if (result.start >= until) return result;

    auto lotsTable = store.table(kLots);
    if (!lotsTable) return lotsTable.status();
    Query q;
    q.order = kLotOrder;
    q.rangeField = QStringLiteral("Datum");
    q.to = dayNumber(until) - 1;
    auto all = readLots(**lotsTable, q);
    if (!all) return all.status();
    std::vector<Lot> lots;
    for (const Lot& lot : *all)
        if (lot.Firma > 0 && lot.Datum.isValid() && (!lot.isSold() || lot.Verkauf > result.start)) lots.push_back(lot);

    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    std::map<int, Held> held;
    QStringList currencies;
    std::vector<Position> positions;
    for (const Lot& lot : lots) {
        if (!held.count(lot.Firma)) {
            auto info = readSecurityInfo(**firma, lot.Firma);
            if (!info) return info.status();
            Held h;
            h.cash = info->found && isCashSecurity(info->name);
            if (!currencies.contains(info->waehrung)) currencies << info->waehrung;
            h.currency = static_cast<int>(currencies.indexOf(info->waehrung));
            if (!h.cash) {
                auto series = loadPriceSeries(**aktien, lot.Firma, result.start, until.addDays(-1));
                if (!series) return series.status();
                h.prices = std::move(*series);
            }
            held.emplace(lot.Firma, std::move(h));
        }
        Held& h = held[lot.Firma];
        auto f = converter.factor(currencies[h.currency], lot.Datum, false);
        if (!f) return f.status();
        // A lot without a sale date stays open.
        positions.push_back({dayNumber(lot.Datum), lot.isSold() ? dayNumber(lot.Verkauf) : std::numeric_limits<int>::max(),
                             lot.Anteile, lot.buyPrice(), *f, &h});
    }
    std::vector<double> fc(static_cast<size_t>(currencies.size()));

    // One statement for every day, one transaction for all; a day written already
    // (the valuation of today, or a run that stopped) is replaced.
    BulkInsert records(**history, BulkInsert::OnDuplicate::Replace);
    Q_TRY(records.begin());
    const qint64 days = result.start.daysTo(until);
    qint64 done = 0;
    for (QDate d = result.start; d < until; d = d.addDays(1), ++done) {
        if (progress.cancelRequested()) return Status::cancelled(QStringLiteral("Depotberechnung abgebrochen"));
        progress.step(QStringLiteral("Depotwert am %1").arg(formatDate(d)), done, days);
        // Each security's price and each currency's factor once per day.
        const int day = dayNumber(d);
        for (auto& [number, h] : held)
            if (!h.cash) h.kurs = h.prices.kursOnOrBefore(day, h.cursor);
        for (int c = 0; c < currencies.size(); ++c) {
            auto f = converter.factor(currencies[c], d, false);
            if (!f) return f.status();
            fc[static_cast<size_t>(c)] = *f;
        }
        Sums sums;
        for (const Position& p : positions) {
            if (day < p.from || day >= p.to) continue;
            // No price yet: the purchase price; cash is always worth 1.
            double last = 1.0;
            if (!p.held->cash) last = p.held->kurs && *p.held->kurs != 0.0 ? *p.held->kurs : p.buy;
            sums.add(p.buy * p.fp * p.shares, last * fc[static_cast<size_t>(p.held->currency)] * p.shares, p.shares);
        }
        if (sums.lots == 0) continue;
        const HistoryRecord h = historyRecord(d, sums);
        Q_TRY(records.add({day, h.Anteile, h.KursKauf, h.KursIst}));
        ++result.written;
    }
    Q_TRY(records.commit());
    progress.step(QString(), days, days);
    return result;
}

std::vector<HistoryPoint> historySeries(const std::vector<HistoryRecord>& records, double factor) {
    std::vector<HistoryPoint> out;
    out.reserve(records.size());
    for (const HistoryRecord& r : records) {
        HistoryPoint p;
        p.datum = r.DATUM;
        p.value = r.value() * factor;
        p.invested = r.invested() * factor;
        p.gain = p.value - p.invested;
        if (r.KursKauf != 0.0) p.percent = r.KursIst * 100.0 / r.KursKauf - 100.0;
        out.push_back(p);
    }
    return out;
}

}  // namespace q
