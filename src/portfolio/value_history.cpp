#include "portfolio/value_history.h"

#include "base/clock.h"
#include "base/formats.h"
#include "portfolio/cash.h"

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

// One security of the backfill: its prices over the span and its currency.
struct Held {
    bool cash = false;
    QString waehrung;
    PriceSeries prices;
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
    std::vector<double> fp;  // currency factor of each lot's purchase day
    for (const Lot& lot : lots) {
        if (!held.count(lot.Firma)) {
            auto info = readSecurityInfo(**firma, lot.Firma);
            if (!info) return info.status();
            Held h;
            h.cash = info->found && isCashSecurity(info->name);
            h.waehrung = info->waehrung;
            if (!h.cash) {
                auto series = loadPriceSeries(**aktien, lot.Firma, result.start, until.addDays(-1));
                if (!series) return series.status();
                h.prices = std::move(*series);
            }
            held.emplace(lot.Firma, std::move(h));
        }
        auto f = converter.factor(held[lot.Firma].waehrung, lot.Datum, false);
        if (!f) return f.status();
        fp.push_back(*f);
    }

    Transaction tx((*history)->db());
    Q_TRY(tx.begin());
    const qint64 days = result.start.daysTo(until);
    qint64 done = 0;
    for (QDate d = result.start; d < until; d = d.addDays(1), ++done) {
        if (progress.cancelRequested()) return Status::cancelled(QStringLiteral("Depotberechnung abgebrochen"));
        progress.step(QStringLiteral("Depotwert am %1").arg(formatDate(d)), done, days);
        Sums sums;
        for (size_t i = 0; i < lots.size(); ++i) {
            const Lot& lot = lots[i];
            if (!lot.isOpenAt(d)) continue;
            const Held& h = held[lot.Firma];
            double last = 1.0;
            if (!h.cash) {
                const auto price = h.prices.onOrBefore(d);
                last = price && price->kurs != 0.0 ? price->kurs : lot.buyPrice();
            }
            auto fc = converter.factor(h.waehrung, d, false);
            if (!fc) return fc.status();
            sums.add(lot.buyPrice() * fp[i] * lot.Anteile, last * *fc * lot.Anteile, lot.Anteile);
        }
        if (sums.lots == 0) continue;
        Q_TRY(upsert(**history, historyRecord(d, sums)));
        ++result.written;
    }
    Q_TRY(tx.commit());
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
