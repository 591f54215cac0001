#include "portfolio/splits.h"

#include "base/formats.h"
#include "portfolio/bookings.h"

#include <cmath>
#include <set>

namespace q {

namespace {

Lot splitLot(const Lot& lot, double ratio) {
    Lot after = lot;
    after.Anteile = lot.Anteile * ratio;
    after.Ankauf = lot.Ankauf / ratio;
    return after;
}

bool affected(const Lot& lot, const Split& split) { return !lot.isSold() && lot.Datum.isValid() && lot.Datum <= split.ende; }

bool samePosition(const Lot& a, const Lot& b) {
    return a.Firma == b.Firma && a.Datum == b.Datum && sharesEqual(a.Anteile, b.Anteile) && sharesEqual(a.Ankauf, b.Ankauf);
}

Result<int> dividePrices(Store& store, const Split& split) {
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    Query q = Query::detailOf(split.firma);
    q.rangeField = QStringLiteral("Datum");
    q.to = dayNumber(split.ende);
    // Read inside the transaction: a price another program books meanwhile is divided too.
    Transaction tx((*aktien)->db());
    Q_TRY(tx.begin());
    auto rows = (*aktien)->rows(q);
    if (!rows) return rows.status();
    for (const Record& before : *rows) {
        Record after = before;
        after.set(QStringLiteral("Kurs"), before.value(QStringLiteral("Kurs")).toDouble() / split.ratio);
        Q_TRY((*aktien)->update(before, after));
    }
    Q_TRY(tx.commit());
    return static_cast<int>(rows->size());
}

}  // namespace

LotChanges planSplit(const std::vector<Lot>& lots, const Split& split) {
    LotChanges changes;
    for (const Lot& lot : lots)
        if (lot.Firma == split.firma && affected(lot, split)) changes.updates.push_back({lot, splitLot(lot, split.ratio)});
    return changes;
}

Result<SplitResult> splitSecurity(Store& store, const Split& split) {
    if (!(split.ratio > 0) || !std::isfinite(split.ratio))
        return Status::invalid(QStringLiteral("Das Splitverhältnis muss größer als 0 sein: %1").arg(formatGeneral(split.ratio)));
    Q_TRY(checkDate(split.ende));
    auto name = securityName(store, split.firma);
    if (!name) return name.status();
    auto table = store.table(kLots);
    if (!table) return table.status();
    // The lots first: another program that changed them meanwhile makes the split
    // plan again on what is there now, and a split that cannot be written leaves the
    // prices undivided too (a second split would divide them twice).
    SplitResult result;
    std::vector<Lot> lots;
    auto written = planAndWriteLots(**table, split.firma, [&](const std::vector<Lot>& read) -> Result<LotChanges> {
        lots = read;
        LotChanges changes = planSplit(read, split);
        result.lots = static_cast<int>(changes.updates.size());
        return changes;
    });
    if (!written) return written.status();
    auto prices = dividePrices(store, split);
    if (!prices) return prices.status();
    result.prices = *prices;

    // Each linked depot once, with the positions as they were before the split.
    // A text names the same depot on every lot: each is looked up once.
    std::set<QString> done;
    std::set<QString> asked;
    for (const Lot& lot : lots) {
        if (!asked.insert(lot.FirmenName).second) continue;
        QString path;
        auto other = openLinkedDepot(store, lot.FirmenName, *name, &path);
        if (!other) return other.status();
        if (!*other || done.count(path)) continue;
        done.insert(path);
        auto theirs = lotsOf(**other, split.firma);
        if (!theirs) return theirs.status();
        LotChanges linked;
        for (const Lot& t : *theirs) {
            if (!affected(t, split)) continue;
            for (const Lot& mine : lots)
                if (mine.FirmenName == lot.FirmenName && samePosition(mine, t)) {
                    linked.updates.push_back({t, splitLot(t, split.ratio)});
                    break;
                }
        }
        if (linked.empty()) continue;
        auto booked = writeLots(**other, linked);
        if (!booked) return booked.status();
        result.linkedDepots << path;
    }
    return result;
}

}  // namespace q
