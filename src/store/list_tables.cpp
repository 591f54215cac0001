#include "store/list_tables.h"

#include <algorithm>

namespace q {

Result<std::vector<ListEntry>> readListTable(Store& store, const QString& file) {
    auto table = store.table(file);
    if (!table) return table.status();
    std::vector<ListEntry> entries;
    Status walked = (*table)->forEach(Query{}, [&](const Record& r) {
        entries.push_back({r.value(QStringLiteral("GruppenIndex")).toInt(), r.value(QStringLiteral("GruppenName")).toString()});
        return true;
    });
    if (!walked) return walked;
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ListEntry& a, const ListEntry& b) { return a.GruppenIndex < b.GruppenIndex; });
    return entries;
}

Result<std::vector<CurrencyEntry>> readCurrencies(Store& store) {
    auto table = store.table(QStringLiteral("Waehrung.db"));
    if (!table) return table.status();
    std::vector<CurrencyEntry> entries;
    Status walked = (*table)->forEach(Query{}, [&](const Record& r) {
        entries.push_back({r.value(QStringLiteral("Symbol")).toString(), r.value(QStringLiteral("Name")).toString()});
        return true;
    });
    if (!walked) return walked;
    return entries;
}

}  // namespace q
