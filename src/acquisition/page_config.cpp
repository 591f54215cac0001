#include "acquisition/page_config.h"

#include "acquisition/stations.h"
#include "base/text_files.h"

#include <QFileInfo>

namespace q {

namespace {

PageEntry entryOf(const Record& r) {
    PageEntry e;
    e.Beschreibung = r.value(QStringLiteral("Beschreibung")).toString();
    e.Sender = r.value(QStringLiteral("Sender")).toString();
    e.Seitename = r.value(QStringLiteral("Seitename")).toString();
    e.SeitenVon = r.value(QStringLiteral("SeitenVon")).toInt();
    e.Seitenbis = r.value(QStringLiteral("Seitenbis")).toInt();
    e.Filter = r.value(QStringLiteral("Filter")).toString();
    e.rowid = r.rowid;
    return e;
}

}  // namespace

Status preparePageTable(Store& store, const QString& file, PageDialog dialog, Interaction& ui) {
    if (store.exists(file)) {
        const Layout layout = layoutForFile(file);
        auto t = Store::openFile(store.path(file), layout);
        if (t && !(*t)->hasField(QStringLiteral("Sender"))) {
            t->reset();
            ui.tell(dialog == PageDialog::Intraday
                        ? QStringLiteral("Datenbank-Struktur muss geändert werden. Bitte legen Sie die Seiten neu an.")
                        : QStringLiteral("Datenbank-Struktur muss geändert werden. Bitte legen Sie die Seiten neu an. Sie können jetzt "
                                         "für jeden Sender Seiten vordefinieren!"));
            return store.recreate(file);
        }
    }
    return store.ensure(file);
}

Result<std::vector<PageEntry>> readPages(Store& store, const QString& file, const QString& station) {
    std::vector<PageEntry> out;
    if (!store.exists(file)) return out;
    auto table = store.table(file);
    if (!table) return table.status();
    const bool all = station.isEmpty() || station == kSeveralStations;
    Q_TRY((*table)->forEach(Query(), [&](const Record& r) {
        PageEntry e = entryOf(r);
        if (all || e.Sender == station) out.push_back(e);
        return true;
    }));
    return out;
}

QString resolveMaskFile(const QString& filter, const QString& filterPath) {
    const QString f = filter.trimmed();
    if (f.isEmpty()) return {};
    const QFileInfo direct(f);
    if (direct.isAbsolute()) {
        const QString found = findFile(direct.absolutePath(), direct.fileName());
        return !found.isEmpty() && QFileInfo(found).isFile() ? found : QString();
    }
    if (filterPath.isEmpty()) return {};
    const QString found = findFile(filterPath, f);
    return !found.isEmpty() && QFileInfo(found).isFile() ? found : QString();
}

Result<std::optional<MaskFile>> pageMask(const PageEntry& page, const QString& filterPath) {
    const QString path = resolveMaskFile(page.Filter, filterPath);
    if (path.isEmpty()) return std::optional<MaskFile>();
    auto mask = readMaskFile(path);
    if (!mask) return mask.status();
    return std::optional<MaskFile>(*mask);
}

PageRequest pageRequest(const PageEntry& page, int subpage) {
    return {stationOfPageName(page.Seitename), page.Seitename.trimmed(), pageOfPageName(page.Seitename), subpage};
}

Status checkPage(const PageEntry& page, PageDialog dialog, const QString& filterPath) {
    const bool intraday = dialog == PageDialog::Intraday;
    if (resolveMaskFile(page.Filter, filterPath).isEmpty())
        return Status::invalid(intraday ? QStringLiteral(" Filter existiert nicht, überprüfen Sie die Einstellung des Filter-Pathes ")
                                        : QStringLiteral(" Filter existiert nicht "));
    if (page.SeitenVon >= page.Seitenbis)
        return Status::invalid(intraday ? QStringLiteral(" erste Seite muß kleiner als letzte Seite sein ")
                                        : QStringLiteral(" erte Seite muß kleiner als letzte Seite sein "));
    return Status::ok();
}

Status addPage(Store& store, const QString& file, const PageEntry& page) {
    Q_TRY(store.ensure(file));
    auto table = store.table(file);
    if (!table) return table.status();
    Record r = (*table)->newRecord();
    r.set(QStringLiteral("Beschreibung"), page.Beschreibung);
    r.set(QStringLiteral("Sender"), page.Sender);
    r.set(QStringLiteral("Seitename"), page.Seitename);
    r.set(QStringLiteral("SeitenVon"), page.SeitenVon);
    r.set(QStringLiteral("Seitenbis"), page.Seitenbis);
    r.set(QStringLiteral("Filter"), page.Filter);
    auto appended = (*table)->append(r);
    return appended ? Status::ok() : appended.status();
}

Status removePage(Store& store, const QString& file, const PageEntry& page) {
    auto table = store.table(file);
    if (!table) return table.status();
    Record r = (*table)->newRecord();
    r.rowid = page.rowid;
    if (page.rowid < 0) return Status::internal(QStringLiteral("Seite %1 ist nicht bestimmbar").arg(page.Seitename));
    return (*table)->remove(r);
}

Result<QStringList> predefinedStations(Store& store) {
    auto pages = readPages(store, kPredefinedPages);
    if (!pages) return pages.status();
    QStringList out;
    for (const PageEntry& p : *pages) {
        const QString s = p.Sender.trimmed();
        if (!s.isEmpty() && s != kSeveralStations && !out.contains(s)) out << s;
    }
    return out;
}

Result<int> renameStation(Store& store, const QString& from, const QString& to) {
    int changed = 0;
    for (const QString& file : {kPredefinedPages, kIntradayPages, kDailyPages}) {
        if (!store.exists(file)) continue;
        auto table = store.table(file);
        if (!table) return table.status();
        Table& t = **table;
        const bool folded = file == kPredefinedPages;
        std::vector<Record> matching;
        Q_TRY(t.forEach(Query(), [&](const Record& r) {
            const QString sender = r.value(QStringLiteral("Sender")).toString();
            if (folded ? sender.trimmed().toUpper() == from.trimmed().toUpper() : sender == from) matching.push_back(r);
            return true;
        }));
        Transaction tx(t.db());
        Q_TRY(tx.begin());
        for (const Record& before : matching) {
            Record after = before;
            after.set(QStringLiteral("Sender"), to);
            after.set(QStringLiteral("Seitename"), to + before.value(QStringLiteral("Seitename")).toString().mid(from.size()));
            Q_TRY(t.update(before, after));
            ++changed;
        }
        Q_TRY(tx.commit());
    }
    return changed;
}

}  // namespace q
