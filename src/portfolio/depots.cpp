#include "portfolio/depots.h"

#include "base/text_files.h"
#include "portfolio/bookings.h"
#include "portfolio/currency.h"
#include "portfolio/lot.h"

#include <QDir>
#include <QFileInfo>
#include <set>
#include <tuple>

namespace q {

namespace {

QString canonical(const QString& dir) {
    const QFileInfo info(dir);
    const QString c = info.canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : c;
}

// Every field of a lot, for finding the same lot twice.
using LotKey = std::tuple<int, int, double, double, int, double, QString>;
LotKey keyOf(const Lot& l) {
    return {l.Firma, l.Datum.isValid() ? l.Datum.toJulianDay() : 0, l.Anteile, l.Ankauf, l.Verkauf.isValid() ? l.Verkauf.toJulianDay() : 0,
            l.Erloes, l.FirmenName};
}

}  // namespace

bool sameDirectory(const QString& a, const QString& b) { return canonical(a) == canonical(b); }

QStringList withRecentDepot(QStringList recent, const QString& dir) {
    for (const QString& d : recent)
        if (sameDirectory(d, dir)) return recent;
    while (recent.size() >= kRecentDepots) recent.removeFirst();
    recent << dir;
    return recent;
}

QStringList withoutRecentDepot(QStringList recent, const QString& dir) {
    recent.erase(std::remove_if(recent.begin(), recent.end(), [&](const QString& d) { return sameDirectory(d, dir); }), recent.end());
    return recent;
}

Result<QString> depotDirFor(const QString& dataDir, const QString& nameOrPath) {
    const QString text = nameOrPath.trimmed();
    const auto bad = [] { return Status::invalid(QStringLiteral("Fehler in Verzeichnisname")); };
    if (text.isEmpty() || text == QLatin1String(".") || text == QLatin1String("..")) return bad();
    if (!text.contains(QLatin1Char('/'))) return withSlash(withSlash(dataDir) + text);
    const QString dir = QDir::cleanPath(QDir(dataDir).absoluteFilePath(text));
    if (dir.isEmpty() || dir == QLatin1String("/")) return bad();
    return withSlash(dir);
}

QString depotDirOfChoice(const QString& chosen) {
    const QFileInfo info(chosen);
    if (info.fileName().compare(kLots, Qt::CaseInsensitive) == 0 && !info.isDir()) return withSlash(info.absolutePath());
    return withSlash(QDir::cleanPath(info.absoluteFilePath()));
}

QString depotName(const QString& depotDir) { return QDir(QDir::cleanPath(depotDir)).dirName(); }

Status deleteDepotFiles(const QString& dir) {
    static const char* const files[] = {"Transaktionen.db", "Transaktionen.db-wal", "Transaktionen.db-shm", "Transaktionen.px",
                                        "Transaktionen.val", "Transaktionen.db~", "Transaktionen.px~", "Transaktionen.xg0",
                                        "Transaktionen.yg0", "Anlagen.db", "Anlagen.db-wal", "Anlagen.db-shm", "Anlagen.db~",
                                        "Anlagen.px", "Anlagen.px~", "Anlagen.val", "Depot.ini"};
    for (const char* name : files) {
        // Whatever the letter case, and every spelling present.
        for (;;) {
            const QString path = findFile(dir, QString::fromLatin1(name));
            if (path.isEmpty()) break;
            if (!QFile::remove(path)) return Status::io(QStringLiteral("%1 kann nicht gelöscht werden").arg(path));
        }
    }
    QDir().rmdir(QDir::cleanPath(dir));  // only when empty
    return Status::ok();
}

Result<DepotImport> importDepot(Store& store, const QString& sourceFile) {
    if (!QFileInfo::exists(sourceFile))
        return Status::notFound(QStringLiteral("Die Depotdatei %1 gibt es nicht").arg(sourceFile));
    if (sameDirectory(QFileInfo(sourceFile).absolutePath(), store.dirs().depot))
        return Status::invalid(QStringLiteral("Das Depot kann nicht in sich selbst eingelesen werden"));
    DepotImport report;
    report.depot = depotName(QFileInfo(sourceFile).absolutePath());
    auto source = openDepotTable(sourceFile);
    if (!source) return source.status();
    Query order;
    order.order = kLotOrder;
    auto lots = readLots(**source, order);
    if (!lots) return lots.status();
    source->reset();

    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    auto table = store.table(kLots);
    if (!table) return table.status();
    auto present = readLots(**table, Query());
    if (!present) return present.status();
    std::set<LotKey> here;
    for (const Lot& l : *present) here.insert(keyOf(l));

    LotChanges changes;
    for (const Lot& from : *lots) {
        Lot lot;
        lot.Firma = from.Firma;
        lot.FirmenName = from.FirmenName;
        lot.Datum = from.Datum;
        lot.Anteile = from.Anteile;
        lot.Ankauf = from.Ankauf;
        if (from.isSold() && from.Verkauf.toJulianDay() > 0 && from.Erloes > 0) {
            lot.Verkauf = from.Verkauf;
            lot.Erloes = from.Erloes;
        }
        auto known = securityNamed(**firma, from.FirmenName);
        if (!known) return known.status();
        if (known->has_value()) {
            lot.Firma = **known;
            lot.FirmenName = lotText(report.depot);
        }
        if (!here.insert(keyOf(lot)).second) {
            ++report.duplicates;
            continue;
        }
        if (checkShares(lot.Anteile).isOk() && checkDate(lot.Datum).isOk()) {
            report.linked += known->has_value() ? 1 : 0;
            changes.appends.push_back(lot);
        } else {
            ++report.refused;
        }
    }
    auto written = writeLots(**table, changes);
    if (!written) return written.status();
    report.added = static_cast<int>(written->size());
    return report;
}

}  // namespace q
