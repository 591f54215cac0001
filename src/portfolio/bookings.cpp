#include "portfolio/bookings.h"

#include "base/formats.h"
#include "base/text_files.h"
#include "store/database.h"
#include "store/schema_conversion.h"
#include "store/server_schema.h"
#include "store/table.h"

#include <QDir>
#include <QFileInfo>

namespace q {

namespace {

QString dateMessage(const Lot& lot, const QDate& sale, bool assistant) {
    if (assistant) return QStringLiteral("Sie können Nicht vor dem Kauf des Wertpapiere, das Wertpapier verkaufen!!");
    return QStringLiteral("Sie können nicht am %1 kauf und schon am %2 verkaufen!!").arg(formatDate(lot.Datum), formatDate(sale));
}

// The walk of design notes 2 and 4 over `lots` from `start`: returns the quantity
// left (< 0 when the last lot was cut) and records the changes.
struct Walk {
    LotChanges changes;
    double left = 0;
    int consumed = 0;
    Lot first;
};

Walk walkLots(const std::vector<Lot>& lots, size_t start, double q, const QDate& sale, double preis, bool checkDate,
              bool keepText) {
    Walk w;
    w.left = q;
    for (size_t i = start; i < lots.size() && w.left > 0 && !isZeroShares(w.left); ++i) {
        const Lot& lot = lots[i];
        if (lot.isSold() || (checkDate && lot.Datum > sale)) continue;
        Lot after = lot;
        after.Verkauf = sale;
        after.Erloes = preis;
        const double held = lot.Anteile;
        if (held > w.left && !sharesEqual(held, w.left)) {
            after.Anteile = w.left;
            Lot rest = lot;
            rest.id = -1;
            rest.Anteile = held - w.left;
            if (!keepText) rest.FirmenName.clear();
            w.changes.appends.push_back(rest);
            w.left = 0;
        } else {
            w.left -= held;
        }
        if (w.consumed++ == 0) w.first = lot;
        w.changes.updates.push_back({lot, after});
    }
    if (isZeroShares(w.left)) w.left = 0;
    return w;
}

}  // namespace

QString excessMessage(double excess) {
    return QStringLiteral("Sie haben mehr verkauft als Sie hatten!! Übrig sind noch %1 Anteile").arg(formatGeneral(excess));
}

Result<Lot> buy(Store& store, const Purchase& p) {
    Q_TRY(checkShares(p.anteile));
    if (p.preis < 0) return Status::invalid(QStringLiteral("Der Preis darf nicht negativ sein: %1").arg(formatGeneral(p.preis)));
    Q_TRY(checkDate(p.datum));
    auto name = securityName(store, p.firma);
    if (!name) return name.status();
    Lot lot;
    lot.Firma = p.firma;
    lot.Datum = p.datum;
    lot.Anteile = p.anteile;
    lot.Ankauf = p.preis;
    lot.FirmenName = p.text.isEmpty() ? *name : p.text;
    return appendLot(store, lot);
}

Result<SalePlan> planSale(const std::vector<Lot>& lots, const Sale& sale) {
    Q_TRY(checkShares(sale.anteile));
    Q_TRY(checkDate(sale.datum));
    size_t start = 0;
    if (sale.selectedLot >= 0) {
        size_t i = 0;
        while (i < lots.size() && lots[i].id != sale.selectedLot) ++i;
        if (i == lots.size()) return Status::invalid(QStringLiteral("Den Posten %1 gibt es bei diesem Wertpapier nicht").arg(sale.selectedLot));
        const Lot& selected = lots[i];
        if (selected.isSold())
            return Status::invalid(QStringLiteral("Der Posten %1 ist schon am %2 verkauft").arg(selected.id).arg(formatDate(selected.Verkauf)));
        if (sharesEqual(selected.Anteile, sale.anteile)) {
            if (selected.Datum > sale.datum) return Status::invalid(dateMessage(selected, sale.datum, sale.assistant));
            start = i;
        }
    }
    // A walk that finds no lot held on the sale date (none open, or all bought later)
    // is the oversale of every share: the plan books nothing and reports them all.
    Walk w = walkLots(lots, start, sale.anteile, sale.datum, sale.preis, true, true);
    SalePlan plan;
    plan.changes = std::move(w.changes);
    plan.excess = w.left;
    plan.first = w.first;
    return plan;
}

namespace {

// The folder of the data directory a lot's text names as its linked depot; empty
// when the text names none, names the security itself or the open depot.
QString linkedDepotFolder(const QString& dataDir, const QString& depotDir, const QString& lotText, const QString& securityName) {
    const QString name = lotText.trimmed();
    // Only a folder directly below the data directory can be a depot of this name.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    if (name.compare(securityName.trimmed(), Qt::CaseInsensitive) == 0) return {};
    const QString folder = findFile(dataDir, name);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return {};
    if (QFileInfo(folder).canonicalFilePath() == QFileInfo(depotDir).canonicalFilePath()) return {};
    return folder;
}

}  // namespace

QString linkedDepotTable(const QString& dataDir, const QString& depotDir, const QString& lotText, const QString& securityName) {
    const QString folder = linkedDepotFolder(dataDir, depotDir, lotText, securityName);
    return folder.isEmpty() ? QString() : findFile(folder, kLots);
}

Result<std::unique_ptr<Table>> openLinkedDepot(const Store& store, const QString& lotText, const QString& securityName, QString* where) {
    if (store.server().isEmpty()) {
        const QString path = linkedDepotTable(store.dirs().data, store.dirs().depot, lotText, securityName);
        if (path.isEmpty()) return std::unique_ptr<Table>();
        *where = path;
        return openDepotTable(path);
    }
    const QString folder = linkedDepotFolder(store.dirs().data, store.dirs().depot, lotText, securityName);
    if (folder.isEmpty()) return std::unique_ptr<Table>();
    const QString schema = depotSchemaName(folder);
    const QString label = schema + QStringLiteral(".Transaktionen");
    auto db = Database::openServer(store.server(), schema, label);
    if (!db) return db.status();
    // A folder whose depot was never opened has no lots on the server, as it has no file.
    auto tables = (*db)->tableNames();
    if (!tables) return tables.status();
    if (!tables->contains(tableNameOf(kLots))) return std::unique_ptr<Table>();
    *where = label;
    return Table::open(std::move(*db), layoutForFile(kLots));
}

Result<std::unique_ptr<Table>> openDepotTable(const QString& path) {
    Q_TRY(convertTableFile(path, layoutForFile(kLots)));
    return Store::openFile(path, layoutForFile(kLots));
}

Result<SaleResult> sell(Store& store, const Sale& sale) {
    auto name = securityName(store, sale.firma);
    if (!name) return name.status();
    auto table = store.table(kLots);
    if (!table) return table.status();
    // Lots another program sold meanwhile (on the server: another computer) make the
    // write fail Busy; the sale is then planned again on what is left.
    Result<SalePlan> plan = Status::busy(QString());
    auto written = planAndWriteLots(**table, sale.firma, [&](const std::vector<Lot>& lots) -> Result<LotChanges> {
        plan = planSale(lots, sale);
        if (!plan) return plan.status();
        return plan->changes;
    });
    if (!written) return written.status();
    for (size_t i = 0; i < written->size(); ++i) plan->changes.appends[i].id = (*written)[i];

    SaleResult result;
    result.plan = *plan;
    if (plan->excess > 0) result.warning = excessMessage(plan->excess);
    QString linked;
    auto other = openLinkedDepot(store, plan->first.FirmenName, *name, &linked);
    if (!other) return other.status();
    if (!*other) return result;
    auto theirs = lotsOf(**other, sale.firma);
    if (!theirs) return theirs.status();
    Walk w = walkLots(*theirs, 0, sale.anteile, sale.datum, sale.preis, false, false);
    if (!w.changes.empty()) {
        auto booked = writeLots(**other, w.changes);
        if (!booked) return booked.status();
    }
    result.linkedDepot = linked;
    return result;
}

Result<int> moveLots(Store& store, int from, int to) {
    if (from == to) return Status::invalid(QStringLiteral("Quelle und Ziel sind dasselbe Wertpapier"));
    auto source = securityName(store, from);
    if (!source) return source.status();
    auto target = securityName(store, to);
    if (!target) return target.status();
    auto table = store.table(kLots);
    if (!table) return table.status();
    auto lots = lotsOf(**table, from);
    if (!lots) return lots.status();
    LotChanges changes;
    for (const Lot& lot : *lots) {
        Lot moved = lot;
        moved.Firma = to;
        changes.updates.push_back({lot, moved});
    }
    auto written = writeLots(**table, changes);
    if (!written) return written.status();
    return static_cast<int>(lots->size());
}

double heldShares(const std::vector<Lot>& lots, int firma, const QDate& day) {
    double sum = 0;
    for (const Lot& lot : lots)
        if (lot.Firma == firma && lot.isOpenAt(day)) sum += lot.Anteile;
    return isZeroShares(sum) ? 0.0 : sum;
}

}  // namespace q
