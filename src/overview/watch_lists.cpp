#include "overview/watch_lists.h"

#include "overview/list_selection.h"

#include <unordered_set>

namespace q {

namespace {

Result<Table*> watchTable(Store& store, int k) {
    Q_ASSERT(k >= 1 && k <= 4);
    const QString file = watchListFile(k);
    Q_TRY(store.ensure(file));
    return store.table(file);
}

}  // namespace

Result<bool> toggleWatch(Store& store, int k, int firma) {
    auto t = watchTable(store, k);
    if (!t) return t.status();
    auto removed = (*t)->removeWhere(Query::detailOf(firma));
    if (!removed) return removed.status();
    if (*removed > 0) return false;
    Record r = (*t)->newRecord();
    r.set(QStringLiteral("Firma"), firma);
    auto appended = (*t)->append(r);
    if (!appended) return appended.status();
    return true;
}

Result<bool> isOnWatch(Store& store, int k, int firma) {
    if (!store.exists(watchListFile(k))) return false;
    auto t = watchTable(store, k);
    if (!t) return t.status();
    auto n = (*t)->count(Query::detailOf(firma));
    if (!n) return n.status();
    return *n > 0;
}

Result<int> addAllToWatch(Store& store, int k, const std::vector<int>& firmen) {
    auto t = watchTable(store, k);
    if (!t) return t.status();
    std::unordered_set<int> present;
    Q_TRY((*t)->forEach(Query{}, [&](const Record& r) {
        present.insert(r.value(QStringLiteral("Firma")).toInt());
        return true;
    }));
    Transaction tx((*t)->db());
    Q_TRY(tx.begin());
    int added = 0;
    for (int f : firmen) {
        if (!present.insert(f).second) continue;
        Record r = (*t)->newRecord();
        r.set(QStringLiteral("Firma"), f);
        auto appended = (*t)->append(r);
        if (!appended) return appended.status();
        ++added;
    }
    Q_TRY(tx.commit());
    return added;
}

Result<qint64> clearWatch(Store& store, int k) {
    auto t = watchTable(store, k);
    if (!t) return t.status();
    return (*t)->removeWhere(Query{});
}

}  // namespace q
