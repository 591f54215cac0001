#include "overview/price_reports.h"

#include "base/formats.h"
#include "base/text_files.h"
#include "overview/classifications.h"
#include "overview/list_selection.h"

#include <map>
#include <set>
#include <unordered_set>

namespace q {

Result<MissingPrices> writeMissingPrices(Store& store, const std::vector<SecurityRecord>& list, const QDate& today,
                                         const QString& path) {
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    MissingPrices out;
    const int todayNumber = dayNumber(today);
    for (const SecurityRecord& s : list) {
        Query newest = Query::detailOf(s.Firma);
        newest.reverse = true;
        newest.limit = 1;
        auto row = (*aktien)->first(newest);
        if (!row) return row.status();
        QString date, price;
        if (row->has_value()) {
            const double datum = (**row).value(QStringLiteral("Datum")).toDouble();
            if (int(datum) >= todayNumber) continue;
            date = formatDate(dateFromDayNumber(datum));
            price = formatGeneral((**row).value(QStringLiteral("Kurs")).toDouble());
        }
        out.lines << s.FirmenName + QStringLiteral(" (") + s.Kennung + QStringLiteral(")\t") + date + QLatin1Char('\t') + price;
        ++out.missing;
    }
    out.lines << QStringLiteral("Insgesamt fehlen heute noch %1 Kurse").arg(out.missing);
    out.unmappable = unmappableCount(out.lines);
    Q_TRY(writeTextLines(path, out.lines));
    return out;
}

Result<PriceTable> writePriceTable(Store& store, const QDate& from, const QDate& to, const QString& path) {
    if (to < from) return Status::invalid(QStringLiteral("Das Enddatum %1 liegt vor dem Anfangsdatum %2").arg(formatDate(to), formatDate(from)));
    auto groups = readClassification(store, Classification::Gruppen);
    if (!groups) return groups.status();
    auto all = resolveList(store, ListSelection{});
    if (!all) return all.status();
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();

    // Each security's prices of the range, by day number; the header's days are all
    // days any of them has.
    std::map<int, std::map<int, double>> prices;
    std::set<int> days;
    Query range;
    range.rangeField = QStringLiteral("Datum");
    range.from = dayNumber(from);
    range.to = dayNumber(to);
    Q_TRY((*aktien)->forEach(range, [&](const Record& r) {
        const int day = int(r.value(QStringLiteral("Datum")).toDouble());
        prices[r.value(QStringLiteral("Firma")).toInt()][day] = r.value(QStringLiteral("Kurs")).toDouble();
        days.insert(day);
        return true;
    }));

    QStringList lines;
    QString header = QStringLiteral("\t\t\t");
    for (int day : days) header += formatDate(dateFromDayNumber(day)) + QLatin1Char('\t');
    lines << header;
    PriceTable out;
    out.dates = int(days.size());

    std::unordered_set<int> known;
    for (const ClassEntry& g : *groups) known.insert(g.GruppenIndex);
    const auto write = [&](const SecurityRecord& s) {
        QString line = s.ZDF + QLatin1Char('\t') + s.Kennung + QLatin1Char('\t') + s.FirmenName + QLatin1Char('\t');
        const auto mine = prices.find(s.Firma);
        for (int day : days) {
            if (mine != prices.end())
                if (auto p = mine->second.find(day); p != mine->second.end()) line += formatGeneral(p->second);
            line += QLatin1Char('\t');
        }
        lines << line;
        ++out.securities;
    };
    for (const ClassEntry& g : *groups)
        for (const SecurityRecord& s : *all)
            if (s.Gruppe == g.GruppenIndex) write(s);
    for (const SecurityRecord& s : *all)
        if (!known.count(s.Gruppe)) write(s);
    out.unmappable = unmappableCount(lines);
    Q_TRY(writeTextLines(path, lines));
    return out;
}

}  // namespace q
