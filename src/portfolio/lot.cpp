#include "portfolio/lot.h"

#include "base/formats.h"

#include <QThread>
#include <cmath>
#include <map>

namespace q {

namespace {

// Share counts come from decimal entries and a few multiplications and divisions
// (splits, partial sales); what is left after them is noise far below any real
// fraction of a share.
constexpr double kShareTolerance = 1e-9;

QDate dateOf(const QVariant& v) {
    if (v.isNull()) return {};
    bool ok = false;
    const double day = v.toDouble(&ok);
    return ok && day > 0 ? dateFromDayNumber(day) : QDate();
}

double numberOf(const QVariant& v) {
    bool ok = false;
    const double n = v.toDouble(&ok);
    return ok && std::isfinite(n) ? n : 0.0;
}

}  // namespace

bool Lot::isOpenAt(const QDate& day) const {
    return Firma > 0 && Datum.isValid() && Datum <= day && (!Verkauf.isValid() || Verkauf > day);
}

bool Lot::isSpecial() const {
    return FirmenName.contains(QStringLiteral("schüttung")) || FirmenName.contains(QStringLiteral("epotgebühr"));
}

bool sharesEqual(double a, double b) {
    return std::fabs(a - b) <= kShareTolerance * std::max({1.0, std::fabs(a), std::fabs(b)});
}

bool isZeroShares(double a) { return sharesEqual(a, 0.0); }

Status checkShares(double anteile) {
    if (anteile > 0 && !isZeroShares(anteile)) return Status::ok();
    return Status::invalid(QStringLiteral("Die Anzahl der Anteile muss größer als 0 sein: %1").arg(formatGeneral(anteile)));
}

Status checkDate(const QDate& day) { return day.isValid() ? Status::ok() : Status::invalid(QStringLiteral("Ungültiges Datum")); }

Lot lotFromRecord(const Record& r) {
    Lot lot;
    lot.id = r.rowid;
    lot.Firma = static_cast<int>(numberOf(r.value(QStringLiteral("Firma"))));
    lot.Datum = dateOf(r.value(QStringLiteral("Datum")));
    lot.Anteile = numberOf(r.value(QStringLiteral("Anteile")));
    lot.Ankauf = numberOf(r.value(QStringLiteral("Ankauf")));
    lot.Verkauf = dateOf(r.value(QStringLiteral("Verkauf")));
    lot.Erloes = numberOf(r.value(QStringLiteral("Erloes")));
    lot.FirmenName = r.value(QStringLiteral("FirmenName")).toString();
    return lot;
}

Record recordOfLot(const Table& table, const Lot& lot) {
    Record r = table.newRecord();
    r.rowid = lot.id;
    r.set(QStringLiteral("Firma"), lot.Firma);
    r.set(QStringLiteral("Datum"), lot.Datum.isValid() ? QVariant(dayNumber(lot.Datum)) : QVariant());
    r.set(QStringLiteral("Anteile"), lot.Anteile);
    r.set(QStringLiteral("Ankauf"), lot.Ankauf);
    r.set(QStringLiteral("Verkauf"), lot.isSold() ? QVariant(dayNumber(lot.Verkauf)) : QVariant());
    r.set(QStringLiteral("Erloes"), lot.isSold() ? QVariant(lot.Erloes) : QVariant());
    if (r.has(QStringLiteral("FirmenName"))) r.set(QStringLiteral("FirmenName"), lot.FirmenName);
    return r;
}

Result<std::vector<Lot>> readLots(Table& table, const Query& query) {
    std::vector<Lot> lots;
    Q_TRY(table.forEach(query, [&lots](const Record& r) {
        lots.push_back(lotFromRecord(r));
        return true;
    }));
    return lots;
}

Result<std::vector<Lot>> lotsOf(Table& table, int firma) {
    Query q = Query::detailOf(firma);
    q.order = kLotOrder;
    return readLots(table, q);
}

QString lotText(const QString& text) { return text.left(30); }

Result<Lot> appendLot(Store& store, Lot lot) {
    auto table = store.table(kLots);
    if (!table) return table.status();
    LotChanges changes;
    lot.FirmenName = lotText(lot.FirmenName);
    changes.appends.push_back(lot);
    auto ids = writeLots(**table, changes);
    if (!ids) return ids.status();
    lot.id = ids->front();
    return lot;
}

Result<std::vector<qint64>> writeLots(Table& table, const LotChanges& changes) {
    Transaction tx(table.db());
    Q_TRY(tx.begin());
    // The rows to change are read again inside the transaction: a program (on the
    // server: another computer) that changed them since they were read makes this
    // write fail, so that the change is planned anew instead of overwriting the other.
    std::map<int, std::vector<Lot>> current;
    const auto unchanged = [&](const Lot& before) -> Status {
        auto it = current.find(before.Firma);
        if (it == current.end()) {
            auto lots = lotsOf(table, before.Firma);
            if (!lots) return lots.status();
            it = current.emplace(before.Firma, std::move(*lots)).first;
        }
        const QVariantList asRead = recordOfLot(table, before).values();
        for (const Lot& now : it->second)
            if (now.id == before.id && recordOfLot(table, now).values() == asRead) return Status::ok();
        return Status::busy(QStringLiteral("Die Posten von %1 wurden inzwischen von einem anderen Programm geändert").arg(before.FirmenName));
    };
    for (const auto& change : changes.updates) Q_TRY(unchanged(change.first));
    for (const Lot& lot : changes.removals) Q_TRY(unchanged(lot));
    for (const auto& [before, after] : changes.updates) {
        // A negative or empty lot would be stored wrong data; the plans never make one.
        Q_ASSERT(before.id >= 0 && after.Anteile >= 0);
        if (before.id < 0 || after.Anteile < 0)
            return Status::internal(QStringLiteral("Ungültige Änderung eines Postens von %1").arg(before.FirmenName));
        Q_TRY(table.update(recordOfLot(table, before), recordOfLot(table, after)));
    }
    for (const Lot& lot : changes.removals) Q_TRY(table.remove(recordOfLot(table, lot)));
    std::vector<qint64> ids;
    for (const Lot& lot : changes.appends) {
        Lot fresh = lot;
        fresh.id = -1;
        auto id = table.append(recordOfLot(table, fresh));
        if (!id) return id.status();
        ids.push_back(*id);
    }
    Q_TRY(tx.commit());
    return ids;
}

// How often changes are planned again after another program changed the lots.
constexpr int kPlanAttempts = 4;

Result<std::vector<qint64>> planAndWriteLots(Table& table, int firma, const LotPlanner& plan) {
    for (int attempt = 0;; ++attempt) {
        auto lots = lotsOf(table, firma);
        if (!lots) return lots.status();
        auto changes = plan(*lots);
        if (!changes) return changes.status();
        auto written = writeLots(table, *changes);
        if (written || written.status().category() != Category::Busy || attempt == kPlanAttempts) return written;
        QThread::msleep(static_cast<unsigned long>(20 * (attempt + 1)));
    }
}

}  // namespace q
